// What the program shows: message boxes, the dialogs of the interactive run and the thread that
// works under them, help, and the search for a first instance's window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Dialogs.h"

namespace norvane::platform {

// MessageBoxW button sets and answers.
inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

inline constexpr wchar_t kDialogClass[] = L"#32770";

class Ui {
public:
    virtual ~Ui() = default;
    // InitCommonControlsEx for every common control class; false when Windows refuses.
    virtual bool InitCommonControls() = 0;
    // MessageBoxW, owned by the dialog showing (none when no dialog is up).
    virtual int MessageBox(const std::wstring& text, const std::wstring& caption,
                           std::uint32_t type) = 0;
    // FindWindowW by class and title; when found, brings it to the foreground and activates it.
    virtual bool ActivateWindow(const std::wstring& className, const std::wstring& title) = 0;

    // Shows a dialog modally: initialises it, then applies the user's actions until one ends it.
    // Returns that result, or -1 when the dialog could not be shown or initialised.
    virtual int ShowDialog(Dialog& dialog) = 0;
    // Runs `call` on the thread that shows the dialogs and returns once it has run there, as a
    // window message sent to a dialog does; on that thread itself it runs at once.
    virtual void Send(const std::function<void()>& call) = 0;
    // A thread that will run `body`, created suspended.
    virtual std::unique_ptr<WorkerThread> CreateSuspendedThread(std::function<void()> body) = 0;
    // HtmlHelpW(no owner, path, HH_HELP_CONTEXT, context).
    virtual void HtmlHelp(const std::wstring& path, std::uint32_t context) = 0;
};

}  // namespace norvane::platform

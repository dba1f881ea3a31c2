// What the program shows: message boxes and the search for a first instance's window.
#pragma once

#include <cstdint>
#include <string>

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
    // MessageBoxW with no owner.
    virtual int MessageBox(const std::wstring& text, const std::wstring& caption,
                           std::uint32_t type) = 0;
    // FindWindowW by class and title; when found, brings it to the foreground and activates it.
    virtual bool ActivateWindow(const std::wstring& className, const std::wstring& title) = 0;
};

}  // namespace norvane::platform

// The thread that shows the dialogs, and the calls other threads send to it. A worker never
// touches a control: it sends a call, which runs on this thread (through a message-only window)
// while the worker waits, and every open dialog is then redrawn from its view.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/win32/Handles.h"

namespace norvane::win32 {

// Sent to an open dialog window: redraw the controls from the dialog's view.
inline constexpr UINT kRefreshMessage = WM_APP + 1;

class DialogThread {
public:
    // The calling thread becomes the dialog thread.
    DialogThread();

    void Send(const std::function<void()>& call);
    // A thread that runs `body`, created suspended; waiting for it handles what it sends.
    std::unique_ptr<platform::WorkerThread> CreateSuspended(std::function<void()> body);

    // Dialog windows register while they exist; the last one owns the next dialog shown.
    void Opened(HWND dialog) { m_open.push_back(dialog); }
    void Closed(HWND dialog);
    HWND Top() const { return m_open.empty() ? nullptr : m_open.back(); }
    // Handles every message waiting for the calling thread, as a modal dialog's own loop would:
    // on this thread, keys for the dialog on top go through IsDialogMessageW first, so Tab,
    // Enter, Escape and the mnemonics keep working while the thread waits for something else.
    void DispatchWaiting() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunAndRefresh(const std::function<void()>& call);

    DWORD m_threadId;
    UniqueWindow m_window;  // receives the sent calls; made with the first worker
    std::vector<HWND> m_open;
};

}  // namespace norvane::win32

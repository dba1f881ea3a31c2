#include "platform/win32/Win32Ui.h"

#include "platform/win32/DialogWindow.h"
#include "platform/win32/HtmlHelpControl.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/WinApi.h"

namespace norvane::win32 {

bool Win32Ui::InitCommonControls() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;   // 8
    controls.dwICC = ICC_WIN95_CLASSES;  // 0xFF: list view, progress bar and the rest
    return InitCommonControlsEx(&controls) != FALSE;
}

// Owned by the dialog on top, so the box cannot fall behind it and the dialog takes no input
// until it is answered. It is shown on the dialog thread, which owns that list and those windows;
// with no dialog up it has no owner.
int Win32Ui::MessageBox(const std::wstring& text, const std::wstring& caption, std::uint32_t type) {
    int answer = 0;
    m_thread.Send(
        [&] { answer = MessageBoxW(m_thread.Top(), text.c_str(), caption.c_str(), type); });
    return answer;
}

bool Win32Ui::ActivateWindow(const std::wstring& className, const std::wstring& title) {
    const HWND window = FindWindowW(className.c_str(), title.c_str());
    if (!window)
        return false;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}

int Win32Ui::ShowDialog(platform::Dialog& dialog) {
    return ShowDialogWindow(m_resources.LanguageModule(), dialog, m_thread);
}

void Win32Ui::HtmlHelp(const std::wstring& path, std::uint32_t context) {
    HtmlHelpContext(path, context);
}

}  // namespace norvane::win32

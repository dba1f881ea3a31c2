// Opens a help file through the Win32 backend's HtmlHelp at a context number, waits for the help
// window of this process to appear, and prints its class and caption in UTF-8:
//   help_window.exe FILE CONTEXT
// Exit status 3 when no help window appears within ten seconds.
#include <cstdio>
#include <string>

#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/WinApi.h"

namespace {

constexpr wchar_t kHelpClass[] = L"HH Parent";

HWND OwnHelpWindow() {
    for (HWND window = FindWindowW(kHelpClass, nullptr); window;
         window = FindWindowExW(nullptr, window, kHelpClass, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

void PrintUtf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    std::fputs((bytes + "\n").c_str(), stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 1;
    const norvane::win32::Win32Resources resources;
    norvane::win32::Win32Ui ui(resources);
    ui.HtmlHelp(argv[1], static_cast<std::uint32_t>(std::wcstoul(argv[2], nullptr, 10)));
    // The help window belongs to this thread: its messages are pumped while waiting.
    for (int tick = 0; tick < 100; ++tick) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (const HWND window = OwnHelpWindow()) {
            wchar_t caption[512] = L"";
            GetWindowTextW(window, caption, 512);
            PrintUtf8(std::wstring(kHelpClass) + L": " + caption);
            return 0;
        }
        Sleep(100);
    }
    return 3;
}

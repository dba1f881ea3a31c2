#include "platform/win32/Win32Ui.h"

#include "platform/win32/HtmlHelpControl.h"
#include "platform/win32/WinApi.h"

namespace norvane::win32 {

bool Win32Ui::InitCommonControls() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;   // 8
    controls.dwICC = ICC_WIN95_CLASSES;  // 0xFF: list view, progress bar and the rest
    return InitCommonControlsEx(&controls) != FALSE;
}

int Win32Ui::MessageBox(const std::wstring& text, const std::wstring& caption, std::uint32_t type) {
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
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

namespace {

class Win32WorkerThread final : public platform::WorkerThread {
public:
    explicit Win32WorkerThread(std::function<void()> body) : m_body(std::move(body)) {
        m_thread =
            CreateThread(nullptr, 0, &Win32WorkerThread::Main, this, CREATE_SUSPENDED, nullptr);
    }
    ~Win32WorkerThread() override {
        if (!m_thread)
            return;
        // A thread never resumed never runs; one resumed is waited for.
        if (m_resumed)
            Wait();
        else
            TerminateThread(m_thread, 0);
        CloseHandle(m_thread);
    }
    bool Resume() override {
        m_resumed = m_thread && ResumeThread(m_thread) != static_cast<DWORD>(-1);
        return m_resumed;
    }
    bool Finished() const override {
        return !m_thread || WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0;
    }
    void Wait() override {
        if (m_thread && m_resumed)
            WaitForSingleObject(m_thread, INFINITE);
    }

private:
    static DWORD WINAPI Main(void* self) {
        static_cast<Win32WorkerThread*>(self)->m_body();
        return 0;
    }

    std::function<void()> m_body;
    HANDLE m_thread = nullptr;
    bool m_resumed = false;
};

}  // namespace

std::unique_ptr<platform::WorkerThread> Win32Ui::CreateSuspendedThread(std::function<void()> body) {
    return std::make_unique<Win32WorkerThread>(std::move(body));
}

void Win32Ui::HtmlHelp(const std::wstring& path, std::uint32_t context) {
    HtmlHelpContext(path, context);
}

}  // namespace norvane::win32

#include "platform/win32/DialogThread.h"

#include <algorithm>

namespace norvane::win32 {
namespace {

constexpr UINT kCallMessage = WM_APP + 2;
constexpr wchar_t kWindowClass[] = L"NorvaneDialogThread";

class Win32WorkerThread final : public platform::WorkerThread {
public:
    explicit Win32WorkerThread(std::function<void()> body) : m_body(std::move(body)) {
        m_thread.Reset(
            CreateThread(nullptr, 0, &Win32WorkerThread::Main, this, CREATE_SUSPENDED, nullptr));
    }
    ~Win32WorkerThread() override {
        // A thread never resumed has not run a single instruction of its body.
        if (m_thread && !m_resumed)
            TerminateThread(m_thread.Get(), 0);
        Wait();
    }
    bool Resume() override {
        m_resumed = m_thread && ResumeThread(m_thread.Get()) != static_cast<DWORD>(-1);
        return m_resumed;
    }
    bool Finished() const override {
        return !m_thread || WaitForSingleObject(m_thread.Get(), 0) == WAIT_OBJECT_0;
    }
    // The worker may be sending a call at this moment and waits for it to run here: sent
    // messages are handled while waiting, else neither thread would go on.
    void Wait() override {
        if (!m_resumed)
            return;
        const HANDLE thread = m_thread.Get();
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }

private:
    static DWORD WINAPI Main(void* self) {
        static_cast<Win32WorkerThread*>(self)->m_body();
        return 0;
    }

    std::function<void()> m_body;
    UniqueHandle m_thread;
    bool m_resumed = false;
};

}  // namespace

DialogThread::DialogThread() : m_threadId(GetCurrentThreadId()) {}

void DialogThread::Closed(HWND dialog) {
    m_open.erase(std::remove(m_open.begin(), m_open.end(), dialog), m_open.end());
}

void DialogThread::DispatchWaiting() const {
    // Another thread's messages are never for these dialogs, and the list of them is this
    // thread's own.
    const HWND dialog = GetCurrentThreadId() == m_threadId ? Top() : nullptr;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && IsDialogMessageW(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void DialogThread::Send(const std::function<void()>& call) {
    if (GetCurrentThreadId() == m_threadId || !m_window) {
        RunAndRefresh(call);
        return;
    }
    SendMessageW(m_window.Get(), kCallMessage, 0,
                 reinterpret_cast<LPARAM>(const_cast<std::function<void()>*>(&call)));
}

void DialogThread::RunAndRefresh(const std::function<void()>& call) {
    call();
    for (const HWND dialog : std::vector<HWND>(m_open))
        SendMessageW(dialog, kRefreshMessage, 0, 0);
}

LRESULT CALLBACK DialogThread::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kCallMessage) {
        auto* self = reinterpret_cast<DialogThread*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        self->RunAndRefresh(*reinterpret_cast<const std::function<void()>*>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::unique_ptr<platform::WorkerThread> DialogThread::CreateSuspended(std::function<void()> body) {
    if (!m_window) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DialogThread::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassW(&windowClass);
        m_window.Reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       windowClass.hInstance, this));
    }
    return std::make_unique<Win32WorkerThread>(std::move(body));
}

}  // namespace norvane::win32

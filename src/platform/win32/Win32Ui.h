// The Ui service: common controls, message boxes, the first instance's window, the dialogs of the
// language library, the worker thread and the calls it sends, and help.
#pragma once

#include "platform/Ui.h"
#include "platform/win32/DialogThread.h"

namespace norvane::win32 {

class Win32Resources;

class Win32Ui final : public platform::Ui {
public:
    explicit Win32Ui(const Win32Resources& resources) : m_resources(resources) {}
    bool InitCommonControls() override;
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   std::uint32_t type) override;
    bool ActivateWindow(const std::wstring& className, const std::wstring& title) override;
    int ShowDialog(platform::Dialog& dialog) override;
    void Send(const std::function<void()>& call) override { m_thread.Send(call); }
    std::unique_ptr<platform::WorkerThread> CreateSuspendedThread(
        std::function<void()> body) override {
        return m_thread.CreateSuspended(std::move(body));
    }
    void HtmlHelp(const std::wstring& path, std::uint32_t context) override;

    const DialogThread& Dialogs() const { return m_thread; }

private:
    const Win32Resources& m_resources;
    DialogThread m_thread;
};

}  // namespace norvane::win32

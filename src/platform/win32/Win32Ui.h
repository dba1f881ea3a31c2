// The Ui service: common controls, message boxes, the first instance's window, the worker thread
// and help. The dialogs' windows are not built yet: a dialog is not shown (-1), so the
// interactive run ends without doing anything.
#pragma once

#include "platform/Ui.h"

namespace norvane::win32 {

class Win32Ui final : public platform::Ui {
public:
    bool InitCommonControls() override;
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   std::uint32_t type) override;
    bool ActivateWindow(const std::wstring& className, const std::wstring& title) override;
    int ShowDialog(platform::Dialog&) override { return -1; }
    // With no dialog window yet, every caller is on the dialog thread itself.
    void Send(const std::function<void()>& call) override { call(); }
    std::unique_ptr<platform::WorkerThread> CreateSuspendedThread(
        std::function<void()> body) override;
    void HtmlHelp(const std::wstring& path, std::uint32_t context) override;
};

}  // namespace norvane::win32

// The Ui service of the simulated machine, as far as it is the machine's own: its common controls
// may be made to fail, the only window of another process on it is a first instance's dialog, and
// its journal records each message box with the answer given and each help page opened. Who
// answers, and the dialogs and threads a person sees, are its host's (UiHost).
#pragma once

#include <memory>
#include <string>

#include "platform/Ui.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/UiHost.h"

namespace norvane::sim {

class SimUi final : public platform::Ui {
public:
    // A machine without a host is one on which no program shows anything (it is only loaded,
    // checked or changed); a call that needs the host then ends the process with a message.
    SimUi(const MachineConfig& config, Journal& journal, std::unique_ptr<UiHost> host);

    bool InitCommonControls() override { return !m_config.commonControlsFail; }
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   std::uint32_t type) override;
    bool ActivateWindow(const std::wstring& className, const std::wstring& title) override;
    int ShowDialog(platform::Dialog& dialog) override { return Host().ShowDialog(dialog); }
    void Send(const std::function<void()>& call) override { Host().Send(call); }
    std::unique_ptr<platform::WorkerThread> CreateSuspendedThread(
        std::function<void()> body) override {
        return Host().CreateSuspendedThread(std::move(body));
    }
    void HtmlHelp(const std::wstring& path, std::uint32_t context) override;

    const UiHost& Host() const;

private:
    UiHost& Host();

    const MachineConfig& m_config;
    Journal& m_journal;
    std::unique_ptr<UiHost> m_host;
};

}  // namespace norvane::sim

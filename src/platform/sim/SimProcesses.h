// The Processes service of the simulated machine. The instance counter reads machine.json's
// "otherInstanceRunning"; no external program is known to this machine yet, so every start fails
// as Windows fails to start a program that is not there.
#pragma once

#include "platform/Processes.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::sim {

class SimProcesses final : public platform::Processes {
  public:
    SimProcesses(const MachineConfig& config, Journal& journal)
        : m_config(config), m_journal(journal) {}

    bool ClaimFirstInstance() override;
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::unique_ptr<platform::Process>& process) override;
    platform::WinError FindChild(std::uint32_t parentId,
                                 std::unique_ptr<platform::Process>& child) override;
    platform::WinError ShellExecuteElevated(const std::wstring& file,
                                            const std::wstring& parameters) override;

  private:
    const MachineConfig& m_config;
    Journal& m_journal;
    bool m_claimed = false;
};

}  // namespace norvane::sim

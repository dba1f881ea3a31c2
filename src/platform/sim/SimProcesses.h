// The Processes service of the simulated machine. The instance counter reads machine.json's
// "otherInstanceRunning". Windows' own pnputil.exe is built in for the elevated start; no other
// program is known to this machine yet, so every other start fails as Windows fails to start a
// program that is not there.
#pragma once

#include "platform/Processes.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/SimFileSystem.h"

namespace norvane::sim {

class SimProcesses final : public platform::Processes {
public:
    SimProcesses(const MachineConfig& config, SimFileSystem& files, Journal& journal)
        : m_config(config), m_files(files), m_journal(journal) {}

    bool ClaimFirstInstance() override;
    // The program's process has ended: its instance counter is free for the next start.
    void InstanceEnded() { m_claimed = false; }
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::unique_ptr<platform::Process>& process) override;
    platform::WinError FindChild(std::uint32_t parentId,
                                 std::unique_ptr<platform::Process>& child) override;
    platform::WinError ShellExecuteElevated(const std::wstring& file,
                                            const std::wstring& parameters) override;

private:
    // pnputil.exe: "-f -d oemN.inf" (or "-d oemN.inf") removes that driver package's .inf and
    // .pnf from the Windows inf folder. Any other command does nothing here.
    void RunPnputil(const std::wstring& parameters);

    const MachineConfig& m_config;
    SimFileSystem& m_files;
    Journal& m_journal;
    bool m_claimed = false;
};

}  // namespace norvane::sim

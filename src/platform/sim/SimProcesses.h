// The Processes service of the simulated machine. The instance counter reads machine.json's
// "otherInstanceRunning". CreateProcessW starts the programs machine.json describes ("programs",
// run by the process table); Windows' own pnputil.exe, by its full path in System32, is built in
// for the elevated start, where every other file fails as Windows fails to start a program that
// is not there. The child
// search reads the process table as the Win32 backend reads Windows': a snapshot's parent IDs,
// checked by opening each process and comparing creation times.
#pragma once

#include "platform/Processes.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/ProcessTable.h"
#include "platform/sim/SimFileSystem.h"

namespace norvane::sim {

// The process id of the program itself, the parent of what it starts.
inline constexpr std::uint32_t kProgramProcessId = 4242;

class SimProcesses final : public platform::Processes {
public:
    SimProcesses(const MachineConfig& config, const PathMap& paths, SimFileSystem& files,
                 RegistryStore& registry, SimClock& clock, Journal& journal)
        : m_config(config),
          m_files(files),
          m_journal(journal),
          m_table(config.programs, config.processes, kProgramProcessId, paths, files,
                  config.faults.lockedFiles, registry, clock, journal) {}

    bool ClaimFirstInstance() override;
    // The program's process has ended: its instance counter is free for the next start.
    void InstanceEnded() { m_claimed = false; }
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::unique_ptr<platform::Process>& process) override;
    platform::WinError FindChildren(
        std::uint32_t parentId, std::vector<std::unique_ptr<platform::Process>>& children) override;
    platform::WinError ShellExecuteElevated(const std::wstring& file,
                                            const std::wstring& parameters) override;
    // The run is over: the processes still running end now, in the order of their ends.
    void FinishRunning() { m_table.FinishAll(); }

private:
    // pnputil.exe: "-f -d oemN.inf" (or "-d oemN.inf") removes that driver package's .inf and
    // .pnf from the Windows inf folder. Any other command does nothing here.
    void RunPnputil(const std::wstring& parameters);

    const MachineConfig& m_config;
    SimFileSystem& m_files;
    Journal& m_journal;
    ProcessTable m_table;
    bool m_claimed = false;
};

}  // namespace norvane::sim

// The processes a simulated machine runs: the programs of machine.json "programs", started as
// CreateProcessW starts them. Each ends `runMs` after its start, when the virtual clock passes
// that moment (a wait, a sleep, or the end of the run), and its end does what the program
// describes, in this order: its INI writes, the registry keys it deletes, the files it deletes,
// the deletions it leaves for the next start of Windows, and last its child's start.
//
// The journal tells it all in order: a start as
//   CreateProcess "<command line>" flags=<n> -> process <id>, parent <parent id>
// (or "-> <error>"), an end as
//   Process <id> ends "<executable>"
// followed by one line per effect, "Process <id>: " and the Windows call that makes it. A call
// that fails ends in " -> <error>" and the program goes on: a key or file already gone gives 2.
//
// The processes of machine.json "processes" run from before the program's start to past the
// run's end; waiting for one would never end, which the journal tells as
//   Wait for process <id> "<executable>" never ends
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinError.h"
#include "platform/sim/Journal.h"
#include "platform/sim/PathMap.h"
#include "platform/sim/ProfileEngine.h"
#include "platform/sim/RegistryStore.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimProgram.h"

namespace norvane::sim {

class ProcessTable final : public ClockEvents {
public:
    // Attaches itself to the clock, whose passing time ends the processes. The older processes
    // come first, then the program's own process, `programId`, and what it starts.
    ProcessTable(const SimPrograms& programs, const std::vector<OlderProcess>& older,
                 std::uint32_t programId, const PathMap& paths, SimFileSystem& files,
                 const std::vector<std::wstring>& lockedFiles, RegistryStore& registry,
                 SimClock& clock, Journal& journal);

    // A Toolhelp snapshot's entry.
    struct Entry {
        std::uint32_t id = 0;
        std::uint32_t parentId = 0;
    };

    // CreateProcessW without an application name, called by the process `parentId`: `id` is the
    // new process's. ERROR_FILE_NOT_FOUND when no file fits the command line,
    // ERROR_BAD_EXE_FORMAT for a file that is no program, ERROR_ACCESS_DENIED for a program
    // that fails to start.
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::uint32_t parentId, std::uint32_t& id);
    // Moves the clock on to the end of process `id`, when it is still running; WAIT_TIMEOUT,
    // and the clock as it was, for a process that never ends.
    platform::WinError WaitFor(std::uint32_t id);
    // The processes still running, the oldest first. A parent ID stays in the record after that
    // parent's end, as Windows keeps it.
    std::vector<Entry> Snapshot() const;
    // OpenProcess for waiting and GetProcessTimes: the process's place in the order of creation,
    // which is what comparing creation times tells. The program holds every process it started
    // open, so those stay known after their end. ERROR_ACCESS_DENIED for a protected process,
    // ERROR_INVALID_PARAMETER for an ID no process has.
    platform::WinError Open(std::uint32_t id, std::uint64_t& created) const;
    // GetExitCodeProcess of a process the program started: STILL_ACTIVE while it runs, then its
    // program's "exitCode".
    platform::WinError ExitCode(std::uint32_t id, std::uint32_t& code) const;
    // Lets every process still running end, in the order of their ends (the run is over).
    void FinishAll();

    std::optional<std::uint64_t> NextDue() const override;
    void RunDue() override;

private:
    struct Running {
        std::uint32_t id = 0;
        std::uint32_t parentId = 0;
        std::wstring executable;              // its Windows path, spelled as on the drive
        const SimProgram* program = nullptr;  // null for an older process
        std::optional<std::uint64_t> endMs;   // null: it runs on past the run's end
        bool isProtected = false;
    };

    // The host file a command line starts, as CreateProcessW finds it; nullopt for none.
    std::optional<std::filesystem::path> FindExecutable(const std::wstring& commandLine) const;
    void End(const Running& process);
    void Effect(const Running& process, const std::wstring& call, platform::WinError error);
    void QueueDeletionAtRestart(const std::wstring& path);

    const SimPrograms& m_programs;
    const PathMap& m_paths;
    SimFileSystem& m_files;
    RegistryStore& m_registry;
    SimClock& m_clock;
    Journal& m_journal;
    // The programs' own changes are journaled here as theirs, so the services they go through
    // journal into a log that is never written.
    Journal m_unrecorded;
    SimFileSystem m_programFiles;
    ProfileEngine m_profile;
    std::vector<Running> m_running;  // in the order they started
    // Every process's place in the order of creation, by ID, ended ones included.
    std::map<std::uint32_t, std::uint64_t> m_created;
    std::map<std::uint32_t, std::uint32_t> m_exitCodes;  // by ID, of the processes it started
    std::uint32_t m_nextId;
};

}  // namespace norvane::sim

// A simulated Windows machine kept in a folder:
//   machine.json  identity, settings and faults (MachineConfig)
//   registry.reg  the registry, in regedit's export format
//   drive_c/      the C: drive
//   journal.log   appended by every run
// Load checks everything before anything is used, so a bad folder is reported and left as it was.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/PathMap.h"
#include "platform/sim/RegistryStore.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimProfile.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimResources.h"
#include "platform/sim/SimSecurity.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystemInfo.h"
#include "platform/sim/SimUi.h"
#include "platform/sim/SpoolerRegistry.h"

namespace norvane::sim {

struct MachineError {
    std::filesystem::path file;
    std::size_t line = 0;  // 0: not tied to a line
    std::string message;

    // "<file>:<line>: <message>", one line.
    std::string ToString() const;
};

// The exit statuses of a process whose run was cut off: its machine saved (EX_TEMPFAIL: running
// again finishes the work), or not saved (EX_IOERR). Both are BSD sysexits codes, which no exit
// code of the program itself reaches.
inline constexpr int kCutOffExitStatus = 75;
inline constexpr int kNotSavedExitStatus = 74;

class Machine {
public:
    // Null with `error` set when the folder is not a usable machine. `host` makes who sits at
    // the machine; without one, no program may show anything on it.
    static std::unique_ptr<Machine> Load(const std::filesystem::path& folder,
                                         const UiHostFactory& host, MachineError& error);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    platform::Platform& Platform() { return m_platform; }
    // Writes back what a run changed: registry.reg and machine.json (each when it differs, each
    // written beside itself and renamed over the old file, so a failed save leaves it whole)
    // and the journal. The programs still running end first, as they would after the run. The
    // first file that cannot be written ends the save and is returned.
    [[nodiscard]] std::optional<MachineError> Save();
    // Kills the process after the run's `change`-th change to the machine (ChangeCounter), as
    // the change's call returns, so that no more of the program runs: the journal notes the
    // cut, the machine is saved as that moment left it (the programs the run started end first,
    // as they go on without it), and the process exits at once with kCutOffExitStatus, or with
    // kNotSavedExitStatus and the save's error on stderr. A run with fewer changes is not cut.
    void CutOffAfter(std::uint64_t change);

    const std::filesystem::path& Folder() const { return m_folder; }
    const MachineConfig& Config() const { return m_config; }
    MachineConfig& Config() { return m_config; }
    RegistryStore& Registry() { return m_registry; }
    Journal& JournalLog() { return m_journal; }
    const PathMap& Paths() const { return m_paths; }
    SimFileSystem& Files() { return m_files; }
    SimProcesses& Processes() { return m_processes; }
    // Who sits at the machine.
    const UiHost& Ui() const { return m_ui.Host(); }

private:
    Machine(std::filesystem::path folder, MachineConfig config, std::string configText,
            RegistryStore registry, std::string registryText, const UiHostFactory& host);

    std::filesystem::path m_folder;
    MachineConfig m_config;
    std::string m_configText;     // machine.json as read
    std::string m_configWritten;  // machine.json as this run would write it at load
    RegistryStore m_registry;
    std::string m_registryText;  // registry.reg as this run would write it at load
    PathMap m_paths;
    SimClock m_clock;
    Journal m_journal;
    SimFileSystem m_files;
    SimRegistry m_registryService;
    SimProfile m_profile;
    SpoolerRegistry m_spoolerRegistry;
    SimSpooler m_spooler;
    SimProcesses m_processes;
    SimSecurity m_security;
    SimSystemInfo m_system;
    SimResources m_resources;
    SimUi m_ui;
    platform::Platform m_platform;
};

}  // namespace norvane::sim

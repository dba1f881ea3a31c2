// The programs a simulated machine can run (machine.json "programs"), such as a utility's
// uninstaller or a scanner's setup program: how long each runs and what it does when it ends.
// Each is keyed by the Windows path of its executable, a file on the machine's C: drive.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/PathMap.h"
#include "support/Text.h"

namespace norvane::sim {

// One WritePrivateProfileStringW the program makes as it ends.
struct IniWrite {
    std::wstring file, section, key, value;
};

struct SimProgram {
    std::uint32_t runMs = 0;            // from its start to its end
    std::optional<std::wstring> child;  // started as it ends, its path quoted as the command line
    std::vector<IniWrite> writeIni;
    std::vector<std::wstring> deleteKeys;      // full registry paths, each with all its subkeys
    std::vector<std::wstring> deleteFiles;     // full Windows paths
    std::vector<std::wstring> pendingRenames;  // files deleted at the next start of Windows
    bool failToStart = false;                  // CreateProcessW fails with ERROR_ACCESS_DENIED
    std::uint32_t exitCode = 0;                // what GetExitCodeProcess gives after its end
    std::size_t line = 0;                      // where machine.json names it
};

using SimPrograms = std::map<std::wstring, SimProgram, text::NoCaseLess>;

// A process already running when the program starts (machine.json "processes"), which runs on
// past the run's end. Its parent ID is only what Windows recorded at its start: that parent may
// have ended long ago and its ID gone to a process the program starts, since Windows reuses IDs.
struct OlderProcess {
    std::wstring executable;
    std::uint32_t parentId = 0;
    bool isProtected = false;  // opening it for waiting fails with ERROR_ACCESS_DENIED
};

// The program whose executable is the host file `host`; null when the file is no program.
const SimPrograms::value_type* FindProgram(const SimPrograms& programs, const PathMap& drive,
                                           const std::filesystem::path& host);

struct ProgramsError {
    std::size_t line = 0;
    std::string message;
};

// Checks the programs against the drive before anything runs: every executable and every child
// is a file there, every child is a program of its own, and no chain of children comes back to a
// program it started from (it would never end).
std::optional<ProgramsError> CheckPrograms(const SimPrograms& programs, const PathMap& drive);

}  // namespace norvane::sim

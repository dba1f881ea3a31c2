// A run on a copy of a machine cut off after one of its changes and then run again whole,
// compared with the same run made once without a cut.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "harness/MachineInventory.h"

namespace norvane::testing {

class CutOffStudy {
public:
    // Makes the run without a cut on a copy of `machine`.
    CutOffStudy(std::filesystem::path machine, std::wstring commandLine);

    // The changes the run makes without a cut: the cut-offs to study are 1 to Changes().
    std::uint64_t Changes() const { return m_changes; }
    // What the run without a cut removes (as Removed gives it).
    const std::vector<std::wstring>& RemovedWhole() const { return m_removedWhole; }

    struct Outcome {
        std::wstring change;  // the journal entry of the change the run was cut off after
        std::set<std::wstring> afterCut;  // the machine as the cut left it (Inventory)
        // What the cut run and the second run together removed that the whole run keeps.
        std::vector<std::wstring> removedBeyond;
        // Where the machine after the second run differs from the whole run's, each item as
        // "left <path>" (still there), "gone <path>" (removed beyond the whole run's) or
        // "changed <path>" (a file or value with other bytes). The program's log is left out.
        std::vector<std::wstring> differences;
        // Whether the run had written its work list when it was cut.
        bool listWritten = false;
        // Where the machine after the cut and a restart alone (the continuation the cut run
        // registered) differs from the whole run's followed by a restart, and from the machine
        // before any run.
        std::vector<std::wstring> restartDifferences;
        std::vector<std::wstring> restartChanges;
    };
    Outcome CutAt(std::uint64_t change) const;

private:
    std::filesystem::path m_machine;
    std::wstring m_commandLine;
    std::set<std::wstring> m_before;
    MachineState m_beforeState;
    MachineState m_whole;
    MachineState m_wholeRestarted;
    std::vector<std::wstring> m_removedWhole;
    std::uint64_t m_changes = 0;
};

}  // namespace norvane::testing

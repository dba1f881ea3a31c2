#include "harness/CutOffStudy.h"

#include <fstream>
#include <stdexcept>

#include "support/Text.h"

namespace norvane::testing {
namespace {

namespace fs = std::filesystem;

// The program's log, left out of the comparison: each run adds its own results to it.
bool IsLog(const std::wstring& path) {
    return path.ends_with(L"\\norvane.log");
}

// The journal line before "Cut off after change N": the change's own entry, without its time.
std::wstring CutChange(const fs::path& machine) {
    std::ifstream in(machine / "journal.log", std::ios::binary);
    std::string previous;
    for (std::string line; std::getline(in, line); previous = line) {
        if (line.find("Cut off after change ") != std::string::npos)
            return WithoutStamp(text::FromUtf8(previous));
    }
    return L"";
}

// Where `now` differs from `reference`, as Outcome::differences tells it.
std::vector<std::wstring> Differences(const MachineState& reference, const MachineState& now) {
    std::vector<std::wstring> out;
    auto was = reference.begin();
    auto is = now.begin();
    while (was != reference.end() || is != now.end()) {
        if (is == now.end() || (was != reference.end() && was->first < is->first)) {
            if (!IsLog(was->first))
                out.push_back(L"gone " + was->first);
            ++was;
        } else if (was == reference.end() || is->first < was->first) {
            if (!IsLog(is->first))
                out.push_back(L"left " + is->first);
            ++is;
        } else {
            if (was->second != is->second && !IsLog(is->first))
                out.push_back(L"changed " + is->first);
            ++was;
            ++is;
        }
    }
    return out;
}

// Whether the journal notes the work list's write: the run had decided what it removes.
bool ListWritten(const fs::path& machine) {
    std::ifstream in(machine / "journal.log", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.find("RegSetValue ") != std::string::npos &&
            line.find("\"NorvaneWorkList\" REG_MULTI_SZ") != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

CutOffStudy::CutOffStudy(fs::path machine, std::wstring commandLine)
    : m_machine(std::move(machine)), m_commandLine(std::move(commandLine)) {
    TestMachine m;
    m.CopyFrom(m_machine);
    m_before = Inventory(m);
    m_beforeState = State(m);
    m_changes = m.Run(m_commandLine).changes;
    m_whole = State(m);
    std::set<std::wstring> after;
    for (const auto& item : m_whole)
        after.insert(item.first);
    m_removedWhole = Removed(m_before, after);
    m.Reboot();
    m_wholeRestarted = State(m);
}

CutOffStudy::Outcome CutOffStudy::CutAt(std::uint64_t change) const {
    TestMachine m;
    m.CopyFrom(m_machine);
    if (!m.RunCutOff(m_commandLine, change))
        throw std::runtime_error("the run ended before change " + std::to_string(change));
    Outcome outcome{CutChange(m.Folder()), Inventory(m), {}, {}, ListWritten(m.Folder()), {}, {}};
    TestMachine restarted;
    restarted.CopyFrom(m.Folder());
    restarted.Reboot();
    const MachineState afterRestart = State(restarted);
    outcome.restartDifferences = Differences(m_wholeRestarted, afterRestart);
    outcome.restartChanges = Differences(m_beforeState, afterRestart);
    m.Run(m_commandLine);
    const MachineState second = State(m);
    for (const auto& path : m_before) {
        if (!second.contains(path) && m_whole.contains(path))
            outcome.removedBeyond.push_back(path);
    }
    outcome.differences = Differences(m_whole, second);
    return outcome;
}

}  // namespace norvane::testing

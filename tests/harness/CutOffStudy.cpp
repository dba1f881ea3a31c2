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

}  // namespace

CutOffStudy::CutOffStudy(fs::path machine, std::wstring commandLine)
    : m_machine(std::move(machine)), m_commandLine(std::move(commandLine)) {
    TestMachine m;
    m.CopyFrom(m_machine);
    m_before = Inventory(m);
    m_changes = m.Run(m_commandLine).changes;
    m_whole = State(m);
    std::set<std::wstring> after;
    for (const auto& item : m_whole)
        after.insert(item.first);
    m_removedWhole = Removed(m_before, after);
}

CutOffStudy::Outcome CutOffStudy::CutAt(std::uint64_t change) const {
    TestMachine m;
    m.CopyFrom(m_machine);
    if (!m.RunCutOff(m_commandLine, change))
        throw std::runtime_error("the run ended before change " + std::to_string(change));
    Outcome outcome{CutChange(m.Folder()), Inventory(m), {}, {}};
    m.Run(m_commandLine);
    const MachineState second = State(m);
    for (const auto& path : m_before) {
        if (!second.contains(path) && m_whole.contains(path))
            outcome.removedBeyond.push_back(path);
    }
    auto whole = m_whole.begin();
    auto now = second.begin();
    while (whole != m_whole.end() || now != second.end()) {
        if (now == second.end() || (whole != m_whole.end() && whole->first < now->first)) {
            if (!IsLog(whole->first))
                outcome.differences.push_back(L"gone " + whole->first);
            ++whole;
        } else if (whole == m_whole.end() || now->first < whole->first) {
            if (!IsLog(now->first))
                outcome.differences.push_back(L"left " + now->first);
            ++now;
        } else {
            if (whole->second != now->second && !IsLog(now->first))
                outcome.differences.push_back(L"changed " + now->first);
            ++whole;
            ++now;
        }
    }
    return outcome;
}

}  // namespace norvane::testing

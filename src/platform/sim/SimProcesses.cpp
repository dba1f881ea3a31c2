#include "platform/sim/SimProcesses.h"

#include "platform/sim/PathMap.h"
#include "support/Text.h"

namespace norvane::sim {
namespace {

// A handle to a process of the table: waiting moves the virtual clock on to the process's end.
class SimProcess final : public platform::Process {
public:
    SimProcess(ProcessTable& table, std::uint32_t id) : m_table(table), m_id(id) {}

    std::uint32_t Id() const override { return m_id; }
    platform::WinError WaitPumpingMessages() override { return m_table.WaitFor(m_id); }
    platform::WinError ExitCode(std::uint32_t& code) override {
        return m_table.ExitCode(m_id, code);
    }

private:
    ProcessTable& m_table;
    std::uint32_t m_id;
};

}  // namespace

bool SimProcesses::ClaimFirstInstance() {
    if (m_config.otherInstanceRunning || m_claimed)
        return false;
    m_claimed = true;
    return true;
}

platform::WinError SimProcesses::Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                                       std::unique_ptr<platform::Process>& process) {
    process.reset();
    std::uint32_t id = 0;
    const platform::WinError error =
        m_table.Start(commandLine, creationFlags, kProgramProcessId, id);
    if (!error)
        process = std::make_unique<SimProcess>(m_table, id);
    return error;
}

platform::WinError SimProcesses::FindChildren(
    std::uint32_t parentId, std::vector<std::unique_ptr<platform::Process>>& children) {
    children.clear();
    std::uint64_t parentCreated = 0;
    if (const auto error = m_table.Open(parentId, parentCreated))
        return error;
    for (const auto& entry : m_table.Snapshot()) {
        std::uint64_t created = 0;
        if (entry.parentId == parentId &&
            m_table.Open(entry.id, created) == platform::win::kSuccess && created > parentCreated) {
            children.push_back(std::make_unique<SimProcess>(m_table, entry.id));
        }
    }
    return platform::win::kSuccess;
}

platform::WinError SimProcesses::ShellExecuteElevated(const std::wstring& file,
                                                      const std::wstring& parameters) {
    const std::wstring call = L"ShellExecute runas " + Quoted(file) + L" " + Quoted(parameters);
    if (!text::EqualsNoCase(file, m_config.SystemFolder() + L"\\pnputil.exe")) {
        m_journal.Record(call + L" -> 2");
        return platform::win::kFileNotFound;
    }
    m_journal.Record(call);
    // pnputil runs as its own process: what it deletes is one change.
    const ChangeCounter::Call counted(&m_journal.Changes());
    RunPnputil(parameters);
    return platform::win::kSuccess;
}

void SimProcesses::RunPnputil(const std::wstring& parameters) {
    std::vector<std::wstring> words;
    for (auto& word : text::Split(parameters, L' ')) {
        if (!word.empty())
            words.push_back(std::move(word));
    }
    if (!words.empty() && text::EqualsNoCase(words.front(), L"-f"))
        words.erase(words.begin());
    // Only a published package, oemN.inf, can be deleted; pnputil refuses anything else.
    if (words.size() != 2 || !text::EqualsNoCase(words[0], L"-d") ||
        words[1].find_first_of(L"\\/") != std::wstring::npos ||
        !MatchesPattern(L"oem*.inf", words[1])) {
        m_journal.Record(L"pnputil " + Quoted(parameters) + L": nothing deleted");
        return;
    }
    const std::wstring inf = m_config.windowsDir + L"\\inf\\" + words[1];
    const std::wstring pnf = inf.substr(0, inf.size() - 3) + L"pnf";
    for (const auto& file : {inf, pnf}) {
        if (m_files.PathFileExists(file))
            m_files.DeleteFile(file);
    }
}

}  // namespace norvane::sim

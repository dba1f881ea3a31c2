#include "platform/sim/ProcessTable.h"

#include <algorithm>

#include "platform/sim/PendingRenames.h"

namespace norvane::sim {
namespace {

namespace fs = std::filesystem;
namespace win = platform::win;

// Windows numbers processes in steps of four. The older processes have IDs below the first the
// program's starts get.
constexpr std::uint32_t kFirstOlderId = 500;
constexpr std::uint32_t kFirstProcessId = 1000;
constexpr std::uint32_t kProcessIdStep = 4;
constexpr std::uint64_t kNever = UINT64_MAX;
// GetExitCodeProcess of a process that has not ended.
constexpr std::uint32_t kStillActive = 259;

// SearchPathW's rule for the ".exe" CreateProcessW adds: only to a name without an extension.
bool HasExtension(const std::wstring& path) {
    const auto name = path.find_last_of(L"\\/");
    return path.find(L'.', name == std::wstring::npos ? 0 : name + 1) != std::wstring::npos;
}

// The names CreateProcessW tries, in order, for a command line without an application name: a
// quoted first token as it stands; otherwise the text up to each blank in turn and then the whole
// line, so that "C:\Program Files\Tool\a.exe -x" tries C:\Program.exe first.
std::vector<std::wstring> Candidates(const std::wstring& commandLine) {
    std::vector<std::wstring> names;
    const auto close = commandLine.find(L'"', 1);
    if (commandLine.starts_with(L'"') && close != std::wstring::npos) {
        names.push_back(commandLine.substr(1, close - 1));
    } else {
        for (auto blank = commandLine.find_first_of(L" \t"); blank != std::wstring::npos;
             blank = commandLine.find_first_of(L" \t", blank + 1)) {
            names.push_back(commandLine.substr(0, blank));
        }
        names.push_back(commandLine);
    }
    for (auto& name : names) {
        if (!HasExtension(name))
            name += L".exe";
    }
    return names;
}

}  // namespace

ProcessTable::ProcessTable(const SimPrograms& programs, const std::vector<OlderProcess>& older,
                           std::uint32_t programId, const PathMap& paths, SimFileSystem& files,
                           const std::vector<std::wstring>& lockedFiles, RegistryStore& registry,
                           SimClock& clock, Journal& journal)
    : m_programs(programs),
      m_paths(paths),
      m_files(files),
      m_registry(registry),
      m_clock(clock),
      m_journal(journal),
      m_unrecorded({}, clock),
      m_programFiles(paths, L"C:\\", lockedFiles, m_unrecorded),
      m_nextId(kFirstProcessId) {
    std::uint32_t id = kFirstOlderId;
    for (const auto& process : older) {
        m_created.emplace(id, m_created.size());
        m_running.push_back(
            {id, process.parentId, process.executable, nullptr, std::nullopt, process.isProtected});
        id += kProcessIdStep;
    }
    m_created.emplace(programId, m_created.size());
    m_clock.AttachEvents(*this);
}

std::optional<fs::path> ProcessTable::FindExecutable(const std::wstring& commandLine) const {
    for (const auto& name : Candidates(commandLine)) {
        ResolvedPath resolved;
        std::error_code ec;
        // A relative name is looked for in the caller's working folder.
        if (m_files.Resolve(name, resolved) == win::kSuccess && resolved.exists &&
            fs::is_regular_file(resolved.host, ec)) {
            return resolved.host;
        }
    }
    return std::nullopt;
}

platform::WinError ProcessTable::Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                                       std::uint32_t parentId, std::uint32_t& id) {
    const std::wstring call =
        L"CreateProcess " + Quoted(commandLine) + L" flags=" + text::Decimal(creationFlags);
    const auto executable = FindExecutable(commandLine);
    const auto* program = executable ? FindProgram(m_programs, m_paths, *executable) : nullptr;
    platform::WinError error = win::kSuccess;
    if (!executable) {
        error = win::kFileNotFound;
    } else if (!program) {
        error = win::kBadExeFormat;
    } else if (program->second.failToStart) {
        error = win::kAccessDenied;
    }
    if (error) {
        m_journal.Record(call + L" -> " + text::Decimal(error));
        return error;
    }
    id = m_nextId;
    m_nextId += kProcessIdStep;
    m_created.emplace(id, m_created.size());
    m_exitCodes.emplace(id, program->second.exitCode);
    m_running.push_back({id, parentId, m_paths.WindowsPath(*executable), &program->second,
                         m_clock.ElapsedMilliseconds() + program->second.runMs});
    m_journal.Record(call + L" -> process " + text::Decimal(id) + L", parent " +
                     text::Decimal(parentId));
    return win::kSuccess;
}

platform::WinError ProcessTable::WaitFor(std::uint32_t id) {
    const auto it = std::find_if(m_running.begin(), m_running.end(),
                                 [id](const Running& process) { return process.id == id; });
    if (it == m_running.end())
        return win::kSuccess;
    if (!it->endMs) {
        m_journal.Record(L"Wait for process " + text::Decimal(id) + L" " + Quoted(it->executable) +
                         L" never ends");
        return win::kWaitTimeout;
    }
    m_clock.AdvanceTo(*it->endMs);
    return win::kSuccess;
}

std::vector<ProcessTable::Entry> ProcessTable::Snapshot() const {
    std::vector<Entry> entries;
    for (const auto& process : m_running)
        entries.push_back({process.id, process.parentId});
    return entries;
}

platform::WinError ProcessTable::Open(std::uint32_t id, std::uint64_t& created) const {
    const auto known = m_created.find(id);
    if (known == m_created.end())
        return win::kInvalidParameter;
    const auto running = std::find_if(m_running.begin(), m_running.end(),
                                      [id](const Running& process) { return process.id == id; });
    if (running != m_running.end() && running->isProtected)
        return win::kAccessDenied;
    created = known->second;
    return win::kSuccess;
}

platform::WinError ProcessTable::ExitCode(std::uint32_t id, std::uint32_t& code) const {
    const auto known = m_exitCodes.find(id);
    if (known == m_exitCodes.end())
        return win::kInvalidHandle;
    const bool running = std::any_of(m_running.begin(), m_running.end(),
                                     [id](const Running& process) { return process.id == id; });
    code = running ? kStillActive : known->second;
    return win::kSuccess;
}

void ProcessTable::FinishAll() {
    while (const auto due = NextDue())
        m_clock.AdvanceTo(*due);
}

std::optional<std::uint64_t> ProcessTable::NextDue() const {
    std::optional<std::uint64_t> due;
    for (const auto& process : m_running) {
        if (process.endMs)
            due = std::min(due.value_or(*process.endMs), *process.endMs);
    }
    return due;
}

void ProcessTable::RunDue() {
    // Of processes that end together, the one started first ends first; one that never ends is
    // never due.
    const auto first = std::min_element(
        m_running.begin(), m_running.end(), [](const Running& a, const Running& b) {
            return a.endMs.value_or(kNever) < b.endMs.value_or(kNever);
        });
    if (first == m_running.end() || !first->endMs)
        return;
    const Running ending = *first;
    m_running.erase(first);
    End(ending);
}

void ProcessTable::Effect(const Running& process, const std::wstring& call,
                          platform::WinError error) {
    m_journal.Record(L"Process " + text::Decimal(process.id) + L": " + call +
                     (error ? L" -> " + text::Decimal(error) : std::wstring()));
}

void ProcessTable::End(const Running& process) {
    const SimProgram& program = *process.program;
    m_journal.Record(L"Process " + text::Decimal(process.id) + L" ends " +
                     Quoted(process.executable));
    for (const auto& write : program.writeIni) {
        // Through the profile engine, so that the program's cached reads of the file see it.
        ResolvedPath file;
        platform::WinError error = m_programFiles.Resolve(write.file, file);
        if (!error) {
            error = m_profile.WriteString(write.section.c_str(), write.key.c_str(),
                                          write.value.c_str(), file.host);
        }
        Effect(process,
               L"WritePrivateProfileString " + Quoted(write.file) + L" [" + write.section + L"] " +
                   Quoted(write.key) + L"=" + Quoted(write.value),
               error);
    }
    for (const auto& key : program.deleteKeys)
        Effect(process, L"RegDeleteTree " + key, m_registry.DeleteTree(key));
    for (const auto& file : program.deleteFiles)
        Effect(process, L"DeleteFile " + Quoted(file), m_programFiles.DeleteFile(file));
    for (const auto& file : program.pendingRenames) {
        QueueDeletionAtRestart(file);
        Effect(process, L"MoveFileEx " + Quoted(file) + L" (null) MOVEFILE_DELAY_UNTIL_REBOOT",
               win::kSuccess);
    }
    if (program.child) {
        std::uint32_t childId = 0;
        Start(L"\"" + *program.child + L"\"", 0, process.id, childId);
    }
}

void ProcessTable::QueueDeletionAtRestart(const std::wstring& path) {
    RegKey* key = m_registry.Create(std::wstring(L"HKEY_LOCAL_MACHINE\\") + kSessionManagerKey);
    key->SetValue(kPendingRenamesValue,
                  WithPendingDeletion(key->FindValue(kPendingRenamesValue), path));
}

}  // namespace norvane::sim

#include "platform/sim/SimProcesses.h"

namespace norvane::sim {

bool SimProcesses::ClaimFirstInstance() {
    if (m_config.otherInstanceRunning || m_claimed)
        return false;
    m_claimed = true;
    return true;
}

platform::WinError SimProcesses::Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                                       std::unique_ptr<platform::Process>& process) {
    process.reset();
    m_journal.Record(L"CreateProcess " + Quoted(commandLine) + L" flags=" +
                     std::to_wstring(creationFlags) + L" -> 2");
    return platform::win::kFileNotFound;
}

platform::WinError SimProcesses::FindChild(std::uint32_t,
                                           std::unique_ptr<platform::Process>& child) {
    child.reset();
    return platform::win::kNoMoreFiles;  // Process32NextW at the end of the snapshot
}

platform::WinError SimProcesses::ShellExecuteElevated(const std::wstring& file,
                                                      const std::wstring& parameters) {
    m_journal.Record(L"ShellExecute runas " + Quoted(file) + L" " + Quoted(parameters) + L" -> 2");
    return platform::win::kFileNotFound;
}

}  // namespace norvane::sim

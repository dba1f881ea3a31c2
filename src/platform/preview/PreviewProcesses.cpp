#include "platform/preview/PreviewProcesses.h"

#include "support/Text.h"

namespace norvane::preview {
namespace {

class EndedProcess : public platform::Process {
public:
    std::uint32_t Id() const override { return 0; }
    platform::WinError WaitPumpingMessages() override { return platform::win::kSuccess; }
    platform::WinError ExitCode(std::uint32_t& code) override {
        code = 0;
        return platform::win::kSuccess;
    }
};

}  // namespace

platform::WinError PreviewProcesses::Start(const std::wstring& commandLine,
                                           std::uint32_t /*creationFlags*/,
                                           std::unique_ptr<platform::Process>& process) {
    m_changes.Add(L"CreateProcess", {commandLine});
    process = std::make_unique<EndedProcess>();
    return platform::win::kSuccess;
}

platform::WinError PreviewProcesses::FindChildren(
    std::uint32_t /*parentId*/, std::vector<std::unique_ptr<platform::Process>>& children) {
    children.clear();
    return platform::win::kSuccess;
}

platform::WinError PreviewProcesses::ShellExecuteElevated(const std::wstring& file,
                                                          const std::wstring& parameters) {
    m_changes.Add(L"ShellExecute", {L"runas", file, parameters});
    const auto deleteSwitch = parameters.find(L"-d ");
    if (text::EqualsNoCase(file, m_systemDir + L"\\pnputil.exe") &&
        deleteSwitch != std::wstring::npos && !m_windowsDir.empty()) {
        const std::wstring inf = text::Trim(parameters.substr(deleteSwitch + 3));
        const std::wstring package = m_windowsDir + L"\\inf\\" + inf.substr(0, inf.rfind(L'.'));
        m_files.DeletedOutside(package + L".inf");
        m_files.DeletedOutside(package + L".pnf");
    }
    return platform::win::kSuccess;
}

}  // namespace norvane::preview

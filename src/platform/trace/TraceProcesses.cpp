#include "platform/trace/TraceProcesses.h"

#include "platform/ChangeText.h"
#include "support/Text.h"

namespace norvane::trace {
namespace {

class TraceProcess : public platform::Process {
public:
    TraceProcess(std::unique_ptr<platform::Process> below, std::wstring name, TraceFile& trace)
        : m_below(std::move(below)), m_name(std::move(name)), m_trace(trace) {}

    std::uint32_t Id() const override { return m_below->Id(); }
    platform::WinError WaitPumpingMessages() override {
        const platform::WinError error = m_below->WaitPumpingMessages();
        std::uint32_t code = 0;
        if (error) {
            m_trace.Change(L"Wait for " + m_name, error);
        } else if (m_below->ExitCode(code) == platform::win::kSuccess) {
            m_trace.Write(m_name + L" ended with exit code " + text::Decimal(code),
                          code ? LineType::Warning : LineType::Info);
        }
        return error;
    }
    platform::WinError ExitCode(std::uint32_t& code) override { return m_below->ExitCode(code); }

private:
    std::unique_ptr<platform::Process> m_below;
    const std::wstring m_name;
    TraceFile& m_trace;
};

}  // namespace

platform::WinError TraceProcesses::Start(const std::wstring& commandLine,
                                         std::uint32_t creationFlags,
                                         std::unique_ptr<platform::Process>& process) {
    const platform::WinError error = m_below.Start(commandLine, creationFlags, process);
    m_trace.Change(platform::ChangeText(L"CreateProcess", {commandLine}), error);
    if (!error && process) {
        const std::wstring name =
            L"process " + text::Decimal(process->Id()) + L" (" + commandLine + L")";
        process = std::make_unique<TraceProcess>(std::move(process), name, m_trace);
    }
    return error;
}

platform::WinError TraceProcesses::FindChildren(
    std::uint32_t parentId, std::vector<std::unique_ptr<platform::Process>>& children) {
    const platform::WinError error = m_below.FindChildren(parentId, children);
    for (auto& child : children) {
        const std::wstring name = L"process " + text::Decimal(child->Id()) + L" (started by " +
                                  text::Decimal(parentId) + L")";
        child = std::make_unique<TraceProcess>(std::move(child), name, m_trace);
    }
    return error;
}

platform::WinError TraceProcesses::ShellExecuteElevated(const std::wstring& file,
                                                        const std::wstring& parameters) {
    const platform::WinError error = m_below.ShellExecuteElevated(file, parameters);
    m_trace.Change(platform::ChangeText(L"ShellExecute", {L"runas", file, parameters}), error);
    return error;
}

}  // namespace norvane::trace

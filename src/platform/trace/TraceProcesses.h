// Processes under a trace: every start is told as a change with its outcome, every process the
// run waits for with how the wait ended and the exit code it ended with.
#pragma once

#include "platform/Processes.h"
#include "platform/trace/TraceFile.h"

namespace norvane::trace {

class TraceProcesses : public platform::Processes {
public:
    TraceProcesses(platform::Processes& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    bool ClaimFirstInstance() override { return m_below.ClaimFirstInstance(); }
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::unique_ptr<platform::Process>& process) override;
    platform::WinError FindChildren(
        std::uint32_t parentId, std::vector<std::unique_ptr<platform::Process>>& children) override;
    platform::WinError ShellExecuteElevated(const std::wstring& file,
                                            const std::wstring& parameters) override;

private:
    platform::Processes& m_below;
    TraceFile& m_trace;
};

}  // namespace norvane::trace

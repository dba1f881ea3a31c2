// The services of the layer below (the machine's, or a preview's over them) with a trace over
// every one: each call is forwarded as it is, and each change, wait, program and message box is
// told in the trace as it happens. The trace changes nothing of what the calls answer.
#pragma once

#include "platform/Platform.h"
#include "platform/trace/TraceFile.h"
#include "platform/trace/TraceFileSystem.h"
#include "platform/trace/TraceProcesses.h"
#include "platform/trace/TraceProfile.h"
#include "platform/trace/TraceRegistry.h"
#include "platform/trace/TraceSession.h"
#include "platform/trace/TraceSpooler.h"

namespace norvane::trace {

class TracePlatform {
public:
    TracePlatform(platform::Platform& below, TraceFile& trace);
    TracePlatform(const TracePlatform&) = delete;
    TracePlatform& operator=(const TracePlatform&) = delete;

    platform::Platform& Get() { return m_platform; }

private:
    TraceSpooler m_spooler;
    TraceRegistry m_registry;
    TraceProfile m_profile;
    TraceFileSystem m_files;
    TraceProcesses m_processes;
    TraceSecurity m_security;
    TraceClock m_clock;
    TraceUi m_ui;
    platform::Platform m_platform;
};

// "<name> <version> started: <command line>", the trace's first line for a run; the version is
// the executable's file version, a.b.c.d.
void TraceStart(TraceFile& trace, platform::Platform& machine, const std::wstring& program,
                const std::wstring& commandLine);
// "<name> ended with exit code <code>", its last: a warning for any code but 0.
void TraceEnd(TraceFile& trace, const std::wstring& program, int exitCode);

}  // namespace norvane::trace

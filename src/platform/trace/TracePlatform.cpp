#include "platform/trace/TracePlatform.h"

#include "support/Text.h"

namespace norvane::trace {

TracePlatform::TracePlatform(platform::Platform& below, TraceFile& trace)
    : m_spooler(below.spooler, trace),
      m_registry(below.registry, trace),
      m_profile(below.profile, trace),
      m_files(below.files, trace),
      m_processes(below.processes, trace),
      m_security(below.security, trace),
      m_clock(below.clock, trace),
      m_ui(below.ui, trace),
      m_platform{m_spooler,  m_registry,   m_profile,       m_files, m_processes,
                 m_security, below.system, below.resources, m_clock, m_ui} {}

void TraceStart(TraceFile& trace, platform::Platform& machine, const std::wstring& program,
                const std::wstring& commandLine) {
    std::uint32_t ms = 0, ls = 0;
    std::wstring version = L"(no version)";
    if (machine.system.FileVersion(machine.system.ModuleFileName(), ms, ls) ==
        platform::win::kSuccess) {
        version = text::Decimal(ms >> 16) + L"." + text::Decimal(ms & 0xFFFF) + L"." +
                  text::Decimal(ls >> 16) + L"." + text::Decimal(ls & 0xFFFF);
    }
    trace.Write(program + L" " + version + L" started: " + commandLine, LineType::Info);
}

void TraceEnd(TraceFile& trace, const std::wstring& program, int exitCode) {
    trace.Write(program + L" ended with exit code " + text::Decimal(exitCode),
                exitCode ? LineType::Warning : LineType::Info);
}

}  // namespace norvane::trace

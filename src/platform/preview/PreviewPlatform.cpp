#include "platform/preview/PreviewPlatform.h"

namespace norvane::preview {

PreviewPlatform::PreviewPlatform(platform::Platform& machine, const std::wstring& logFile)
    : m_spooler(machine.spooler, m_registry, m_changes, m_files),
      m_registry(machine.registry, m_changes),
      m_files(machine.files, m_changes, logFile),
      m_profile(machine.profile, m_files, m_changes),
      m_processes(machine.processes, m_changes, m_files, machine.system.WindowsDirectory(),
                  machine.system.SystemDirectory()),
      m_security(machine.security, m_changes),
      m_platform{m_spooler,  m_registry,     m_profile,         m_files,       m_processes,
                 m_security, machine.system, machine.resources, machine.clock, machine.ui} {}

}  // namespace norvane::preview

#include "platform/sim/SimSecurity.h"

namespace norvane::sim {

platform::WinError SimSecurity::IsAdministrator(bool& member) {
    // A filtered token lists Administrators for deny checks only, which grants nothing.
    member = m_config.administrator == AdministratorToken::Member;
    return platform::win::kSuccess;
}

platform::WinError SimSecurity::EnableShutdownPrivilege() {
    m_shutdownEnabled = true;
    m_journal.Record(L"AdjustTokenPrivileges SeShutdownPrivilege enabled");
    return platform::win::kSuccess;
}

platform::WinError SimSecurity::Restart() {
    // Without the privilege ExitWindowsEx refuses, as on Windows.
    if (!m_shutdownEnabled)
        return 1314;  // ERROR_PRIVILEGE_NOT_HELD
    m_journal.Record(L"ExitWindowsEx reboot force");
    return platform::win::kSuccess;
}

}  // namespace norvane::sim

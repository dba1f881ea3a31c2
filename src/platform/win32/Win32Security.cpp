#include "platform/win32/Win32Security.h"

#include "platform/win32/Handles.h"
#include "platform/win32/LastError.h"

namespace norvane::win32 {

using platform::WinError;

// CheckTokenMembership rather than a walk over the token's groups: under UAC a filtered token
// still lists Administrators, but as a deny-only group, and that must not pass.
WinError Win32Security::IsAdministrator(bool& member) {
    member = false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  administrators.Put())) {
        return LastError();
    }
    BOOL isMember = FALSE;
    if (!CheckTokenMembership(nullptr, administrators.Get(), &isMember))
        return LastError();
    member = isMember != FALSE;
    return platform::win::kSuccess;
}

WinError Win32Security::EnableShutdownPrivilege() {
    UniqueToken token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()))
        return LastError();
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return LastError();
    if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr))
        return LastError();
    // AdjustTokenPrivileges succeeds even when the token does not hold the privilege; only the
    // last error tells (ERROR_NOT_ALL_ASSIGNED).
    return GetLastError();
}

WinError Win32Security::Restart() {
    return ErrorOf(ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0));
}

}  // namespace norvane::win32

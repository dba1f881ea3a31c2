// The caller's rights and the restart of Windows.
#pragma once

#include "platform/WinError.h"

namespace norvane::platform {

class Security {
public:
    virtual ~Security() = default;

    // Membership of the Administrators group as CheckTokenMembership decides it: a group that
    // is present only for deny checks (a filtered token) does not count.
    [[nodiscard]] virtual WinError IsAdministrator(bool& member) = 0;
    // Enables SeShutdownPrivilege in the process token.
    [[nodiscard]] virtual WinError EnableShutdownPrivilege() = 0;
    // ExitWindowsEx(EWX_REBOOT | EWX_FORCE).
    [[nodiscard]] virtual WinError Restart() = 0;
};

}  // namespace norvane::platform

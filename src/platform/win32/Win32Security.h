// The Security service: the caller's token and the restart of Windows.
#pragma once

#include "platform/Security.h"

namespace norvane::win32 {

class Win32Security final : public platform::Security {
public:
    platform::WinError IsAdministrator(bool& member) override;
    platform::WinError EnableShutdownPrivilege() override;
    platform::WinError Restart() override;
};

}  // namespace norvane::win32

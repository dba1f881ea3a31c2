// The real Windows machine behind the seam: one object per service. The services are kept out of
// this header so that a file including it does not see the Windows headers' A/W macros clash with
// the seam's method names.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace norvane::win32 {

class Win32Platform {
public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    platform::Platform& Get();

private:
    struct Services;
    std::unique_ptr<Services> m_services;
};

}  // namespace norvane::win32

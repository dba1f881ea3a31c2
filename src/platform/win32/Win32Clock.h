// The Clock service: the real wait and the local time of the machine.
#pragma once

#include "platform/Clock.h"

namespace norvane::win32 {

class Win32Clock final : public platform::Clock {
public:
    void Sleep(std::uint32_t milliseconds) override;
    platform::LocalTime Now() override;
    std::int32_t TimeZoneBias() override;
};

}  // namespace norvane::win32

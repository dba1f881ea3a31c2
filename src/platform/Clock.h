// Time: waiting and the local date and time.
#pragma once

#include <cstdint>

namespace norvane::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual LocalTime Now() = 0;
};

}  // namespace norvane::platform

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
    // Minutes from local time to UTC (UTC = local + bias), as GetTimeZoneInformation gives them:
    // the zone's bias, with the daylight bias added while daylight time applies.
    virtual std::int32_t TimeZoneBias() = 0;
};

}  // namespace norvane::platform

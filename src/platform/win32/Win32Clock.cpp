#include "platform/win32/Win32Clock.h"

#include "platform/win32/WinApi.h"

namespace norvane::win32 {

void Win32Clock::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

platform::LocalTime Win32Clock::Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
            now.wMinute, now.wSecond, now.wMilliseconds};
}

std::int32_t Win32Clock::TimeZoneBias() {
    TIME_ZONE_INFORMATION zone;
    const DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID)
        return 0;
    return zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias);
}

}  // namespace norvane::win32

#include "platform/sim/SimClock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/sim/Journal.h"

namespace norvane::sim {

// Howard Hinnant's days-from-civil algorithm.
std::int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

SimClock::SimClock(const platform::LocalTime& start)
    : m_startDays(DaysFromCivil(start.year, start.month, start.day)),
      m_startMsOfDay(((start.hour * 60LL + start.minute) * 60 + start.second) * 1000 +
                     start.millisecond) {}

void SimClock::Sleep(std::uint32_t milliseconds) {
    AdvanceTo(m_elapsedMs + milliseconds);
    if (m_journal)
        m_journal->Record(L"Sleep " + std::to_wstring(milliseconds));
    if (m_realPacing)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(milliseconds, 1000u)));
}

void SimClock::AdvanceTo(std::uint64_t elapsedMs) {
    while (m_events) {
        const auto due = m_events->NextDue();
        if (!due || *due > elapsedMs)
            break;
        m_elapsedMs = std::max(m_elapsedMs, *due);
        m_events->RunDue();
    }
    m_elapsedMs = std::max(m_elapsedMs, elapsedMs);
}

platform::LocalTime SimClock::At(std::uint64_t elapsedMs) const {
    const std::int64_t total = m_startMsOfDay + static_cast<std::int64_t>(elapsedMs);
    const std::int64_t dayMs = 24LL * 3600 * 1000;
    platform::LocalTime t;
    CivilFromDays(m_startDays + total / dayMs, t.year, t.month, t.day);
    std::int64_t ms = total % dayMs;
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

}  // namespace norvane::sim

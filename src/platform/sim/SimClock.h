// The virtual clock of a simulated machine: Sleep advances it (and is journaled) instead of
// waiting, so that a run that retries for minutes takes no time and leaves the same journal.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace norvane::sim {

class Journal;

class SimClock final : public platform::Clock {
public:
    // `start` is the local time the run begins at.
    explicit SimClock(const platform::LocalTime& start);

    void AttachJournal(Journal& journal) { m_journal = &journal; }
    void Sleep(std::uint32_t milliseconds) override;
    platform::LocalTime Now() override { return At(m_elapsedMs); }
    platform::LocalTime Now() const { return At(m_elapsedMs); }
    std::uint64_t ElapsedMilliseconds() const { return m_elapsedMs; }

private:
    platform::LocalTime At(std::uint64_t elapsedMs) const;

    std::int64_t m_startDays;     // days since 1970-01-01
    std::int64_t m_startMsOfDay;  // milliseconds since midnight
    std::uint64_t m_elapsedMs = 0;
    Journal* m_journal = nullptr;
};

// Civil calendar helpers (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int& year, int& month, int& day);

}  // namespace norvane::sim

// The virtual clock of a simulated machine: Sleep advances it (and is journaled) instead of
// waiting, so that a run that retries for minutes takes no time and leaves the same journal.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Clock.h"

namespace norvane::sim {

class Journal;

// What is due at set moments of the virtual time (the ends of simulated processes). The clock
// stops at each such moment it passes, so that what happens there happens, and is journaled, at
// its own time.
class ClockEvents {
public:
    virtual ~ClockEvents() = default;
    // The elapsed milliseconds at which the next event is due; nullopt when none is.
    virtual std::optional<std::uint64_t> NextDue() const = 0;
    // Carries out the event due first; the clock stands at its moment (or later, for one that was
    // already due).
    virtual void RunDue() = 0;
};

class SimClock final : public platform::Clock {
public:
    // `start` is the local time the run begins at.
    explicit SimClock(const platform::LocalTime& start);

    void AttachJournal(Journal& journal) { m_journal = &journal; }
    void AttachEvents(ClockEvents& events) { m_events = &events; }
    // A person watching the terminal UI sees the run at its own pace: each sleep also waits for
    // real, up to a second, so a long retry does not freeze the screen for minutes.
    void SetRealPacing(bool real) { m_realPacing = real; }
    void Sleep(std::uint32_t milliseconds) override;
    // Moves the clock on to `elapsedMs` (never back), carrying out every event due on the way.
    // Journals nothing: a sleep journals itself, a wait is told by what ends.
    void AdvanceTo(std::uint64_t elapsedMs);
    platform::LocalTime Now() override { return At(m_elapsedMs); }
    // The simulated machine keeps UTC.
    std::int32_t TimeZoneBias() override { return 0; }
    platform::LocalTime Now() const { return At(m_elapsedMs); }
    std::uint64_t ElapsedMilliseconds() const { return m_elapsedMs; }

private:
    platform::LocalTime At(std::uint64_t elapsedMs) const;

    std::int64_t m_startDays;     // days since 1970-01-01
    std::int64_t m_startMsOfDay;  // milliseconds since midnight
    std::uint64_t m_elapsedMs = 0;
    Journal* m_journal = nullptr;
    ClockEvents* m_events = nullptr;
    bool m_realPacing = false;
};

// Civil calendar helpers (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int& year, int& month, int& day);

}  // namespace norvane::sim

// Counts the changes a run makes to a simulated machine, so that a run can be cut off after any
// one of them as a killed process or a power failure would cut it off.
//
// A change is one call of the program that left the machine different, counted when the call
// returns to the program: a registry key created, a value set or deleted, a key deleted; a file
// written or deleted, a folder created or removed, an INI value written. A call that another
// process carries out for the program (a spooler call, an elevated pnputil) is one change however
// much it does inside, since killing the program does not stop that process halfway; it counts
// only when it changed something (including the jobs a purge empties and a fault it used up). A
// refused call, a read, a process start, a message box and a sleep change nothing; what the
// program's utilities do as they end is their own work, not the program's.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace norvane::sim {

class ChangeCounter {
public:
    // After the `limit`-th change, `cut` is called with it where the change's call returns; it
    // must not return, as nothing more of the program may run.
    void CutOffAfter(std::uint64_t limit, std::function<void(std::uint64_t change)> cut);
    // A change made by a call of the program, or inside a call of another process.
    void Changed();
    std::uint64_t Count() const { return m_count; }

    // Brackets a call carried out by another process: the changes inside count as one, when the
    // outermost call ends. A null counter brackets nothing (a spooler over Windows' own registry).
    class Call {
    public:
        explicit Call(ChangeCounter* counter);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        ChangeCounter* m_counter;
    };

private:
    void Add();

    std::uint64_t m_count = 0;
    int m_depth = 0;
    bool m_changedInCall = false;
    std::optional<std::uint64_t> m_limit;
    std::function<void(std::uint64_t)> m_cut;
};

}  // namespace norvane::sim

// What the simulated spooler keeps beside the registry: the queued jobs and the faults that make
// deletions fail (a simulated machine's machine.json holds both, and a run changes them), the
// Windows folder that holds the driver folders, and where its journal lines and changes go.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/sim/ChangeCounter.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::sim {

using JobCounts = std::map<std::wstring, std::uint32_t, text::NoCaseLess>;

struct SpoolerState {
    std::wstring windowsDir;
    JobCounts& jobs;  // queued jobs per printer name
    MachineFaults& faults;
    // Receives one line for every change and every refused one.
    std::function<void(const std::wstring& entry)> journal;
    // Counts each call that changed the machine as one change; none for a spooler that runs over
    // Windows' own registry.
    ChangeCounter* changes = nullptr;
    // A number that moves on with every change that may alter the drivers the registry holds:
    // the driver file counts the spooler keeps from one deletion to the next hold while it stays.
    // Without one the spooler reads every driver again for each deletion.
    std::function<std::uint64_t()> driversGeneration;
};

}  // namespace norvane::sim

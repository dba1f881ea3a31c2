// What the simulated spooler keeps beside the registry: the queued jobs and the faults that make
// deletions fail (a simulated machine's machine.json holds both, and a run changes them), the
// Windows folder that holds the driver folders, and where its journal lines and changes go.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/sim/ChangeCounter.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/RegistryStore.h"

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
    // The simulated machine's registry, which the spooler's registry service is a view of: read
    // directly, it gives a key's spelling without listing its siblings, and its generation tells
    // whether what the spooler keeps between calls still holds. None over Windows' own registry.
    const RegistryStore* store = nullptr;
};

}  // namespace norvane::sim

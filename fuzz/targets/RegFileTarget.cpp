// The input is a registry.reg. What loads is written out, and the written file must load again
// to the same registry: a machine saved once and loaded again is the machine it was.
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "platform/sim/RegFile.h"

namespace norvane::fuzz {

void RegFileTarget(const std::uint8_t* data, std::size_t size) {
    sim::RegistryStore store;
    if (sim::ReadRegFile(std::vector<std::uint8_t>(data, data + size), store))
        return;
    const std::string written = sim::WriteRegFile(store);
    sim::RegistryStore again;
    FuzzExpect(!sim::ReadRegFile(std::vector<std::uint8_t>(written.begin(), written.end()), again),
               "a written registry.reg does not load");
    FuzzExpect(sim::WriteRegFile(again) == written, "a written registry.reg loads differently");
}

}  // namespace norvane::fuzz

// The input is a machine.json. What parses is written back as a run and as "norvane-machine new"
// write it, and both must parse again to the same settings.
#include <string>

#include "FuzzTargets.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::fuzz {
namespace {

// The settings as "norvane-machine new" writes them, after the text parsed.
std::string Reparsed(const std::string& json, const char* what) {
    sim::MachineConfig config;
    sim::MachineConfigError error;
    FuzzExpect(sim::ParseMachineConfig(json, config, error), what);
    return sim::WriteMachineConfig(config);
}

}  // namespace

void MachineConfigTarget(const std::uint8_t* data, std::size_t size) {
    const std::string json(reinterpret_cast<const char*>(data), size);
    sim::MachineConfig config;
    sim::MachineConfigError error;
    if (!sim::ParseMachineConfig(json, config, error))
        return;
    const std::string written = sim::WriteMachineConfig(config);
    FuzzExpect(Reparsed(written, "a written machine.json does not parse") == written,
               "a written machine.json parses differently");
    FuzzExpect(Reparsed(sim::UpdateMachineConfig(json, config),
                        "a machine.json a run updated does not parse") == written,
               "a machine.json a run updated parses differently");
}

}  // namespace norvane::fuzz

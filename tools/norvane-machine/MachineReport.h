// What `norvane-machine show` prints: the printing side of a simulated machine at a glance.
#pragma once

#include <string>

#include "platform/sim/Machine.h"

namespace norvane::tools {

std::string DescribeMachine(sim::Machine& machine);

}  // namespace norvane::tools

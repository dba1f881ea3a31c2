// What one removal of printers and drivers works with: the run's services, texts and log, the
// package, what is installed and chosen, where the results go, and the catalogue of driver
// packages. Handed in by the run that starts the removal; the removal holds none of it itself.
#pragma once

#include <optional>
#include <string>

#include "inventory/Inventory.h"
#include "inventory/Package.h"
#include "log/Results.h"
#include "log/RunContext.h"
#include "removal/DriverPackages.h"

namespace norvane {

struct RemovalRun {
    RunContext& context;
    Package& package;
    Inventory& inventory;
    RunResults& results;
    DriverPackages& driverPackages;
    // Where the settings of each printer are saved before it is deleted (the log folder, in a
    // silent run); none are saved without it.
    std::optional<std::wstring> settingsFolder;
};

}  // namespace norvane

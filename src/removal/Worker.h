// The removal in its fixed order: the chosen printers, then the chosen drivers that no printer
// uses any more (driver package, spooler, the leftovers), with a progress line and a result for
// each.
#pragma once

#include "log/Progress.h"
#include "removal/RemovalRun.h"

namespace norvane {

class PackageInstalls;

// Writes the work list, removes, and forgets the list. Returns the driver loop's result: 0 when
// it did not run, else the cleanup flags.
int WorkerBody(const RemovalRun& run, ProgressSink& progress);
// The removal itself, over what `installs` shows the maker's INF files installing.
int RemoveChosen(const RemovalRun& run, const PackageInstalls& installs, ProgressSink& progress);
// 0 at once in printers-only mode, else the cleanup flags.
int DriverLoop(const RemovalRun& run, const PackageInstalls& installs, ProgressSink& progress);

}  // namespace norvane

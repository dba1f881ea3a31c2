// The removal in its fixed order: the chosen printers, then the chosen drivers that no printer
// uses any more (driver package, spooler, the leftovers), with a progress line and a result for
// each.
#pragma once

namespace norvane {

class CUninstallerController;

// Returns the driver loop's result: 0 when it did not run, else the cleanup flags.
int WorkerBody(CUninstallerController& app);
// 0 at once in printers-only mode, else the cleanup flags.
int DriverLoop(CUninstallerController& app);

}  // namespace norvane

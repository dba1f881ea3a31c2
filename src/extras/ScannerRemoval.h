// Removing scanner drivers through their own setup programs. A scanner's setup registered the
// uninstall entry "InstallShield_{GUID}"; its ModifyPath names the setup program, which is run
// silently in removal mode and leaves its result in a setup.log beside itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inventory/Config.h"
#include "inventory/Records.h"
#include "log/Results.h"

namespace norvane {

class RunContext;

using ScannerRecords = std::vector<std::unique_ptr<CScannerDriverData>>;

// The setup program of the scanner's GUID, from the quoted path in ModifyPath; empty when the
// entry, the value or the quotes are missing.
std::wstring LookUpSetupPath(RunContext& context, const std::wstring& guid);
// When config.ini lists the scanner ([Scanner] SD<n>, [ScannerGUID] SID<n>) and its setup
// program is known: appends its record to `scanners` and returns 1; else 0.
int FindScanner(RunContext& context, const PackageConfig& config, ScannerRecords& scanners,
                const std::wstring& name);
// Runs the setup program of every scanner in `scanners` and records its result.
void RemoveScanners(RunContext& context, const ScannerRecords& scanners, ResultMap& results);
// Clears the setup.log beside the setup program, runs the program and reads the result it wrote.
// False when it was not started: it could not be, or an old log was there that could not be
// deleted.
bool RunScannerSetup(RunContext& context, CScannerDriverData& record);
// The result the setup program wrote beside itself; the log is not deleted.
void ReadScannerResult(RunContext& context, CScannerDriverData& record);

}  // namespace norvane

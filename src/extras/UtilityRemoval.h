// Removing the package's utilities through their own uninstallers: each one runs silently with
// the response file recorded for it (ISS\<id>.iss beside the program), is waited for together with
// the process it hands its work to, and reports its result in ISS\setup.log.
#pragma once

#include <string>

#include "extras/ExtrasState.h"
#include "inventory/Package.h"
#include "inventory/Records.h"
#include "log/Progress.h"
#include "log/Results.h"
#include "log/RunContext.h"
#include "platform/FileSystem.h"

namespace norvane {

// What one removal of utilities works with.
struct UtilityRun {
    RunContext& context;
    const Package& package;  // its program folder holds ISS\, the response files
    ExtrasState& extras;
    RunResults& results;
    ProgressSink& progress;
};

// Builds the list of installed utilities that no printer needs, runs their uninstallers and
// records a result for each. Always true.
bool RemoveUtilities(UtilityRun& run);
// Runs the uninstallers of the run's utility records in order and records their results.
void RunUtilityUninstallers(UtilityRun& run);
// Runs one utility's uninstaller and reads its result. False when it could not be run, or when
// an old ISS\setup.log was there that could not be deleted.
bool RunUninstaller(RunContext& context, const Package& package, CUtilityData& record,
                    const std::wstring& id);
// Reads the result the uninstaller left in ISS\setup.log, then deletes that log.
void ReadUninstallResult(RunContext& context, const Package& package, CUtilityData& record);
// The record of a utility: its uninstall command from the uninstall entry of the GUID, empty
// when the entry or the command is missing.
CUtilityData LookUpUninstallString(RunContext& context, const std::wstring& guid);

// The uninstall command with its program path quoted: an unquoted path holding blanks would let
// Windows start "C:\Program.exe" for "C:\Program Files\...". The leading text up to the first
// ".exe" that names an existing file is put in quotes; a command that starts with a quote, or
// names no existing ".exe", is returned as it is.
std::wstring QuoteProgramPath(platform::FileSystem& files, const std::wstring& command);

}  // namespace norvane

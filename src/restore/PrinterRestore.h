// Re-creating the printers a removal deleted, after a newer driver package has been installed:
// each printer of the log's "PrinterInfo" sections with its port, share name and the driver's
// print processor, its driver renamed through /m, its saved settings when the driver takes them,
// and the default printer set again. A printer that exists already is left as it is; one that
// cannot be made is reported and the others go on.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "restore/RestoreOptions.h"

namespace norvane::restore {

// A printer's result code, with the meanings of the removal's codes.
inline constexpr int kRestored = 0;  // re-created, or there already
inline constexpr int kFailed = 1;    // the spooler refused it, or the log's entry is unusable
inline constexpr int kMissing = 4;   // its driver or its port is not installed

struct PrinterOutcome {
    std::wstring printer;
    int code = kRestored;
    std::wstring detail;  // what was done or why not, in words
};

struct RestoreOutcome {
    std::wstring logFolder;
    std::wstring logFile;
    std::vector<PrinterOutcome> printers;  // in the log's order
    std::wstring defaultPrinter;           // what became of the default printer; empty: nothing
};

RestoreOutcome RestorePrinters(platform::Platform& platform, const RestoreOptions& options);

// The program's exit code: 0 every printer restored or there already, 1 at least one failed or
// missing its driver or port, 2 the log holds no printer to restore.
// The folder the removal logged into: the one given (relative to the working folder when it
// names no drive and no server), else the program's own.
std::wstring LogFolder(platform::Platform& platform, const std::wstring& given);

int ExitCode(const RestoreOutcome& outcome);

}  // namespace norvane::restore

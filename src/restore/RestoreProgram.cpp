#include "restore/RestoreProgram.h"

#include "restore/PrinterRestore.h"
#include "restore/RestoreOptions.h"
#include "restore/RestoreReport.h"

namespace norvane::restore {

int RunRestore(platform::Platform& platform, const std::vector<std::wstring>& args,
               std::vector<std::wstring>& lines) {
    RestoreOptions options;
    std::wstring error;
    if (!ParseRestoreOptions(args, options, error)) {
        lines = {error, kRestoreUsage};
        return kBadCommandLine;
    }
    if (options.help) {
        lines = {kRestoreUsage};
        return 0;
    }
    const RestoreOutcome outcome = RestorePrinters(platform, options);
    // A log without printers is left as it is: there is no result to record.
    if (!options.dryRun && !outcome.printers.empty())
        WriteRestoreResult(platform, outcome);
    lines = RestoreLines(outcome);
    return ExitCode(outcome);
}

}  // namespace norvane::restore

#include "restore/RestoreProgram.h"

#include "platform/trace/TracePlatform.h"
#include "restore/PrinterRestore.h"
#include "restore/RestoreOptions.h"
#include "restore/RestoreReport.h"
#include "support/Text.h"

namespace norvane::restore {
namespace {

constexpr wchar_t kNeedsAdministrator[] =
    L"Restoring printers needs administrator rights: run this program from a Command Prompt "
    L"started with \"Run as administrator\".";

bool IsAdministrator(platform::Platform& platform) {
    bool member = false;
    return platform.security.IsAdministrator(member) == platform::win::kSuccess && member;
}

// The restore itself, once the command line is read.
int Restore(platform::Platform& platform, const RestoreOptions& options,
            std::vector<std::wstring>& lines, std::vector<std::wstring>& errors) {
    // The program asks Windows for no elevation (Windows would run it in a console of its own
    // that closes at once), so it checks the rights itself before it reads or changes anything.
    if (!IsAdministrator(platform)) {
        errors = {kNeedsAdministrator};
        return kNotAdministrator;
    }
    const RestoreOutcome outcome = RestorePrinters(platform, options);
    // A log without printers is left as it is: there is no result to record.
    if (!options.dryRun && !outcome.printers.empty())
        WriteRestoreResult(platform, outcome);
    lines = RestoreLines(outcome);
    return ExitCode(outcome);
}

}  // namespace

int RunRestore(platform::Platform& platform, const std::vector<std::wstring>& args,
               std::vector<std::wstring>& lines, std::vector<std::wstring>& errors) {
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
    if (!options.trace)
        return Restore(platform, options, lines, errors);
    const std::wstring path =
        trace::TraceFilePath(options.traceFile, LogFolder(platform, options.logFolder));
    trace::TraceFile file(
        platform, path, L"", [&](const std::wstring& name, platform::WinError error) {
            errors.push_back(L"the trace " + name + L" cannot be written (" + text::Decimal(error) +
                             L":" + platform.system.ErrorMessage(error) +
                             L"); the restore goes on without it");
        });
    trace::TracePlatform traced(platform, file);
    std::wstring commandLine;
    for (const auto& arg : args)
        commandLine += (commandLine.empty() ? L"" : L" ") + arg;
    trace::TraceStart(file, platform, L"NorvaneRestore", commandLine);
    const int code = Restore(traced.Get(), options, lines, errors);
    trace::TraceEnd(file, L"NorvaneRestore", code);
    return code;
}

}  // namespace norvane::restore

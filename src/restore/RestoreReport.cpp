#include "restore/RestoreReport.h"

#include "log/LogFile.h"
#include "support/Text.h"

namespace norvane::restore {

void WriteRestoreResult(platform::Platform& platform, const RestoreOutcome& outcome) {
    std::vector<LogEntry> codes, details;
    for (const auto& printer : outcome.printers) {
        codes.push_back({printer.printer, text::Decimal(printer.code)});
        details.push_back({printer.printer, printer.detail});
    }
    WriteLogSections(platform, {{L"RestoreResult", codes}, {L"RestoreDetail", details}},
                     outcome.logFile);
}

std::vector<std::wstring> RestoreLines(const RestoreOutcome& outcome) {
    if (outcome.printers.empty())
        return {L"no printer to restore: " + outcome.logFile + L" names none"};
    std::vector<std::wstring> lines;
    for (const auto& printer : outcome.printers)
        lines.push_back(printer.printer + L": " + printer.detail);
    if (!outcome.defaultPrinter.empty())
        lines.push_back(outcome.defaultPrinter);
    return lines;
}

}  // namespace norvane::restore

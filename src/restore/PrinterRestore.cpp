#include "restore/PrinterRestore.h"

#include <set>

#include "restore/SavedPrinters.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::restore {
namespace {

namespace win = platform::win;

// Windows' own print processor, for a driver that names none.
constexpr wchar_t kDefaultPrintProcessor[] = L"winprint";

std::wstring Quote(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

class Restorer {
public:
    Restorer(platform::Platform& platform, const RestoreOptions& options, RestoreOutcome& outcome)
        : m_platform(platform), m_options(options), m_outcome(outcome) {
        std::vector<platform::PrinterInfo2> printers;
        (void)m_platform.spooler.EnumPrinters(
            platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
        for (const auto& printer : printers)
            m_existing.insert(text::LowerAscii(printer.printerName));
    }

    void Restore(const SavedPrinter& saved) {
        PrinterOutcome& outcome = m_outcome.printers.emplace_back();
        outcome.printer = saved.printerName;
        if (saved.printerName.starts_with(L"\\\\")) {
            Set(outcome, kFailed,
                L"a connection to another computer's printer: connect to it again from there");
        } else if (m_existing.contains(text::LowerAscii(saved.printerName))) {
            Set(outcome, kRestored, L"exists already; left as it is");
        } else {
            Create(saved, outcome);
        }
    }

    void SetDefaultPrinter() {
        if (m_newDefault.empty())
            return;
        if (m_options.dryRun) {
            m_outcome.defaultPrinter = Quote(m_newDefault) + L" would be the default printer again";
        } else if (const auto error = m_platform.spooler.SetDefaultPrinter(m_newDefault)) {
            m_outcome.defaultPrinter =
                Quote(m_newDefault) + L" could not be made the default printer: " + Error(error);
        } else {
            m_outcome.defaultPrinter = Quote(m_newDefault) + L" is the default printer again";
        }
    }

private:
    static void Set(PrinterOutcome& outcome, int code, const std::wstring& detail) {
        outcome.code = code;
        outcome.detail = detail;
    }

    std::wstring Error(platform::WinError error) {
        return text::Decimal(error) + L":" + m_platform.system.ErrorMessage(error);
    }

    void Create(const SavedPrinter& saved, PrinterOutcome& outcome) {
        platform::PrinterInfo2 info;
        info.printerName = saved.printerName;
        info.portName = saved.portName;
        info.driverName = MappedDriver(m_options, saved.driverName);
        info.shareName = saved.shareName;
        info.attributes = saved.shareName.empty() ? 0 : platform::kPrinterAttributeShared;
        if (const auto error = m_platform.spooler.GetDriverPrintProcessor(
                platform::kEnvironmentX64, info.driverName, info.printProcessor)) {
            if (error == win::kUnknownPrinterDriver)
                return Set(outcome, kMissing,
                           L"the driver " + Quote(info.driverName) + L" is not installed");
            return Set(
                outcome, kFailed,
                L"the driver " + Quote(info.driverName) + L" cannot be read: " + Error(error));
        }
        if (info.printProcessor.empty())
            info.printProcessor = kDefaultPrintProcessor;
        std::wstring problem;
        const auto devmode = ReadSavedDevMode(m_platform, m_outcome.logFolder, saved, problem);
        const std::wstring made =
            L" with the driver " + Quote(info.driverName) + L" on the port " +
            Quote(info.portName) +
            (info.shareName.empty() ? L"" : L", shared as " + Quote(info.shareName));
        if (m_options.dryRun) {
            Set(outcome, kRestored,
                L"would be created" + made +
                    (devmode.empty() ? L"; driver's default settings: " + problem
                                     : L"; saved settings, if the driver takes them"));
        } else {
            std::unique_ptr<platform::Printer> printer;
            if (const auto error = m_platform.spooler.AddPrinter(info, printer))
                return Refused(info, error, outcome);
            Set(outcome, kRestored,
                L"re-created" + made + L"; " + ApplySettings(*printer, devmode, problem));
        }
        m_existing.insert(text::LowerAscii(info.printerName));
        if (saved.defaultFlag == L"1")
            m_newDefault = info.printerName;
    }

    void Refused(const platform::PrinterInfo2& info, platform::WinError error,
                 PrinterOutcome& outcome) {
        switch (error) {
            case win::kUnknownPort:
                return Set(outcome, kMissing,
                           L"the port " + Quote(info.portName) + L" does not exist");
            case win::kUnknownPrinterDriver:
                return Set(outcome, kMissing,
                           L"the driver " + Quote(info.driverName) + L" is not installed");
            case win::kPrinterAlreadyExists:
                return Set(outcome, kRestored, L"exists already; left as it is");
            default:
                return Set(outcome, kFailed, L"the spooler did not add it: " + Error(error));
        }
    }

    // The saved settings when the new driver takes them; otherwise the driver's own stay.
    std::wstring ApplySettings(platform::Printer& printer, const std::vector<std::uint8_t>& saved,
                               const std::wstring& problem) {
        if (saved.empty())
            return L"driver's default settings: " + problem;
        std::vector<std::uint8_t> merged;
        if (const auto error = printer.MergeDocumentProperties(saved, merged))
            return L"driver's default settings: the driver does not take the saved ones (" +
                   Error(error) + L")";
        if (const auto error = printer.SetDefaultDevMode(merged))
            return L"driver's default settings: the saved ones could not be set (" + Error(error) +
                   L")";
        return L"saved settings applied";
    }

    platform::Platform& m_platform;
    const RestoreOptions& m_options;
    RestoreOutcome& m_outcome;
    std::set<std::wstring> m_existing;  // printer names in lower case
    std::wstring m_newDefault;          // the saved default printer, once it is back
};

}  // namespace

std::wstring LogFolder(platform::Platform& platform, const std::wstring& given) {
    if (given.empty()) {
        const std::wstring module = platform.system.ModuleFileName();
        return module.substr(0, module.find_last_of(L'\\') + 1);
    }
    const bool absolute = (given.size() >= 2 && given[1] == L':') || given.starts_with(L"\\\\");
    if (absolute)
        return given;
    std::wstring current;
    (void)platform.files.GetCurrentDirectory(current);
    return path::Join(current, given);
}

RestoreOutcome RestorePrinters(platform::Platform& platform, const RestoreOptions& options) {
    RestoreOutcome outcome;
    outcome.logFolder = LogFolder(platform, options.logFolder);
    outcome.logFile = path::Join(outcome.logFolder, kLogName);
    Restorer restorer(platform, options, outcome);
    for (const auto& saved : ReadSavedPrinters(platform, outcome.logFile))
        restorer.Restore(saved);
    restorer.SetDefaultPrinter();
    return outcome;
}

int ExitCode(const RestoreOutcome& outcome) {
    if (outcome.printers.empty())
        return 2;
    for (const auto& printer : outcome.printers) {
        if (printer.code != kRestored)
            return 1;
    }
    return 0;
}

}  // namespace norvane::restore

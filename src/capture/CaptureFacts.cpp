#include "capture/CaptureFacts.h"

#include <cstdio>

#include "capture/CaptureJson.h"
#include "support/Text.h"

namespace norvane::capture {

namespace win = platform::win;

std::wstring StampOf(const platform::LocalTime& time) {
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"%04d-%02d-%02dT%02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return stamp;
}

std::string MachineFacts(platform::Platform& platform, const std::wstring& programPath,
                         const CaptureNote& note, CaptureCounts& counts) {
    platform::SystemInfo& system = platform.system;
    JsonObject facts;
    facts.String("program", programPath);
    std::uint32_t ms = 0, ls = 0;
    if (system.FileVersion(programPath, ms, ls) == win::kSuccess) {
        facts.String("fileVersion",
                     std::to_wstring(ms >> 16) + L"." + std::to_wstring(ms & 0xFFFF) + L"." +
                         std::to_wstring(ls >> 16) + L"." + std::to_wstring(ls & 0xFFFF));
    } else {
        facts.Null("fileVersion");
    }
    facts.String("windowsDir", system.WindowsDirectory());
    std::wstring commonData;
    const auto common = system.CommonAppDataFolder(commonData);
    if (common == win::kSuccess)
        facts.String("commonAppDataDir", commonData);
    else
        counts.unread.push_back(L"common application-data folder: error " +
                                std::to_wstring(common));
    facts.Number("threadLocale", system.ThreadLocale())
        .Number("systemDefaultLangId", system.SystemDefaultLangId())
        .Number("ansiCodePage", system.AnsiCodePage())
        .Number("osMajorVersion", system.OsMajorVersion())
        .String("computerName", note.computer);
    bool administrator = false;
    const auto checked = platform.security.IsAdministrator(administrator);
    if (checked == win::kSuccess)
        facts.Bool("administrator", administrator);
    else
        counts.unread.push_back(L"administrator check: error " + std::to_wstring(checked));

    std::vector<platform::PrinterInfo2> printers;
    const auto listed = platform.spooler.EnumPrinters(platform::kPrinterEnumLocal, printers);
    if (listed != win::kSuccess)
        counts.unread.push_back(L"printers' jobs: error " + std::to_wstring(listed));
    JsonObject jobs;
    for (const auto& printer : printers) {
        if (printer.jobs != 0)
            jobs.Number(text::ToUtf8(printer.printerName), printer.jobs);
    }
    if (!jobs.Empty())
        facts.Object("jobs", jobs);

    JsonObject capture;
    capture.String("time", note.time)
        .String("computer", note.computer)
        .String("version", note.version);
    if (!counts.unread.empty())
        capture.Strings("unread", counts.unread);
    facts.Object("capture", capture);
    return facts.Text() + "\n";
}

}  // namespace norvane::capture

#include "log/Reporter.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "app/Controller.h"
#include "support/Text.h"

namespace norvane {
namespace {

// The entries of a report, gathered by section and written together: each write rewrites the
// whole log, so one per key, or one per section, made a large report cost the square of its size.
// Sections are written in the order of their first entry, which is the order one write per key
// would have made them in.
class LogSections {
public:
    explicit LogSections(CUninstallerController& app) : m_app(app) {}
    LogSections(const LogSections&) = delete;
    LogSections& operator=(const LogSections&) = delete;
    ~LogSections() { m_app.WriteLogSections(m_sections); }

    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        // Names the profile functions take for one section go to one.
        const std::wstring id = text::LowerAscii(text::Trim(section));
        auto [it, added] = m_index.emplace(id, m_sections.size());
        if (added)
            m_sections.push_back({section, {}});
        m_sections[it->second].entries.push_back({key, value});
    }

    // One key per name with the same code; ErrMsg when there is no name.
    void WriteEach(const wchar_t* section, const CmyStringArray& names, std::uint32_t code,
                   const wchar_t* noneMessage) {
        for (const auto& name : names)
            Write(section, name, std::to_wstring(code));
        if (names.empty() && noneMessage)
            Write(section, L"ErrMsg", noneMessage);
    }

    void WriteSavedPrinters() {
        for (const auto& saved : m_app.m_arrSavedPrinterInfo) {
            const std::wstring& name =
                saved.sectionName.empty() ? saved.printerName : saved.sectionName;
            const std::wstring section = L"PrinterInfo " + name;
            // A name the section header cannot keep goes whole into a value, in quotes, which
            // the profile functions take off again with nothing else: blanks at its ends stay.
            if (name != saved.printerName)
                Write(section, L"Name", L"\"" + saved.printerName + L"\"");
            Write(section, L"PortName", saved.portName);
            Write(section, L"DriverName", saved.driverName);
            Write(section, L"ShareName", saved.shareName);
            Write(section, L"Default", saved.defaultFlag);
            Write(section, L"DEVMODE", saved.devmodeFile);
            // The file this run wrote for this printer, by which a restore knows it for the
            // printer's own; DEVMODE names the same file, for the callers that read it.
            if (!saved.devmodeFile.empty())
                Write(section, L"SettingsFile", saved.devmodeFile);
        }
        m_app.m_arrSavedPrinterInfo.clear();
    }

private:
    CUninstallerController& m_app;
    std::vector<LogSection> m_sections;
    std::unordered_map<std::wstring, std::size_t> m_index;
};

}  // namespace

std::wstring ErrorText(RunContext& context, std::uint32_t code) {
    return std::to_wstring(static_cast<std::int32_t>(code)) + L":" +
           context.P().system.ErrorMessage(code);
}

namespace {

bool Designated(const CUninstallerController& app) {
    return app.m_bPrintersGiven || app.m_bDriversGiven;
}

void ShowMessage(CUninstallerController& app, const std::wstring& message) {
    if (!app.m_bQuiet)
        app.P().ui.MessageBox(message, app.LoadText(148), platform::kMbOk);
}

// The codes of an error: every designated name gets the code. Without a message box (kind 2)
// the utilities are reported only when no scanner was designated, and a missing one by name.
void WriteErrorCodes(CUninstallerController& app, std::uint32_t code, bool quietKind) {
    if (!app.m_bWriteLog)
        return;
    LogSections log(app);
    // Why the run could not tell what is installed, before the codes it gave every item.
    if (app.m_nEnumerationError)
        log.Write(L"Spooler", L"Error", ErrorText(app, app.m_nEnumerationError));
    if (Designated(app))
        log.WriteEach(L"UninstResult", app.m_arrDesignated, code, kNoDriverOrPrinter);
    if (app.m_bScannersGiven)
        log.WriteEach(L"ScannerUninstResult", app.m_arrScannerName, code, kNoDriverOrPrinter);
    if (app.m_bRemoveUtilities && !(quietKind && app.m_bScannersGiven)) {
        log.WriteEach(L"UtilityUninstResult", app.m_arrUtilityRemoveId, code,
                      quietKind ? kNoUtility : nullptr);
    }
}

void ReportDone(CUninstallerController& app, const std::wstring& message) {
    std::wstring shown = message;
    if (!app.m_arrRejected.empty()) {
        shown += L"\r\n" + app.LoadText(155);
        for (const auto& rejected : app.m_arrRejected)
            shown += L"\r\n" + rejected;
    }
    ShowMessage(app, shown);
    if (!app.m_bWriteLog)
        return;
    LogSections log(app);
    if (Designated(app)) {
        // Keys are "DRIVER " or "PRINTER " followed by the name; the prefix tells them apart even
        // when a name itself holds one of these words.
        for (const auto& [key, value] : app.m_mapPrinterResult) {
            if (app.m_bDriversGiven) {
                if (key.starts_with(kDriverKey)) {
                    log.Write(L"UninstResult", key.substr(7), value);
                } else {
                    log.Write(L"DelPrinterResult", key.substr(std::min<std::size_t>(8, key.size())),
                              value);
                }
            } else if (key.starts_with(kPrinterKey)) {
                log.Write(L"UninstResult", key.substr(8), value);
                log.Write(L"DelPrinterResult", key.substr(8), value);
            }
        }
        log.WriteSavedPrinters();
    }
    if (app.m_bScannersGiven) {
        for (const auto& [key, value] : app.m_mapScannerResult) {
            log.Write(L"ScannerUninstResult", key.substr(std::min<std::size_t>(8, key.size())),
                      value);
        }
    }
    if (app.m_bRemoveUtilities || !app.m_bUtilitySwitchGiven) {
        for (const auto& [key, value] : app.m_mapUtilityResult)
            log.Write(L"UtilityUninstResult", key, value);
    }
}

}  // namespace

void ReportResult(CUninstallerController& app, const std::wstring& message, int kind,
                  std::uint32_t code) {
    switch (kind) {
        case 0:
            ShowMessage(app, message);
            WriteErrorCodes(app, code, false);
            break;
        case 1:
            ReportDone(app, message);
            break;
        default:
            WriteErrorCodes(app, code, true);
            break;
    }
}

}  // namespace norvane

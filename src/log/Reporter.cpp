#include "log/Reporter.h"

#include "app/Controller.h"
#include "log/LogFile.h"

namespace norvane {
namespace {

class LogSections {
public:
    explicit LogSections(CUninstallerController& app) : m_app(app) {}

    void Write(const wchar_t* section, const std::wstring& key, const std::wstring& value) {
        WriteLogString(m_app.P(), section, key.c_str(), value.c_str(), m_app.m_szLogFile);
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
            const std::wstring section = L"PrinterInfo " + saved.printerName;
            Write(section.c_str(), L"PortName", saved.portName);
            Write(section.c_str(), L"DriverName", saved.driverName);
            Write(section.c_str(), L"ShareName", saved.shareName);
            Write(section.c_str(), L"Default", saved.defaultFlag);
            Write(section.c_str(), L"DEVMODE", saved.devmodeFile);
        }
        m_app.m_arrSavedPrinterInfo.clear();
    }

private:
    CUninstallerController& m_app;
};

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

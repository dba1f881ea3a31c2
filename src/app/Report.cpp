#include "app/Report.h"

#include "app/Controller.h"
#include "log/LogBatch.h"

namespace norvane {
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
    LogBatch log(app);
    // Why the run could not tell what is installed, before the codes it gave every item.
    if (app.m_nEnumerationError)
        log.Write(L"Spooler", L"Error", ErrorText(app.P(), app.m_nEnumerationError));
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
    LogBatch log(app);
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
        log.WriteSavedPrinters(app.m_arrSavedPrinterInfo);
        app.m_arrSavedPrinterInfo.clear();
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

void ReportResult(CUninstallerController& app, const std::wstring& message, ReportKind kind,
                  std::uint32_t code) {
    switch (kind) {
        case ReportKind::Stop:
            ShowMessage(app, message);
            WriteErrorCodes(app, code, false);
            break;
        case ReportKind::Done:
            ReportDone(app, message);
            break;
        case ReportKind::SilentError:
            WriteErrorCodes(app, code, true);
            break;
    }
}

StopReport Stopper(CUninstallerController& app) {
    return [&app](const std::wstring& message, std::uint32_t code) {
        ReportResult(app, message, ReportKind::Stop, code);
    };
}

}  // namespace norvane

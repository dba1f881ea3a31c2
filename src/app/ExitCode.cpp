#include "app/ExitCode.h"

#include "app/Controller.h"
#include "app/Report.h"
#include "support/Text.h"

namespace norvane {
namespace {

// Whether a driver is held until the restart, which finishes its removal.
bool DriverPutOff(const CUninstallerController& app, const std::wstring& key) {
    if (!key.starts_with(kDriverKey))
        return false;
    for (const auto& name : text::Split(app.m_szDeleteAfterRestart, L',')) {
        if (!name.empty() && text::EqualsNoCase(name, key.substr(std::wstring(kDriverKey).size())))
            return true;
    }
    return false;
}

// Whether any result of the run has one of the two values. A driver the spooler still held reads
// as failed in the results, but as "-1" in the log: its removal ends with the restart.
bool AnyResult(const CUninstallerController& app, const wchar_t* a, const wchar_t* b) {
    for (const ResultMap* map : {&app.m_mapPrinterResult, &app.m_mapScannerResult,
                                 &app.m_mapUtilityResult, &app.m_mapResumedResult}) {
        for (const auto& [key, stored] : *map) {
            const std::wstring value = DriverPutOff(app, key) ? L"-1" : stored;
            if (value == a || value == b)
                return true;
        }
    }
    return false;
}

}  // namespace

int ProcessExitCode(const CUninstallerController& app) {
    if (!app.m_bExitCodes)
        return app.QuitCode().value_or(0);
    if (app.m_earlyEnd == EarlyEnd::OtherInstance)
        return exitcode::kAlreadyRunning;
    if (app.m_earlyEnd != EarlyEnd::None)
        return exitcode::kFailed;
    if (!app.m_arrRejected.empty())
        return exitcode::kRejectedSwitch;
    if (app.m_bNotAdministrator)
        return exitcode::kNotAdministrator;
    const bool designated = app.m_bPrintersGiven || app.m_bDriversGiven || app.m_bScannersGiven;
    if (!app.m_bStartedUp || !designated || app.m_nEnumerationError || app.log.Failed())
        return exitcode::kFailed;
    // What the run finished of an interrupted removal counts as its own work.
    if (app.m_bNothingInstalled && app.m_mapResumedResult.empty())
        return exitcode::kNothingInstalled;
    if (AnyResult(app, L"1", L"4"))
        return exitcode::kFailed;
    if (app.m_bRestartStarted)
        return exitcode::kRestartStarted;
    if (app.m_bRestartNeeded || app.m_bUtilityNeedsRestart || AnyResult(app, L"-1", L"-1"))
        return exitcode::kRestartNeeded;
    return exitcode::kRemoved;
}

}  // namespace norvane

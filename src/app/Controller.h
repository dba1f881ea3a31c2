// The program's single application object: it owns every piece of run-wide state, runs the
// start-up chain and then one run, silent or interactive.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "extras/UtilityTable.h"
#include "inventory/Config.h"
#include "inventory/Records.h"
#include "platform/Platform.h"
#include "platform/preview/PreviewPlatform.h"
#include "removal/DriverPackages.h"
#include "removal/Progress.h"
#include "support/Text.h"

namespace norvane {

// The start-up steps that can end the program before its switches are acted on.
enum class EarlyEnd {
    None,
    CommonControls,  // InitCommonControlsEx failed
    Language,        // no language library could be loaded
    OtherInstance,   // another instance runs
};

// Result maps iterate in ascending order of UTF-16 code units, as the log lists them.
using ResultMap = std::map<std::wstring, std::wstring, text::Utf16Less>;

class CUninstallerController {
public:
    explicit CUninstallerController(platform::Platform& platform);
    CUninstallerController(const CUninstallerController&) = delete;
    CUninstallerController& operator=(const CUninstallerController&) = delete;

    // The start-up chain, then the run. `commandLine` is the text after the program name.
    // Always 0: the program's work is finished when it returns.
    int InitInstance(const std::wstring& commandLine);
    // Chooses and performs the run mode; 1 when a run was performed, 0 when the interactive run
    // found nothing to remove.
    int Run();
    // Frees the language library.
    void ExitInstance();
    // PostQuitMessage(1): every ending path of the program uses code 1.
    void PostQuit() { m_nQuitCode = 1; }

    // Text `id` of the language library; empty when none is loaded or it lacks the text.
    std::wstring LoadText(std::uint32_t id) const;
    // config.ini in the program folder, one object for the run.
    const PackageConfig& Config() const;

    // The services the run uses: the machine's, or in a preview the layer over them.
    platform::Platform& P() { return m_preview ? m_preview->Get() : m_platform; }
    // From here on the run changes nothing but the log: every change is recorded instead.
    void StartPreview();
    // The changes recorded since StartPreview; null when this is no preview.
    const preview::ChangeList* PreviewChanges() const {
        return m_preview ? &m_preview->Changes() : nullptr;
    }

    std::optional<int> QuitCode() const { return m_nQuitCode; }

    // Run-wide state. Program-wide values first: the program folder (ends with "\") and the
    // [Common] values of config.ini.
    std::wstring g_szModuleDir;
    std::wstring g_strOemProvider;
    std::wstring m_strOemRegPath;
    std::wstring m_strOemRegNorvanePath;

    DriverPackages m_driverPackages;
    ProgressView* m_pProgressView = nullptr;  // the progress dialog of the interactive run
    int m_bUtilityNeedsRestart = 0;
    int m_bUtilitiesConfirmed = 0;  // the user accepted the utility list
    int m_nUtilitiesToDelete = 0;
    int m_bPrintersOnly = 0;
    int m_nPrintersToDelete = 0;
    int m_nDriversToDelete = 0;
    std::vector<std::unique_ptr<CDriverData>> m_arrDriver;
    std::vector<std::unique_ptr<CPrinterData>> m_arrPrinter;
    std::vector<std::unique_ptr<CScannerDriverData>> m_arrScanner;
    std::vector<std::unique_ptr<CUtilityData>> m_arrUtility;
    std::unique_ptr<platform::WorkerThread> m_pWorkerThread;  // the interactive run's worker
    int m_bRestartNeeded = 0;
    int m_bSilent = 0;
    std::wstring m_szSilentText;  // bounded to 4096 characters
    std::unique_ptr<platform::ResourceLibrary> m_hResourceLib;
    std::uint32_t m_nLangId = 0;
    int m_bPrintersGiven = 0;
    int m_bDriversGiven = 0;
    int m_bQuiet = 0;
    int m_bWriteLog = 0;
    int m_bRemoveUtilities = 0;
    int m_bUtilityOptionGiven = 0;  // "/u" was the last switch
    int m_bUtilitySwitchGiven = 0;  // "/u" appeared at all
    int m_bScannersGiven = 0;
    int m_bPreview = 0;    // "/n": decide everything, change nothing but the log
    int m_bExitCodes = 0;  // "/e": the process exit code tells the outcome
    CmyStringArray m_arrScannerName;
    CmyStringArray m_arrDesignated;
    std::wstring m_strLogFolder;
    CmyStringArray m_arrRejected;
    std::wstring m_szLogFile;  // at most 259 characters
    ResultMap m_mapPrinterResult;
    ResultMap m_mapScannerResult;
    ResultMap m_mapUtilityResult;
    CmyStringArray m_arrX86DriverName;
    // The utilities config.ini lists, what the printers that stay need, and one removal's lists:
    // m_arrUtility with its parallel display names, identifiers and restart-check files.
    std::array<UtilityEntry, kUtilitySlots> m_utilityEntries;
    UtilityTexts m_utilityDisplayNames;
    CapabilityTable m_capabilities;
    CmyStringArray m_arrUtilityName;
    CmyStringArray m_arrUtilityRemoveId;
    CmyStringArray m_arrRebootCheckFile;
    CmyStringArray m_arrUtilityToConfirm;  // installed utilities a silent run left in place
    std::wstring m_strSystemDir;
    std::wstring m_szDeleteAfterRestart;  // drivers put off until after a restart, each with ","
    std::vector<CSavedPrinterInfo> m_arrSavedPrinterInfo;
    std::wstring m_strDefaultPrinter;
    std::wstring m_strLangArg;
    // What the exit code of "/e" tells, besides the results: how far start-up came and whether
    // the run found the package installed and restarted Windows itself.
    int m_bStartedUp = 0;
    EarlyEnd m_earlyEnd = EarlyEnd::None;
    int m_bNotAdministrator = 0;
    int m_bNothingInstalled = 0;
    // The first error an enumeration of the spooler returned (1722 with the service stopped):
    // what is installed is then unknown, never "nothing".
    platform::WinError m_nEnumerationError = 0;
    int m_bRestartStarted = 0;
    int m_bLogFailed = 0;  // an entry of the log could not be written: its results are not whole

private:
    void Reset();
    bool StartUp(const std::wstring& commandLine);

    platform::Platform& m_platform;
    mutable std::optional<PackageConfig> m_config;  // of the program folder it was made for
    std::unique_ptr<preview::PreviewPlatform> m_preview;
    std::optional<int> m_nQuitCode;
};

}  // namespace norvane

// What a run has done, item by item, as the log reports it and the exit code tells it: the
// result of every printer, driver, scanner and utility, the printers' saved settings, and what
// waits for a restart.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/Text.h"

namespace norvane {

// The prefixes of the printer result map's keys, and of the scanner result map's.
inline constexpr wchar_t kPrinterKey[] = L"PRINTER ";
inline constexpr wchar_t kDriverKey[] = L"DRIVER ";
inline constexpr wchar_t kScannerKey[] = L"SCANNER ";

// Result maps iterate in ascending order of UTF-16 code units, as the log lists them.
using ResultMap = std::map<std::wstring, std::wstring, text::Utf16Less>;

// The settings of one printer, saved just before it is deleted in a silent run.
struct CSavedPrinterInfo {
    std::wstring printerName;
    std::wstring portName;
    std::wstring driverName;
    std::wstring shareName;
    std::wstring defaultFlag;  // "1" when it was the default printer
    std::wstring devmodeFile;  // the file name of its saved DEVMODE, empty when none was saved
    // The name of its log section after "PrinterInfo ": the printer name, or one derived from it
    // when the printer name would not read back from a section header as it is.
    std::wstring sectionName;
};

struct RunResults {
    ResultMap m_mapPrinterResult;  // "PRINTER <name>" and "DRIVER <name>"
    ResultMap m_mapScannerResult;
    ResultMap m_mapUtilityResult;
    // What the run finished of a removal cut off before it: keys as m_mapPrinterResult's.
    ResultMap m_mapResumedResult;
    std::vector<CSavedPrinterInfo> m_arrSavedPrinterInfo;
    std::wstring m_szDeleteAfterRestart;  // drivers put off until after a restart, each with ","
    int m_bRestartNeeded = 0;
    int m_bUtilityNeedsRestart = 0;
    int m_bRestartStarted = 0;  // the run started the restart itself
};

}  // namespace norvane

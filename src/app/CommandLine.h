// The command line: the run mode, and for the silent run what to remove, whether to remove
// utilities, whether to stay quiet and where to write the log.
#pragma once

#include <string>

#include "inventory/Config.h"
#include "inventory/Records.h"

namespace norvane {

class CUninstallerController;

// What the switches asked for. Without "/s" only the restart marker and "/l" count.
struct CommandLineOptions {
    int m_bSilent = 0;
    int m_bPrintersGiven = 0;
    int m_bDriversGiven = 0;
    int m_bScannersGiven = 0;
    int m_bQuiet = 0;
    int m_bWriteLog = 0;
    int m_bRemoveUtilities = 0;
    int m_bUtilityOptionGiven = 0;  // "/u" was the last switch
    int m_bUtilitySwitchGiven = 0;  // "/u" appeared at all
    int m_bPreview = 0;             // "/n": decide everything, change nothing but the log
    int m_bExitCodes = 0;           // "/e": the process exit code tells the outcome
    int m_bTrace = 0;               // "/v": a trace of the run
    std::wstring m_strTraceFile;    // "/v FILE"; empty: Norvane.trace.log beside the log
    CmyStringArray m_arrDesignated;
    std::wstring m_strDriverList;  // "/x" as given, before its series are resolved
    CmyStringArray m_arrScannerName;
    CmyStringArray m_arrRejected;
    std::wstring m_strLogFolder;
};

// The text after the program name of a full command line (GetCommandLineW), as a program's
// WinMain receives it: the name, quoted or not, and the blanks after it are skipped.
std::wstring TextAfterProgramName(const std::wstring& fullCommandLine);

// The switches of a silent run (rejected ones in m_arrRejected), "/x" series resolved against
// config.ini; an empty line, one with only "/l" and the restart marker hold none. A line with
// only "/v" (and "/l") traces an interactive run.
CommandLineOptions ReadCommandLine(const std::wstring& commandLine, const PackageConfig& config);
// The drivers of "/x": each series config.ini knows stands for its drivers, other names as given.
void ResolveSeries(CommandLineOptions& options, const PackageConfig& config);
// Start-up step: the run's options from ReadCommandLine, acted on by none of the steps before
// SelectMode.
void ReadSwitches(CUninstallerController& app, const std::wstring& commandLine);
// Start-up step, after ReadSwitches: the restart continuation, or the log, the trace and the
// verdict on the switches. False when start-up must end (a rejected switch with "/s").
bool SelectMode(CUninstallerController& app, const std::wstring& commandLine);
// 1 when every switch was accepted; rejected ones are collected in m_arrRejected.
int ParseCommandLine(CommandLineOptions& options, const std::wstring& text);
// 1 when the switch was accepted. `quietLine`: the command line holds "/s", without which "/n"
// is refused wherever it stands.
int ProcessSwitch(CommandLineOptions& options, const std::wstring& piece, bool quietLine = false);

}  // namespace norvane

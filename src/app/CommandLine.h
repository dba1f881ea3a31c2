// The command line: the run mode, and for the silent run what to remove, whether to remove
// utilities, whether to stay quiet and where to write the log.
#pragma once

#include <string>

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
    CmyStringArray m_arrDesignated;
    CmyStringArray m_arrScannerName;
    CmyStringArray m_arrRejected;
    std::wstring m_strLogFolder;
    std::wstring m_strLangArg;
};

// The text after the program name of a full command line (GetCommandLineW), as a program's
// WinMain receives it: the name, quoted or not, and the blanks after it are skipped.
std::wstring TextAfterProgramName(const std::wstring& fullCommandLine);

// Reads the switches of a silent run into the run-wide state (rejected ones into m_arrRejected)
// and acts on none of them; an empty line, one with only "/l" and the restart marker hold none.
void ReadSwitches(CUninstallerController& app, const std::wstring& commandLine);
// Start-up step, after ReadSwitches: the restart continuation, or the log and the verdict on the
// switches. False when start-up must end (a rejected switch with "/s").
bool SelectMode(CUninstallerController& app, const std::wstring& commandLine);
// 1 when every switch was accepted; rejected ones are collected in m_arrRejected.
int ParseCommandLine(CUninstallerController& app, const std::wstring& text);
// 1 when the switch was accepted. `quietLine`: the command line holds "/s", without which "/n"
// is refused wherever it stands.
int ProcessSwitch(CUninstallerController& app, const std::wstring& piece, bool quietLine = false);

}  // namespace norvane

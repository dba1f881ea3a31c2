// Work that Windows will not let go of until it restarts: the monitors and drivers the spooler
// still holds are recorded in the registry, the program runs once more after the next start with
// "-Restarted", finishes them and cleans its entries away. And the end of every run, which offers
// or performs the restart.
#pragma once

#include <string>

namespace norvane {

class CUninstallerController;

inline constexpr wchar_t kTemporaryKeyMarker[] = L"This key is marked as temporary";
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRestartedMarker[] = L"-Restarted";

// A monitor the spooler refused: deleted, with its file, after the restart.
void PutOffMonitor(CUninstallerController& app, const std::wstring& file, const std::wstring& name);
// A print processor that a printer pending deletion still uses: deleted, with its file and its
// 32-bit twin, after the restart.
void PutOffPrintProcessor(CUninstallerController& app, const std::wstring& file,
                          const std::wstring& name);
// The drivers listed in m_szDeleteAfterRestart: deleted after the restart.
void PutOffDrivers(CUninstallerController& app);
// The run with "-Restarted": finishes the put-off work and cleans the registry.
void ContinueAfterRestart(CUninstallerController& app);
// Ends the program's work: records "-1" for a pending restart and offers (or, quietly, skips)
// the restart.
void EndOfRun(CUninstallerController& app);
// 1 when one of Windows' pending file operations (PendingFileRenameOperations) names a file of
// that name (name and extension, letter case ignored), else 0.
int IsFilePending(CUninstallerController& app, const std::wstring& fileName);

}  // namespace norvane

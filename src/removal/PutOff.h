// Work Windows will not let go of until it restarts: the monitors, print processors and drivers
// the spooler still holds are recorded under the program's registry key, and the program is
// registered to run once more after the next start with "-Restarted" to finish them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "inventory/Package.h"
#include "log/Results.h"
#include "platform/Platform.h"

namespace norvane {

inline constexpr wchar_t kTemporaryKeyMarker[] = L"This key is marked as temporary";
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRunOnceValue[] = L"norvane";
inline constexpr wchar_t kRestartedMarker[] = L"-Restarted";

// The value under the maker key that holds a removal's work list while it is under way.
inline constexpr wchar_t kWorkListValue[] = L"NorvaneWorkList";

// The lists kept under the program key, one value each.
enum class PutOff { Monitors, PrintProcessors, Drivers };

// Makes a key under HKEY_LOCAL_MACHINE when it is missing, marked as this program's. False when
// there is no such key after all.
bool MakeKey(platform::Registry& registry, const std::wstring& key);
// Makes the maker key and the program key so; false when the package names no program key.
bool MakeProgramKey(platform::Platform& platform, const Package& package);
// Registers the program to run once more with "-Restarted" after the next start of Windows.
void RegisterRunOnce(platform::Platform& platform);
// Whether any list of work put off until the restart is recorded.
bool AnyPutOff(platform::Platform& platform, const Package& package);

// A monitor the spooler refused: deleted, with its file, after the restart.
void PutOffMonitor(platform::Platform& platform, const Package& package, RunResults& results,
                   const std::wstring& file, const std::wstring& name);
// A print processor that a printer pending deletion still uses: deleted, with its file and its
// 32-bit twin, after the restart.
void PutOffPrintProcessor(platform::Platform& platform, const Package& package, RunResults& results,
                          const std::wstring& file, const std::wstring& name);
// The drivers listed in m_szDeleteAfterRestart: deleted after the restart.
void PutOffDrivers(platform::Platform& platform, const Package& package, RunResults& results);

// The list of a kind as recorded; false when there is none.
bool ReadPutOff(platform::Platform& platform, const Package& package, PutOff kind,
                std::wstring& list);
// A monitor or print processor list's entries "name-path;" as (name, path).
std::vector<std::pair<std::wstring, std::wstring>> PutOffEntries(const std::wstring& list);
// Removes the records once the continuation is done: a key this program made goes whole; a key
// it found, or one that still holds a work list, keeps everything but the put-off lists. A key
// that holds nothing at all counts as one the program made.
void ForgetPutOff(platform::Platform& platform, const Package& package);

}  // namespace norvane

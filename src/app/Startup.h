// The checks that run before any work: language library, single instance, the log folder and
// file, administrator rights and the [Common] section of config.ini. Each returns false when the
// program must end; each reports its own failure.
#pragma once

#include <cstdint>
#include <string>

namespace norvane {

class CUninstallerController;

// The start-up steps that can end the program before its switches are acted on.
enum class EarlyEnd {
    None,
    CommonControls,  // InitCommonControlsEx failed
    Language,        // no language library could be loaded
    OtherInstance,   // another instance runs
};

// How far start-up came, which the exit code of "/e" tells.
struct StartupOutcome {
    int m_bStartedUp = 0;
    EarlyEnd m_earlyEnd = EarlyEnd::None;
    int m_bNotAdministrator = 0;
};

// The executable's path in lower case, cut after its last backslash.
std::wstring ModuleFolder(const std::wstring& modulePath);
// The folder of a language's library and help file beside the program: CHT, JPN, KOR, CHS, or
// ENU for every other language.
std::wstring LanguageFolder(std::uint32_t langId);
// The common controls the dialogs need; their failure is logged with code 1, never shown.
bool InitControls(CUninstallerController& app);
// The language library chosen by "/l" or the thread locale, with the fallbacks to ENU and to
// the program folder.
bool LoadResourceLibrary(CUninstallerController& app, const std::wstring& commandLine);
// Gives way to a first instance, activating its window. The log is left alone: at its path it
// may be the first instance's, which making it anew would empty.
bool CheckSingleInstance(CUninstallerController& app);
// Creates every level of a folder and a "testnorv" subfolder in it; true when the folder is
// usable for the log.
bool PrepareFolder(CUninstallerController& app, const std::wstring& folder);
// Chooses the log folder, builds the log path and writes the log header.
void CreateLog(CUninstallerController& app);
bool CheckAdministrator(CUninstallerController& app);
bool ReadCommonConfig(CUninstallerController& app);
// The three [Common] values (provider, maker key, program key), whatever the file's state.
void ReadCommonValues(CUninstallerController& app);

}  // namespace norvane

#include "app/Restart.h"

#include "app/Controller.h"
#include "app/Startup.h"
#include "log/LogFile.h"
#include "removal/Cleanup.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;
using platform::RootKey;

constexpr std::uint32_t kValueBuffer = 4096;  // bytes
constexpr std::size_t kTextBuffer = 4096;     // characters
constexpr std::size_t kMonitorEntryBuffer = 2048;
constexpr wchar_t kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

enum class PutOff { Monitors, PrintProcessors, Drivers };

const wchar_t* ValueName(PutOff kind) {
    switch (kind) {
        case PutOff::Monitors:
            return L"Norvane";
        case PutOff::PrintProcessors:
            return L"PrintProcessor";
        default:
            return L"DriversToBeDeleted";
    }
}

std::wstring DefaultValue(CUninstallerController& app, const std::wstring& key) {
    platform::RegValue value;
    if (app.P().registry.QueryValue(RootKey::LocalMachine, key, L"", kValueBuffer, value))
        return L"";
    return value.AsString();
}

bool ReadValue(CUninstallerController& app, PutOff kind, std::wstring& text) {
    platform::RegValue value;
    if (app.m_strOemRegNorvanePath.empty() ||
        app.P().registry.QueryValue(RootKey::LocalMachine, app.m_strOemRegNorvanePath,
                                    ValueName(kind), kValueBuffer, value) != win::kSuccess)
        return false;
    text = value.AsString();
    return true;
}

// Makes the maker key and the program key when they are missing, marked as this program's, and
// appends the text to the kind's value.
void StoreValue(CUninstallerController& app, PutOff kind, const std::wstring& textValue) {
    platform::Registry& registry = app.P().registry;
    for (const std::wstring* key : {&app.m_strOemRegPath, &app.m_strOemRegNorvanePath}) {
        if (key->empty() ||
            registry.OpenKey(RootKey::LocalMachine, *key, platform::RegAccess::AllAccess) == 0)
            continue;
        bool created = false;
        // Only a key this program made carries the marker: a key that exists but would not
        // open is not the program's to delete later.
        if (registry.CreateKey(RootKey::LocalMachine, *key, &created) == 0 && created) {
            registry.SetValue(RootKey::LocalMachine, *key, L"",
                              platform::RegValue::String(kTemporaryKeyMarker));
        }
    }
    if (app.m_strOemRegNorvanePath.empty())
        return;
    std::wstring combined;
    ReadValue(app, kind, combined);
    combined = text::Bounded(combined + textValue, kTextBuffer);
    registry.SetValue(RootKey::LocalMachine, app.m_strOemRegNorvanePath, ValueName(kind),
                      platform::RegValue::String(combined));
}

void RegisterContinuation(CUninstallerController& app) {
    platform::Registry& registry = app.P().registry;
    // The path is quoted: unquoted, a path with spaces could start C:\Program.exe instead.
    const std::wstring command = L"\"" +
                                 text::Bounded(app.P().system.ModuleFileName(), path::kMaxPath) +
                                 L"\" " + kRestartedMarker;
    if (registry.CreateKey(RootKey::LocalMachine, kRunOnceKey, nullptr) == win::kSuccess) {
        registry.SetValue(RootKey::LocalMachine, kRunOnceKey, L"norvane",
                          platform::RegValue::String(command));
    }
    app.m_bRestartNeeded = 1;
}

// Entries "name-path;": the path is what follows the last "-" that starts an absolute path, so
// that a name may hold "-" itself.
void DeletePutOff(CUninstallerController& app, PutOff kind, const std::wstring& list) {
    for (const auto& entry : text::Split(list, L';')) {
        std::size_t dash = std::wstring::npos;
        for (std::size_t at = entry.find(L'-'); at != std::wstring::npos;
             at = entry.find(L'-', at + 1)) {
            const std::wstring rest = entry.substr(at + 1);
            if ((rest.size() > 2 && rest[1] == L':') || rest.starts_with(L"\\\\"))
                dash = at;
        }
        if (dash == std::wstring::npos)
            continue;
        const std::wstring name = entry.substr(0, dash), file = entry.substr(dash + 1);
        if (kind == PutOff::Monitors) {
            app.P().spooler.DeleteMonitor(name);
        } else {
            app.P().spooler.DeletePrintProcessor(L"", name);
        }
        DeleteFileByRule(app.P().files, file);
    }
}

void DeleteSubkeys(platform::Registry& registry, const std::wstring& key) {
    std::wstring name;
    while (registry.EnumKey(RootKey::LocalMachine, key, 0, name) == win::kSuccess) {
        const std::wstring child = key + L"\\" + name;
        if (registry.DeleteKey(RootKey::LocalMachine, child) == win::kSuccess)
            continue;
        DeleteSubkeys(registry, child);
        if (registry.DeleteKey(RootKey::LocalMachine, child) != win::kSuccess)
            return;  // it will not go: leave the rest rather than loop
    }
}

// Removes what the continuation kept: a key this program made goes whole; a key it found keeps
// everything but the program's values. The configured keys themselves are deleted, never a
// fixed name, so a key the program did not make is never touched.
void CleanRegistry(CUninstallerController& app) {
    platform::Registry& registry = app.P().registry;
    const std::wstring& maker = app.m_strOemRegPath;
    const std::wstring& program = app.m_strOemRegNorvanePath;
    if (maker.empty() ||
        registry.OpenKey(RootKey::LocalMachine, maker, platform::RegAccess::AllAccess))
        return;
    if (text::EqualsNoCase(DefaultValue(app, maker), kTemporaryKeyMarker)) {
        DeleteSubkeys(registry, maker);
        registry.DeleteKey(RootKey::LocalMachine, maker);
    } else if (!program.empty() &&
               text::EqualsNoCase(DefaultValue(app, program), kTemporaryKeyMarker)) {
        DeleteSubkeys(registry, program);
        registry.DeleteKey(RootKey::LocalMachine, program);
    } else if (!program.empty()) {
        registry.DeleteValue(RootKey::LocalMachine, program, L"Norvane");
        registry.DeleteValue(RootKey::LocalMachine, program, L"DriversToBeDeleted");
    }
}

void RestartWindows(CUninstallerController& app) {
    app.P().security.EnableShutdownPrivilege();
    app.m_bRestartStarted = app.P().security.Restart() == platform::win::kSuccess;
}

void AskForRestart(CUninstallerController& app) {
    if (app.P().ui.MessageBox(app.LoadText(150), app.LoadText(148), platform::kMbYesNo) ==
        platform::kIdYes) {
        RestartWindows(app);
    } else {
        app.PostQuit();
    }
}

}  // namespace

void PutOffMonitor(CUninstallerController& app, const std::wstring& file,
                   const std::wstring& name) {
    StoreValue(app, PutOff::Monitors,
               text::Bounded(name + L"-" + file + L";", kMonitorEntryBuffer));
    RegisterContinuation(app);
}

void PutOffDrivers(CUninstallerController& app) {
    StoreValue(app, PutOff::Drivers, app.m_szDeleteAfterRestart);
    RegisterContinuation(app);
}

void ContinueAfterRestart(CUninstallerController& app) {
    ReadCommonValues(app);
    std::wstring list;
    bool any = false;
    if (ReadValue(app, PutOff::Monitors, list)) {
        any = true;
        DeletePutOff(app, PutOff::Monitors, list);
    }
    if (ReadValue(app, PutOff::PrintProcessors, list)) {
        any = true;
        DeletePutOff(app, PutOff::PrintProcessors, list);
    }
    if (ReadValue(app, PutOff::Drivers, list)) {
        any = true;
        app.m_bSilent = 1;
        for (const auto& piece : text::Split(list, L',')) {
            const std::wstring name = text::Trim(piece);
            if (!name.empty())
                app.m_arrDesignated.push_back(name);
        }
        app.m_bDriversGiven = 1;
        app.m_bQuiet = 1;
        app.Run();
    }
    if (any)
        CleanRegistry(app);
}

void EndOfRun(CUninstallerController& app) {
    if (app.m_bRestartNeeded) {
        if (app.m_bWriteLog) {
            LogSection results{L"UninstResult", {}};
            for (const auto& name : app.m_arrDesignated)
                results.entries.push_back({name, L"-1"});
            WriteLogSections(app.P(), {results}, app.m_szLogFile);
        }
        if (app.m_bQuiet) {
            app.PostQuit();
        } else {
            AskForRestart(app);
        }
    } else if (!app.m_bUtilityNeedsRestart || app.m_bQuiet) {
        app.PostQuit();
    } else {
        AskForRestart(app);
    }
}

int IsFilePending(CUninstallerController& app, const std::wstring& fileName) {
    if (fileName.empty())
        return 0;
    platform::RegValue value;
    if (app.P().registry.QueryValueOfAnySize(RootKey::LocalMachine, kSessionManagerKey,
                                             L"PendingFileRenameOperations",
                                             value) != win::kSuccess)
        return 0;
    // Sources and targets alternate, and a deletion's target is an empty string: every string of
    // the value is looked at, not only those before the first empty one.
    const std::wstring strings = text::FromUtf16Le(value.data.data(), value.data.size());
    for (const auto& path : text::Split(strings, L'\0')) {
        const std::wstring name = path.substr(path.find_last_of(L"\\/:") + 1);
        if (!name.empty() && text::EqualsNoCase(name, fileName))
            return 1;
    }
    return 0;
}

}  // namespace norvane

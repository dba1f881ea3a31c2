#include "app/Restart.h"

#include "app/Controller.h"
#include "app/Startup.h"
#include "removal/Cleanup.h"
#include "removal/LeftoverPaths.h"
#include "removal/Ownership.h"
#include "removal/WhatStays.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;
using platform::RootKey;

constexpr std::uint32_t kValueBuffer = 4096;  // bytes
constexpr std::size_t kTextBuffer = 4096;     // characters
constexpr std::size_t kMonitorEntryBuffer = 2048;
constexpr wchar_t kPrintProcessorsKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\";
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

wchar_t Separator(PutOff kind) {
    return kind == PutOff::Drivers ? L',' : L';';
}

// Read at the size the value has: the lists are written in characters, up to kTextBuffer of
// them, which is twice what a buffer of kValueBuffer bytes holds.
bool ReadValue(CUninstallerController& app, PutOff kind, std::wstring& text) {
    platform::RegValue value;
    if (app.m_strOemRegNorvanePath.empty() ||
        app.P().registry.QueryValueOfAnySize(RootKey::LocalMachine, app.m_strOemRegNorvanePath,
                                             ValueName(kind), value) != win::kSuccess)
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
    if (!combined.empty() && combined.back() != Separator(kind))
        combined.push_back(Separator(kind));
    combined = text::BoundedList(combined + textValue, Separator(kind), kTextBuffer);
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
std::vector<std::pair<std::wstring, std::wstring>> PutOffEntries(const std::wstring& list) {
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (const auto& entry : text::Split(list, L';')) {
        std::size_t dash = std::wstring::npos;
        for (std::size_t at = entry.find(L'-'); at != std::wstring::npos;
             at = entry.find(L'-', at + 1)) {
            const std::wstring rest = entry.substr(at + 1);
            if ((rest.size() > 2 && rest[1] == L':') || rest.starts_with(L"\\\\"))
                dash = at;
        }
        if (dash != std::wstring::npos)
            entries.emplace_back(entry.substr(0, dash), entry.substr(dash + 1));
    }
    return entries;
}

// The file the machine registers for a put-off monitor or print processor: the stored value is
// believed only where the registration still says the same, since anyone may write the maker key.
std::wstring RegisteredFile(CUninstallerController& app, PutOff kind, const Places& places,
                            const std::wstring& name) {
    if (kind == PutOff::Monitors)
        return MonitorFilePath(app.P(), places.windowsDir, name);
    platform::RegValue value;
    if (app.P().registry.QueryValue(RootKey::LocalMachine, std::wstring(kPrintProcessorsKey) + name,
                                    L"Driver", kValueBuffer, value) != win::kSuccess)
        return L"";
    return path::FileInside(places.windowsDir + L"\\system32\\spool\\prtprocs\\x64",
                            value.AsString(), kValueBuffer);
}

// Deletes what was put off, each entry by the rule every deletion follows; what the rule refuses,
// or the spooler still will not let go, stays and is logged under its name.
void DeletePutOff(CUninstallerController& app, PutOff kind,
                  const std::vector<std::pair<std::wstring, std::wstring>>& entries,
                  const Places& places, const Ownership& ownership) {
    for (const auto& [name, file] : entries) {
        const std::wstring registered = RegisteredFile(app, kind, places, name);
        const bool mayGo =
            !registered.empty() && path::ComparablePath(registered) == path::ComparablePath(file) &&
            (kind == PutOff::Monitors ? ownership.ForMonitor(name, file)
                                      : ownership.ForPrintProcessor(name, file)) == Refusal::None;
        const platform::WinError deleted = !mayGo ? win::kAccessDenied
                                           : kind == PutOff::Monitors
                                               ? app.P().spooler.DeleteMonitor(name)
                                               : app.P().spooler.DeletePrintProcessor(L"", name);
        if (deleted == win::kSuccess && kind == PutOff::PrintProcessors)
            RemoveX86PrintProcessor(app.P(), ownership, places.windowsDir, name);
        if (deleted == win::kSuccess && DeleteFileByRule(app.P().files, file))
            continue;
        // The run after a restart has no log of its own until it has something to say.
        if (app.log.Path().empty())
            CreateLog(app);
        app.WriteLog(name.c_str(), L"F1", file.c_str());
    }
}

// The rule for what the continuation deletes: everything but the drivers, monitors and print
// processors that were put off stays.
Ownership ContinuationRule(CUninstallerController& app, const Places& places,
                           const std::vector<std::pair<std::wstring, std::wstring>>& monitors,
                           const std::vector<std::pair<std::wstring, std::wstring>>& processors,
                           const std::wstring& drivers) {
    Removing removing;
    for (const auto& [name, file] : monitors)
        removing.monitors.insert(Removing::Key(name));
    for (const auto& [name, file] : processors)
        removing.printProcessors.insert(Removing::Key(name));
    for (const auto& piece : text::Split(drivers, L','))
        removing.drivers.insert(Removing::Key(text::Trim(piece)));
    return Ownership(WhatStays(app.P(), places, removing));
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
        for (const PutOff kind : {PutOff::Monitors, PutOff::PrintProcessors, PutOff::Drivers})
            registry.DeleteValue(RootKey::LocalMachine, program, ValueName(kind));
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
               text::BoundedList(name + L"-" + file + L";", L';', kMonitorEntryBuffer));
    RegisterContinuation(app);
}

void PutOffPrintProcessor(CUninstallerController& app, const std::wstring& file,
                          const std::wstring& name) {
    StoreValue(app, PutOff::PrintProcessors,
               text::BoundedList(name + L"-" + file + L";", L';', kMonitorEntryBuffer));
    RegisterContinuation(app);
}

void PutOffDrivers(CUninstallerController& app) {
    StoreValue(app, PutOff::Drivers, app.m_szDeleteAfterRestart);
    RegisterContinuation(app);
}

void ContinueAfterRestart(CUninstallerController& app) {
    ReadCommonValues(app);
    std::wstring monitorList, processorList, driverList;
    const bool monitors = ReadValue(app, PutOff::Monitors, monitorList);
    const bool processors = ReadValue(app, PutOff::PrintProcessors, processorList);
    const bool drivers = ReadValue(app, PutOff::Drivers, driverList);
    if (monitors || processors) {
        const Places places = Places::Of(app.P(), app.Config());
        const auto monitorEntries = PutOffEntries(monitorList);
        const auto processorEntries = PutOffEntries(processorList);
        const Ownership ownership =
            ContinuationRule(app, places, monitorEntries, processorEntries, driverList);
        DeletePutOff(app, PutOff::Monitors, monitorEntries, places, ownership);
        DeletePutOff(app, PutOff::PrintProcessors, processorEntries, places, ownership);
    }
    if (drivers) {
        app.m_bSilent = 1;
        for (const auto& piece : text::Split(driverList, L',')) {
            const std::wstring name = text::Trim(piece);
            if (!name.empty())
                app.m_arrDesignated.push_back(name);
        }
        app.m_bDriversGiven = 1;
        app.m_bQuiet = 1;
        app.Run();
    }
    if (monitors || processors || drivers)
        CleanRegistry(app);
}

void EndOfRun(CUninstallerController& app) {
    if (app.m_bRestartNeeded) {
        if (app.m_bWriteLog) {
            LogSection results{L"UninstResult", {}};
            for (const auto& name : app.m_arrDesignated)
                results.entries.push_back({name, L"-1"});
            app.WriteLogSections({results});
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

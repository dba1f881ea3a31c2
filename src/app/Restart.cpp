#include "app/Restart.h"

#include <utility>

#include "app/Controller.h"
#include "app/Startup.h"
#include "removal/Cleanup.h"
#include "removal/LeftoverPaths.h"
#include "removal/Ownership.h"
#include "removal/PutOff.h"
#include "removal/Resume.h"
#include "removal/WhatStays.h"
#include "removal/WorkList.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;
using platform::RootKey;

constexpr std::uint32_t kValueBuffer = 4096;  // bytes
constexpr wchar_t kPrintProcessorsKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\";

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

void RestartWindows(CUninstallerController& app) {
    (void)app.P().security.EnableShutdownPrivilege();
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

void ContinueAfterRestart(CUninstallerController& app) {
    ReadCommonValues(app);
    // The put-off work first: finishing the work list may put off more, which must outlive the
    // cleaning of the put-off records below.
    const bool resumeChecked = std::exchange(app.m_bResumeChecked, true);
    std::wstring monitorList, processorList, driverList;
    const bool monitors = ReadPutOff(app.P(), app, PutOff::Monitors, monitorList);
    const bool processors = ReadPutOff(app.P(), app, PutOff::PrintProcessors, processorList);
    const bool drivers = ReadPutOff(app.P(), app, PutOff::Drivers, driverList);
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
        ForgetPutOff(app.P(), app);
    app.m_bResumeChecked = resumeChecked;
    // The run after a restart has no log of its own until it has something to say.
    if (app.log.Path().empty() && ReadWorkList(app.P(), app))
        CreateLog(app);
    FinishInterruptedRemoval(app, true);
}

void FinishInterruptedRemoval(CUninstallerController& app, bool restarted) {
    if (std::exchange(app.m_bResumeChecked, true))
        return;
    if (!ReadWorkList(app.P(), app)) {
        ForgetRecords(app.P(), app, restarted);
        return;
    }
    ResumeInterruptedRemoval(app, app, app.m_driverPackages, app,
                             app.m_strLogFolder.empty() ? app.g_szModuleDir : app.m_strLogFolder);
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

}  // namespace norvane

#include "extras/UtilityRemoval.h"

#include "app/Controller.h"
#include "app/Report.h"
#include "extras/ExternalProgram.h"
#include "extras/UninstallEntry.h"
#include "inventory/PendingRenames.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

std::wstring IssFolder(const CUninstallerController& app) {
    return app.g_szModuleDir + L"ISS\\";
}

// Where the uninstallers report, beside their response files.
std::wstring SetupLog(const CUninstallerController& app) {
    return IssFolder(app) + L"setup.log";
}

// Where the lines of the run go: the silent run's summary, or the progress dialog while it shows.
ProgressSink* Sink(CUninstallerController& app) {
    return app.m_bSilent ? &app.m_szSilentText : app.m_pProgressView;
}

// The result code of one utility and the line that replaces its in-progress line.
std::wstring RunOne(CUninstallerController& app, std::size_t index) {
    CUtilityData& record = *app.m_arrUtility[index];
    const std::wstring& name = app.m_arrUtilityName[index];
    const std::wstring progressLine = text::Bounded(name + app.LoadText(139), kLineBuffer);
    if (ProgressSink* sink = Sink(app))
        sink->Started(progressLine);
    std::wstring code = L"1";
    std::wstring resultLine = name + L":" + app.LoadText(140);
    if (!RunUninstaller(app, record, app.m_arrUtilityRemoveId[index])) {
        record.m_bResultOK = 0;
    } else if (record.m_bResultOK) {
        // Removed; a file the uninstaller could only schedule for replacement means the removal
        // ends with the next restart.
        code = L"0";
        if (IsFilePending(app.P(), app.m_arrRebootCheckFile[index])) {
            app.m_bUtilityNeedsRestart = 1;
            code = L"-1";
        }
        resultLine = name + app.LoadText(143);
    }
    if (ProgressSink* sink = Sink(app))
        sink->Line(text::Bounded(resultLine, kLineBuffer), progressLine);
    return code;
}

}  // namespace

std::wstring QuoteProgramPath(platform::FileSystem& files, const std::wstring& command) {
    if (command.starts_with(L'"'))
        return command;
    const std::wstring lower = text::LowerAscii(command);
    for (std::size_t at = lower.find(L".exe"); at != std::wstring::npos;
         at = lower.find(L".exe", at + 1)) {
        const std::wstring program = command.substr(0, at + 4);
        if (files.PathFileExists(program) && !files.PathIsDirectory(program))
            return L"\"" + program + L"\"" + command.substr(at + 4);
    }
    return command;
}

CUtilityData LookUpUninstallString(CUninstallerController& app, const std::wstring& guid) {
    CUtilityData record;
    record.m_pszGUID = guid;
    record.m_pszUninstallString =
        ReadUninstallValue(app.P().registry, guid, L"UninstallString").value_or(L"");
    return record;
}

void ReadUninstallResult(CUninstallerController& app, CUtilityData& record) {
    const std::wstring log = SetupLog(app);
    record.m_bResultOK = ReadResultCode(app, log) == 0 ? 1 : 0;
    // Left behind, it would only have to be cleared before the next uninstaller.
    app.P().files.DeleteFile(log);
}

bool RunUninstaller(CUninstallerController& app, CUtilityData& record, const std::wstring& id) {
    if (record.m_pszUninstallString.empty())
        return false;
    const std::wstring response = IssFolder(app) + id + L".iss";
    platform::FileSystem& files = app.P().files;
    // A path too long for Windows' buffer would be cut to another file's name.
    if (response.size() >= path::kMaxPath || !files.PathFileExists(response) ||
        files.PathIsDirectory(response))
        return false;
    const std::wstring command =
        QuoteProgramPath(files, record.m_pszUninstallString) + L" /s -f1\"" + response + L"\"";
    // A log already there (recording the response files leaves one beside them) is not this
    // uninstaller's result: one that writes none must fail, not inherit it.
    if (!ClearResultFile(app.P(), SetupLog(app)) || !RunAndWait(app.P(), command, Handover::Follow))
        return false;
    ReadUninstallResult(app, record);
    return true;
}

void RunUtilityUninstallers(CUninstallerController& app) {
    app.m_bUtilityNeedsRestart = 0;
    if (ProgressSink* sink = Sink(app)) {
        sink->Bar(0, 4);
        sink->ClearLines();
    }
    app.m_nUtilitiesToDelete = static_cast<int>(app.m_arrUtility.size());
    for (std::size_t index = 0; index < app.m_arrUtility.size(); ++index) {
        const std::wstring code = app.m_arrUtility[index]->m_bSelected ? RunOne(app, index) : L"";
        if (ProgressSink* sink = Sink(app))
            sink->Bar(static_cast<int>(index + 1), 3);
        app.m_mapUtilityResult[app.m_arrUtilityRemoveId[index]] = code;
    }
    if (app.m_bSilent)
        ReportResult(app, app.m_szSilentText.Text(), ReportKind::Done, 0);
}

bool RemoveUtilities(CUninstallerController& app) {
    ReadRebootCheckFiles(app);
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const UtilityEntry& entry = app.m_utilityEntries[slot];
        // A slot config.ini's list does not reach is no utility of the package, whatever its
        // [Default.U<n>] section says.
        if (entry.nInUse || entry.strID.empty())
            continue;
        auto record = std::make_unique<CUtilityData>(LookUpUninstallString(app, entry.strGUID));
        if (record->m_pszUninstallString.empty())
            continue;  // not installed: neither removed nor reported
        record->m_bInstalled = 1;
        record->m_bSelected = 1;
        app.m_arrUtility.push_back(std::move(record));
        app.m_arrUtilityName.push_back(app.m_utilityDisplayNames[slot]);
        app.m_arrUtilityRemoveId.push_back(entry.strID);
        app.m_arrRebootCheckFile.push_back(entry.strRebootCheckFile);
    }
    RunUtilityUninstallers(app);
    app.m_arrUtility.clear();
    return true;
}

}  // namespace norvane

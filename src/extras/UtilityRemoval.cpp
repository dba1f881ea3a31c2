#include "extras/UtilityRemoval.h"

#include "extras/ExternalProgram.h"
#include "extras/UninstallEntry.h"
#include "extras/UtilityTable.h"
#include "inventory/PendingRenames.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

std::wstring IssFolder(const Package& package) {
    return package.g_szModuleDir + L"ISS\\";
}

// Where the uninstallers report, beside their response files.
std::wstring SetupLog(const Package& package) {
    return IssFolder(package) + L"setup.log";
}

// The result code of one utility and the line that replaces its in-progress line.
std::wstring RunOne(UtilityRun& run, std::size_t index) {
    ExtrasState& extras = run.extras;
    CUtilityData& record = *extras.m_arrUtility[index];
    const std::wstring& name = extras.m_arrUtilityName[index];
    const std::wstring progressLine = text::Bounded(name + run.context.LoadText(139), kLineBuffer);
    run.progress.Started(progressLine);
    std::wstring code = L"1";
    std::wstring resultLine = name + L":" + run.context.LoadText(140);
    if (!RunUninstaller(run.context, run.package, record, extras.m_arrUtilityRemoveId[index])) {
        record.m_bResultOK = 0;
    } else if (record.m_bResultOK) {
        // Removed; a file the uninstaller could only schedule for replacement means the removal
        // ends with the next restart.
        code = L"0";
        if (IsFilePending(run.context.P(), extras.m_arrRebootCheckFile[index])) {
            run.results.m_bUtilityNeedsRestart = 1;
            code = L"-1";
        }
        resultLine = name + run.context.LoadText(143);
    }
    run.progress.Line(text::Bounded(resultLine, kLineBuffer), progressLine);
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

CUtilityData LookUpUninstallString(RunContext& context, const std::wstring& guid) {
    CUtilityData record;
    record.m_pszGUID = guid;
    record.m_pszUninstallString =
        ReadUninstallValue(context.P().registry, guid, L"UninstallString").value_or(L"");
    return record;
}

void ReadUninstallResult(RunContext& context, const Package& package, CUtilityData& record) {
    const std::wstring log = SetupLog(package);
    record.m_bResultOK = ReadResultCode(context, log) == 0 ? 1 : 0;
    // Left behind, it would only have to be cleared before the next uninstaller.
    (void)context.P().files.DeleteFile(log);
}

bool RunUninstaller(RunContext& context, const Package& package, CUtilityData& record,
                    const std::wstring& id) {
    if (record.m_pszUninstallString.empty())
        return false;
    const std::wstring response = IssFolder(package) + id + L".iss";
    platform::FileSystem& files = context.P().files;
    // A path too long for Windows' buffer would be cut to another file's name.
    if (response.size() >= path::kMaxPath || !files.PathFileExists(response) ||
        files.PathIsDirectory(response))
        return false;
    const std::wstring command =
        QuoteProgramPath(files, record.m_pszUninstallString) + L" /s -f1\"" + response + L"\"";
    // A log already there (recording the response files leaves one beside them) is not this
    // uninstaller's result: one that writes none must fail, not inherit it.
    if (!ClearResultFile(context.P(), SetupLog(package)) ||
        !RunAndWait(context.P(), command, Handover::Follow))
        return false;
    ReadUninstallResult(context, package, record);
    return true;
}

void RunUtilityUninstallers(UtilityRun& run) {
    ExtrasState& extras = run.extras;
    run.results.m_bUtilityNeedsRestart = 0;
    run.progress.Bar(0, 4);
    run.progress.ClearLines();
    extras.m_nUtilitiesToDelete = static_cast<int>(extras.m_arrUtility.size());
    for (std::size_t index = 0; index < extras.m_arrUtility.size(); ++index) {
        const std::wstring code =
            extras.m_arrUtility[index]->m_bSelected ? RunOne(run, index) : L"";
        run.progress.Bar(static_cast<int>(index + 1), 3);
        run.results.m_mapUtilityResult[extras.m_arrUtilityRemoveId[index]] = code;
    }
}

bool RemoveUtilities(UtilityRun& run) {
    ExtrasState& extras = run.extras;
    ReadRebootCheckFiles(run.package.Config(), extras.m_utilityEntries);
    for (std::size_t slot = 0; slot < kUtilitySlots; ++slot) {
        const UtilityEntry& entry = extras.m_utilityEntries[slot];
        // A slot config.ini's list does not reach is no utility of the package, whatever its
        // [Default.U<n>] section says.
        if (entry.nInUse || entry.strID.empty())
            continue;
        auto record =
            std::make_unique<CUtilityData>(LookUpUninstallString(run.context, entry.strGUID));
        if (record->m_pszUninstallString.empty())
            continue;  // not installed: neither removed nor reported
        record->m_bInstalled = 1;
        record->m_bSelected = 1;
        extras.m_arrUtility.push_back(std::move(record));
        extras.m_arrUtilityName.push_back(extras.m_utilityDisplayNames[slot]);
        extras.m_arrUtilityRemoveId.push_back(entry.strID);
        extras.m_arrRebootCheckFile.push_back(entry.strRebootCheckFile);
    }
    RunUtilityUninstallers(run);
    extras.m_arrUtility.clear();
    return true;
}

}  // namespace norvane

// The one rule every deletion of the removal asks: a file, folder, monitor or print processor goes
// only when it is shown to be the package's own. Paths are compared as Windows resolves them, so
// that no spelling of driver data ("3.", "CON", "..", "a:b") reaches past the rule.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace norvane {

class PackageInstalls;

// What the machine holds that the removal must leave, as gathered once per run.
struct KeptThings {
    std::wstring windowsDir;   // GetWindowsDirectoryW
    std::wstring commonData;   // the common application-data folder; empty when unknown
    std::wstring makerFolder;  // commonData + OEMFOLDERNAME when that is plain names, else empty
    // Files that a driver, monitor or print processor that stays names, as the machine names them.
    std::vector<std::wstring> files;
    // Folders that a driver that stays names: its data folders and its spool subfolder.
    std::vector<std::wstring> folders;
    // Monitors and print processors that stay.
    std::vector<std::wstring> monitors, printProcessors;
};

enum class Refusal {
    None,
    NotAsWritten,  // Windows would take the path for another one: not plain names on a drive
    Protected,     // Windows' own place, the maker's folder, or a folder holding one of them
    Kept,          // something that stays names it, or it holds what something that stays names
    ThroughLink,   // a junction or link on the way leads who knows where
    NotInstalled,  // a monitor or print processor that no maker's INF file installs
};

// The log's word for a refusal, written beside the path that stayed.
const wchar_t* RefusalText(Refusal refusal);

class Ownership {
public:
    // Without `installs` (the continuation after a restart, whose packages are gone), a monitor
    // or print processor is judged by what stays alone: it was put off only after a run that had
    // the INF files let it go. `installs` must outlive the rule.
    explicit Ownership(const KeptThings& kept, const PackageInstalls* installs = nullptr);

    Refusal ForFile(const std::wstring& path) const;
    // The folder and everything in it.
    Refusal ForFolder(const std::wstring& path) const;
    Refusal ForMonitor(const std::wstring& name, const std::wstring& file) const;
    Refusal ForPrintProcessor(const std::wstring& name, const std::wstring& file) const;

    // Windows' places that no removal takes, each with why, below the Windows folder, the common
    // application-data folder and the maker's folder of `kept`. Comparable paths.
    static std::vector<std::wstring> ProtectedPlaces(const KeptThings& kept);

private:
    // A monitor or print processor: installed by the maker's INF, not kept, and its file free.
    Refusal ForComponent(bool installed, const std::unordered_set<std::wstring>& kept,
                         const std::wstring& name, const std::wstring& file) const;
    // Whether a comparable path or a folder above it is a kept folder.
    bool InKeptFolder(const std::wstring& path) const;

    std::unordered_set<std::wstring> m_protected;       // each protected place
    std::unordered_set<std::wstring> m_aboveProtected;  // the folders above them
    std::unordered_set<std::wstring> m_keptFiles;
    std::unordered_set<std::wstring> m_keptFolders;
    std::unordered_set<std::wstring> m_aboveKept;  // folders that hold a kept file or folder
    std::unordered_set<std::wstring> m_keptMonitors, m_keptPrintProcessors;  // folded names
    const PackageInstalls* m_installs;
};

}  // namespace norvane

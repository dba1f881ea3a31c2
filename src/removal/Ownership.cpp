#include "removal/Ownership.h"

#include "removal/PackageInstalls.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

// Below the Windows folder: what Windows and its spooler keep there. A driver's data names one
// of these only by accident or malice, and each holds what other drivers or Windows need.
constexpr const wchar_t* kWindowsPlaces[] = {
    L"",                         // the Windows folder itself
    L"\\System32",               // Windows' own programs and libraries, every monitor's file
    L"\\SysWOW64",               // their 32-bit twins
    L"\\inf",                    // the driver packages Windows installed
    L"\\Temp",                   // installers at work
    L"\\System32\\DriverStore",  // every driver package's files
    L"\\System32\\DriverStore\\FileRepository",
    L"\\System32\\spool",  // the spooler's own tree
    L"\\System32\\spool\\drivers",
    L"\\System32\\spool\\drivers\\color",  // colour profiles of every printer
    L"\\System32\\spool\\PRINTERS",        // queued jobs
    L"\\System32\\spool\\SERVERS",
    L"\\System32\\spool\\prtprocs",  // every print processor
    L"\\System32\\spool\\prtprocs\\x64",
    L"\\System32\\spool\\prtprocs\\W32X86",
    L"\\System32\\spool\\prtprocs\\ARM64",
};

// Each environment's driver folder holds every driver of that environment: its version folders
// ("3" holds every version-3 driver's files) and the spooler's package cache.
constexpr const wchar_t* kDriverEnvironments[] = {L"x64", L"W32X86", L"ARM64", L"IA64"};
constexpr const wchar_t* kDriverFolders[] = {L"", L"\\0", L"\\1", L"\\2", L"\\3", L"\\4", L"\\PCC"};

// In the common application-data folder: Windows' own folders, which other programs share.
constexpr const wchar_t* kCommonDataPlaces[] = {
    L"",  // the folder itself: every program's data
    L"\\Microsoft",
    L"\\Packages",
    L"\\Package Cache",
    L"\\regid.1991-06.com.microsoft",
    L"\\SoftwareDistribution",
    L"\\ssh",
    L"\\USOPrivate",
    L"\\USOShared",
};

// The maker's folder holds every model's data and the maker's other programs' data: only a
// model's folder inside it goes, never the folder or its "Drv" folder.
constexpr const wchar_t* kMakerPlaces[] = {L"", L"\\Drv"};

// Monitors and print processors that Windows itself installs, whatever a driver says of them.
constexpr const wchar_t* kWindowsMonitors[] = {
    L"Local Port",
    L"Standard TCP/IP Port",
    L"USB Monitor",
    L"WSD Port",
    L"Microsoft Shared Fax Monitor",
    L"AppMon",
    L"PJL Language Monitor",
};
constexpr const wchar_t* kWindowsPrintProcessors[] = {L"winprint"};

// Where Windows takes a path that the machine holds, for comparison.
std::wstring Resolved(const std::wstring& path) {
    return path::ComparablePath(path::FullPathName(path));
}

// Every folder above a comparable path, up to its drive's root.
template <typename Add>
void ForEachFolderAbove(const std::wstring& path, Add add) {
    for (auto slash = path.find_last_of(L'\\'); slash != std::wstring::npos && slash >= 2;
         slash = path.find_last_of(L'\\', slash - 1)) {
        add(path.substr(0, slash == 2 ? 3 : slash));
        if (slash == 2)
            break;
    }
}

}  // namespace

const wchar_t* RefusalText(Refusal refusal) {
    switch (refusal) {
        case Refusal::NotAsWritten:
            return L"not a plain path";
        case Refusal::Protected:
            return L"protected";
        case Refusal::Kept:
            return L"in use by what stays";
        case Refusal::ThroughLink:
            return L"behind a link";
        case Refusal::NotInstalled:
            return L"not installed by the maker's INF file";
        default:
            return L"";
    }
}

std::vector<std::wstring> Ownership::ProtectedPlaces(const KeptThings& kept) {
    std::vector<std::wstring> places;
    auto add = [&](const std::wstring& base, const wchar_t* relative) {
        if (!base.empty())
            places.push_back(Resolved(base + relative));
    };
    for (const wchar_t* place : kWindowsPlaces)
        add(kept.windowsDir, place);
    for (const wchar_t* environment : kDriverEnvironments) {
        for (const wchar_t* folder : kDriverFolders)
            add(kept.windowsDir,
                (L"\\System32\\spool\\drivers\\" + std::wstring(environment) + folder).c_str());
    }
    for (const wchar_t* place : kCommonDataPlaces)
        add(kept.commonData, place);
    for (const wchar_t* place : kMakerPlaces)
        add(kept.makerFolder, place);
    return places;
}

Ownership::Ownership(const KeptThings& kept, const PackageInstalls* installs)
    : m_installs(installs) {
    for (std::wstring& place : ProtectedPlaces(kept)) {
        ForEachFolderAbove(place, [&](std::wstring above) { m_aboveProtected.insert(above); });
        m_protected.insert(std::move(place));
    }
    for (const auto& file : kept.files) {
        std::wstring resolved = Resolved(file);
        ForEachFolderAbove(resolved, [&](std::wstring above) { m_aboveKept.insert(above); });
        m_keptFiles.insert(std::move(resolved));
    }
    for (const auto& folder : kept.folders) {
        std::wstring resolved = Resolved(folder);
        ForEachFolderAbove(resolved, [&](std::wstring above) { m_aboveKept.insert(above); });
        m_keptFolders.insert(std::move(resolved));
    }
    for (const auto& name : kept.monitors)
        m_keptMonitors.insert(text::FoldedName(name));
    for (const wchar_t* name : kWindowsMonitors)
        m_keptMonitors.insert(text::FoldedName(name));
    for (const auto& name : kept.printProcessors)
        m_keptPrintProcessors.insert(text::FoldedName(name));
    for (const wchar_t* name : kWindowsPrintProcessors)
        m_keptPrintProcessors.insert(text::FoldedName(name));
}

bool Ownership::InKeptFolder(const std::wstring& path) const {
    if (m_keptFolders.contains(path))
        return true;
    bool inside = false;
    ForEachFolderAbove(
        path, [&](const std::wstring& above) { inside = inside || m_keptFolders.contains(above); });
    return inside;
}

Refusal Ownership::ForFile(const std::wstring& path) const {
    return path.ends_with(L'\\') ? Refusal::NotAsWritten : ForFolder(path);
}

// A file and a folder are refused alike: a file where a protected or kept folder is expected is
// still that place's name.
Refusal Ownership::ForFolder(const std::wstring& path) const {
    if (!path::IsCanonicalPath(path))
        return Refusal::NotAsWritten;
    const std::wstring comparable = path::ComparablePath(path);
    if (m_protected.contains(comparable) || m_aboveProtected.contains(comparable))
        return Refusal::Protected;
    if (m_keptFiles.contains(comparable) || m_aboveKept.contains(comparable) ||
        InKeptFolder(comparable))
        return Refusal::Kept;
    return Refusal::None;
}

// Another maker's component that the package's drivers merely name is not the package's to take,
// even when nothing that stays names it.
Refusal Ownership::ForComponent(bool installed, const std::unordered_set<std::wstring>& kept,
                                const std::wstring& name, const std::wstring& file) const {
    if (!installed)
        return Refusal::NotInstalled;
    if (kept.contains(text::FoldedName(name)))
        return Refusal::Kept;
    return ForFile(file);
}

Refusal Ownership::ForMonitor(const std::wstring& name, const std::wstring& file) const {
    return ForComponent(!m_installs || m_installs->InstallsMonitor(name, file), m_keptMonitors,
                        name, file);
}

Refusal Ownership::ForPrintProcessor(const std::wstring& name, const std::wstring& file) const {
    return ForComponent(!m_installs || m_installs->InstallsPrintProcessor(name, file),
                        m_keptPrintProcessors, name, file);
}

}  // namespace norvane

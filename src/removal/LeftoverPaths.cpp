#include "removal/LeftoverPaths.h"

#include <algorithm>

#include "inventory/Config.h"
#include "inventory/Records.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace win = platform::win;

constexpr std::uint32_t kMonitorValueBuffer = 80;  // bytes
constexpr std::size_t kPathBuffer = 300;           // the cleanup's own path buffers

// The spooler's own folders beside the model folders in its driver folder: the version folders
// ("3" holds every version-3 driver's files) and the package cache.
bool IsSpoolerFolder(const std::wstring& name) {
    return text::EqualsNoCase(name, L"PCC") ||
           (!name.empty() && std::all_of(name.begin(), name.end(),
                                         [](wchar_t c) { return c >= L'0' && c <= L'9'; }));
}

}  // namespace

Places Places::Of(platform::Platform& platform, const PackageConfig& config) {
    Places places;
    if (platform.system.CommonAppDataFolder(places.commonData) != win::kSuccess)
        places.commonData.clear();
    places.windowsDir = platform.system.WindowsDirectory();
    // Appended as written; a name that Windows would read otherwise ("\..\Windows") names no
    // maker's folder at all.
    const std::wstring maker =
        places.commonData + config.Read(L"Common", L"OEMFOLDERNAME", PackageConfig::kCommonBuffer);
    if (!places.commonData.empty() && path::IsCanonicalPath(maker) && !maker.ends_with(L'\\'))
        places.makerFolder = maker;
    return places;
}

std::array<std::wstring, 3> DataFolderCandidates(const Places& places,
                                                 const std::wstring& familyCode) {
    if (familyCode.empty() || places.commonData.empty())
        return {};
    const std::wstring& maker = places.makerFolder;
    return {maker.empty() ? L"" : path::FolderInside(maker + L"\\Drv", familyCode, kPathBuffer),
            path::FolderInside(places.commonData, familyCode, kPathBuffer),
            maker.empty() ? L"" : path::FolderInside(maker, familyCode, kPathBuffer)};
}

std::wstring SpoolFolderFor(const std::wstring& windowsDir, const std::wstring& hardwareId) {
    const auto slash = hardwareId.find(L'\\');
    if (windowsDir.empty() || slash == std::wstring::npos)
        return L"";
    std::wstring tail = hardwareId.substr(slash + 1);
    for (wchar_t& c : tail)
        c = c == L'-' ? L'_' : c;
    // "USBPRINT\", "USBPRINT\.." or "USBPRINT\3" would name the spooler's driver folder itself,
    // a folder above it or one of its own, with every other driver's files in them.
    if (IsSpoolerFolder(tail.substr(0, tail.find(L'\\'))))
        return L"";
    return path::FolderInside(windowsDir + L"\\system32\\spool\\drivers\\x64", tail, kPathBuffer);
}

std::wstring MonitorFilePath(platform::Platform& platform, const std::wstring& windowsDir,
                             const std::wstring& monitor) {
    platform::RegValue value;
    if (windowsDir.empty() ||
        platform.registry.QueryValue(
            platform::RootKey::LocalMachine,
            L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + monitor, L"Driver",
            kMonitorValueBuffer, value) != win::kSuccess ||
        value.AsString().empty())
        return L"";
    // One file name: a value naming another folder would delete a file that is not the monitor's.
    return path::FileInside(windowsDir + L"\\system32", value.AsString(), kPathBuffer);
}

std::wstring MonitorFileOf(platform::Platform& platform, const std::wstring& windowsDir,
                           const CDriverData& driver) {
    std::wstring file = MonitorFilePath(platform, windowsDir, driver.MonitorName());
    if (!file.empty() || windowsDir.empty() || driver.m_strMonitorPath.empty())
        return file;
    const std::wstring& recorded = driver.m_strMonitorPath;
    file = path::FileInside(windowsDir + L"\\system32", FileTitle(recorded), kPathBuffer);
    return path::ComparablePath(file) == path::ComparablePath(recorded) ? file : L"";
}

std::wstring PrintProcessorFile(const std::wstring& windowsDir, const wchar_t* environmentFolder,
                                const std::wstring& name) {
    if (windowsDir.empty())
        return L"";
    return path::FileInside(windowsDir + L"\\system32\\spool\\prtprocs\\" + environmentFolder, name,
                            kPathBuffer, L".DLL");
}

}  // namespace norvane

// Where a driver's leftovers lie: the paths the cleanup builds from driver data, for the drivers
// that go and, to keep them, for the drivers that stay.
#pragma once

#include <array>
#include <string>

#include "platform/Platform.h"

namespace norvane {

class CDriverData;
class PackageConfig;

// The folders every leftover path starts from.
struct Places {
    std::wstring commonData;   // empty when Windows does not tell it
    std::wstring windowsDir;   // empty when Windows does not tell it
    std::wstring makerFolder;  // commonData + [Common] OEMFOLDERNAME; empty unless plain names

    static Places Of(platform::Platform& platform, const PackageConfig& config);
};

// The data folder's candidates for a family code, in the order they are tried; an empty one ends
// the search.
std::array<std::wstring, 3> DataFolderCandidates(const Places& places,
                                                 const std::wstring& familyCode);

// The spooler's subfolder for a hardware ID: "...\spool\drivers\x64" followed by the ID from its
// first backslash on, "-" made "_", ending with "\". Empty when the ID holds no backslash.
std::wstring SpoolFolderFor(const std::wstring& windowsDir, const std::wstring& hardwareId);

// The file a monitor's "Driver" value names in System32; empty when it names none or anything
// but one plain name there.
std::wstring MonitorFilePath(platform::Platform& platform, const std::wstring& windowsDir,
                             const std::wstring& monitor);

// The monitor file of a driver: as the monitor's registration names it, or, once the monitor is
// gone, as a work list recorded it in the driver's m_strMonitorPath, if that is one plain name in
// System32 as a registration gives it.
std::wstring MonitorFileOf(platform::Platform& platform, const std::wstring& windowsDir,
                           const CDriverData& driver);

// A print processor's file in one environment's folder ("x64", "w32x86").
std::wstring PrintProcessorFile(const std::wstring& windowsDir, const wchar_t* environmentFolder,
                                const std::wstring& name);

}  // namespace norvane

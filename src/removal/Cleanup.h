// What a deleted driver leaves outside the spooler's own bookkeeping: its data folder, its port
// monitor, its print processor, its spool subfolder and, when the whole package goes, the files
// all its drivers share. Shared components go with the last driver that uses them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "removal/Ownership.h"
#include "removal/RemovalRun.h"

namespace norvane {

class PackageInstalls;

// Cleanup flags: what stayed behind.
inline constexpr int kDataFolderStayed = 0x10;
inline constexpr int kMonitorStayed = 0x08;
inline constexpr int kPrintProcessorStayed = 0x04;
inline constexpr int kSpoolFolderStayed = 0x02;
inline constexpr int kSharedFileStayed = 0x01;

// The files in System32 that every driver of the package shares.
inline constexpr wchar_t kSharedFiles[2][13] = {L"MERLAXTE.DLL", L"MERLINDO.DLL"};

// Runs over every driver chosen for removal that no printer uses any more; logs what stays
// under the driver's section (F1, F2, ...) and sets "DRIVER <name>" in the result map. A monitor
// or print processor that `installs` does not show the maker's INF files installing stays, said
// under the driver's section as "Monitor=" or "PrintProcessor=" with why; that is no failure.
int CleanupPass(const RemovalRun& run, const PackageInstalls& installs);

// A print processor's 32-bit twin, which goes along with it; what becomes of it is not recorded.
void RemoveX86PrintProcessor(platform::Platform& platform, const Ownership& ownership,
                             const std::wstring& windowsDir, const std::wstring& name);

// The file deletion rule: a read-only file is made normal and deleted again; a file that is not
// there counts as removed. True when the file is gone.
bool DeleteFileByRule(platform::FileSystem& files, const std::wstring& path);
// 0 removed (with everything in it), 1 exists but not removed (or not the package's to remove),
// 3 no such folder. Junctions and links inside go as links; a path through one is refused.
int RemoveFolder(platform::FileSystem& files, const Ownership& ownership,
                 const std::wstring& folder);

}  // namespace norvane

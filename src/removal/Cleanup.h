// What a deleted driver leaves outside the spooler's own bookkeeping: its data folder, its port
// monitor, its print processor, its spool subfolder and, when the whole package goes, the files
// all its drivers share. Shared components go with the last driver that uses them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace norvane {

class CUninstallerController;

// Cleanup flags: what stayed behind.
inline constexpr int kDataFolderStayed = 0x10;
inline constexpr int kMonitorStayed = 0x08;
inline constexpr int kPrintProcessorStayed = 0x04;
inline constexpr int kSpoolFolderStayed = 0x02;
inline constexpr int kSharedFileStayed = 0x01;

// Runs over every driver chosen for removal that no printer uses any more; logs what stays
// under the driver's section (F1, F2, ...) and sets "DRIVER <name>" in the result map.
int CleanupPass(CUninstallerController& app);

// The file deletion rule: a read-only file is made normal and deleted again; a file that is not
// there counts as removed. True when the file is gone.
bool DeleteFileByRule(platform::FileSystem& files, const std::wstring& path);
// 0 removed (with everything in it), 1 exists but not removed, 3 no such folder.
int RemoveFolder(CUninstallerController& app, const std::wstring& folder);

// The spooler's subfolder for a hardware ID: "...\spool\drivers\x64" followed by the ID from its
// first backslash on, "-" made "_", ending with "\". Empty when the ID holds no backslash.
std::wstring SpoolFolderFor(const std::wstring& windowsDir, const std::wstring& hardwareId);

}  // namespace norvane

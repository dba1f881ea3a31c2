// Windows paths onto the simulated C: drive, a host folder. Names match without regard to case,
// as on NTFS, and keep the spelling they were created with.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::sim {

struct ResolvedPath {
    std::filesystem::path host;  // where the file is, or would be created
    bool exists = false;
};

class PathMap {
public:
    explicit PathMap(std::filesystem::path driveRoot) : m_root(std::move(driveRoot)) {}

    // Makes a Windows path absolute against `currentDir` and splits it into the components below
    // "C:\" ("." and ".." applied, trailing dots and spaces of each name removed, as Win32 does).
    // A UNC path or another drive is ERROR_PATH_NOT_FOUND: the machine has only its C: drive.
    platform::WinError Components(const std::wstring& path, const std::wstring& currentDir,
                                  std::vector<std::wstring>& components) const;
    // Finds the host path of a Windows path. Succeeds when every folder above the last name
    // exists; `exists` tells whether the last name does. ERROR_PATH_NOT_FOUND otherwise.
    platform::WinError Resolve(const std::wstring& path, const std::wstring& currentDir,
                               ResolvedPath& resolved) const;
    // The Windows path of a host path below the drive ("C:\..." spelled as on the host).
    std::wstring WindowsPath(const std::filesystem::path& host) const;

    const std::filesystem::path& Root() const { return m_root; }

private:
    std::filesystem::path m_root;
};

// The folding NTFS applies to names for this machine's purposes: ASCII and Latin-1 letters.
bool SameFileName(std::wstring_view a, std::wstring_view b);
// Wildcard match of a file name as FindFirstFileW does it ("*" and "?", without regard to case;
// "*.*" matches every name).
bool MatchesPattern(std::wstring_view pattern, std::wstring_view name);

}  // namespace norvane::sim

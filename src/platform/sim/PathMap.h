// Windows paths onto the simulated C: drive, a host folder. Names match without regard to case,
// as on NTFS, and keep the spelling they were created with.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/WinError.h"

namespace norvane::sim {

struct ResolvedPath {
    std::filesystem::path host;  // where the file is, or would be created
    bool exists = false;
};

// A host symbolic link to a folder inside the drive is a junction: paths through it are followed
// as Windows follows them, but it is a name of its own that goes without its target. One that
// leads out of the drive leads nowhere.
bool IsJunction(const std::filesystem::path& host);

class PathMap {
public:
    explicit PathMap(std::filesystem::path driveRoot) : m_root(std::move(driveRoot)) {}

    // Makes a Windows path absolute against `currentDir` and splits it into the components below
    // "C:\", normalized as GetFullPathNameW does (path::FullPathName); "\\?\C:\" paths as
    // written. A UNC path, a device or another drive is ERROR_PATH_NOT_FOUND: the machine has only
    // its C: drive; a name holding a stream (":") or a character NTFS refuses is
    // ERROR_INVALID_NAME.
    platform::WinError Components(const std::wstring& path, const std::wstring& currentDir,
                                  std::vector<std::wstring>& components) const;
    // Finds the host path of a Windows path. Succeeds when every folder above the last name
    // exists; `exists` tells whether the last name does. ERROR_PATH_NOT_FOUND otherwise.
    platform::WinError Resolve(const std::wstring& path, const std::wstring& currentDir,
                               ResolvedPath& resolved) const;
    // The Windows path of a host path below the drive ("C:\..." spelled as on the host).
    std::wstring WindowsPath(const std::filesystem::path& host) const;

    const std::filesystem::path& Root() const { return m_root; }

    // Makes the machine's own change of `host` (a file or folder made or removed; a host path
    // that Resolve gave) and returns what `action` returns. The names known of its folder follow
    // the change without a new listing, unless the folder changed by other hands as well.
    template <typename Action>
    auto Change(const std::filesystem::path& host, Action action) const {
        const FolderTime before = TimeBefore(host);
        auto result = action();
        Changed(host, before);
        return result;
    }

private:
    // Whether a junction's target lies on the drive: a machine folder never reaches outside.
    bool InsideDrive(const std::filesystem::path& host) const;

    using FolderTime = std::filesystem::file_time_type;
    // The time of the folder of `host` just before a change, and the names known of that folder
    // brought up to date after it.
    FolderTime TimeBefore(const std::filesystem::path& host) const;
    void Changed(const std::filesystem::path& host, FolderTime before) const;

    // A folder's names, folded, as listed when the folder had the time kept with them. A name
    // spelled otherwise than asked is looked up here rather than by listing the folder each time;
    // a folder changed behind the machine's back has a newer time and is listed again.
    struct Listing {
        FolderTime time;
        // Each folded name's entries, the first as the folder listed them first.
        std::unordered_map<std::wstring, std::vector<std::filesystem::path>> names;
    };

    // The name in `folder` that folds as `name` does, with its status (not following a link);
    // empty when there is none.
    std::filesystem::path FindSpelledOtherwise(const std::filesystem::path& folder,
                                               const std::wstring& name,
                                               std::filesystem::file_status& status) const;

    // The host folder found for a folder path as asked ("Windows\System32\", spelled as asked),
    // or empty when it has not been found yet.
    std::filesystem::path KnownFolder(const std::wstring& folder) const;
    void Remember(const std::wstring& folder, const std::filesystem::path& host) const;
    void Forget(const std::wstring& folder) const;

    std::filesystem::path m_root;
    mutable std::mutex m_lock;
    mutable std::unordered_map<std::wstring, std::filesystem::path> m_folders;
    mutable std::unordered_map<std::filesystem::path::string_type, Listing> m_listings;
};

// The folding NTFS applies to names for this machine's purposes: ASCII and Latin-1 letters.
bool SameFileName(std::wstring_view a, std::wstring_view b);
// Wildcard match of a file name as FindFirstFileW does it ("*" and "?", without regard to case;
// "*.*" matches every name).
bool MatchesPattern(std::wstring_view pattern, std::wstring_view name);

}  // namespace norvane::sim

// Files and folders, by Windows path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::platform {

inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
// A junction or symbolic link: RemoveDirectoryW (a folder link) or DeleteFileW (a file link)
// removes the link itself, never what it leads to.
inline constexpr std::uint32_t kFileAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// The name a file's new content is written under before MoveFileReplacing puts it in the file's
// place: beside it, so that the move stays on one volume and is one step.
inline std::wstring ReplacementName(const std::wstring& file) {
    return file + L".new";
}

struct FindEntry {
    std::wstring name;  // the file name only, as WIN32_FIND_DATAW cFileName holds it
    std::uint32_t attributes = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // FindFirstFileW / FindNextFileW over a pattern such as "C:\Windows\inf\oem*.inf"; the whole
    // enumeration in one call. No match is ERROR_FILE_NOT_FOUND, as FindFirstFileW reports it.
    [[nodiscard]] virtual WinError Find(const std::wstring& pattern,
                                        std::vector<FindEntry>& entries) = 0;
    [[nodiscard]] virtual WinError DeleteFile(const std::wstring& path) = 0;
    [[nodiscard]] virtual WinError GetAttributes(const std::wstring& path,
                                                 std::uint32_t& attributes) = 0;
    [[nodiscard]] virtual WinError SetAttributes(const std::wstring& path,
                                                 std::uint32_t attributes) = 0;
    // The size GetFileAttributesExW gives (nFileSizeHigh and nFileSizeLow), without opening or
    // reading the file: a folder has 0.
    [[nodiscard]] virtual WinError GetFileSize(const std::wstring& path, std::uint64_t& size) = 0;
    // CreateDirectoryW: one level; an existing folder is ERROR_ALREADY_EXISTS, a full path of 248
    // characters or more (MAX_PATH - 12 with the null) ERROR_FILENAME_EXCED_RANGE.
    [[nodiscard]] virtual WinError CreateDirectory(const std::wstring& path) = 0;
    [[nodiscard]] virtual WinError RemoveDirectory(const std::wstring& path) = 0;
    // PathFileExistsW and PathIsDirectoryW.
    virtual bool PathFileExists(const std::wstring& path) = 0;
    virtual bool PathIsDirectory(const std::wstring& path) = 0;
    [[nodiscard]] virtual WinError GetCurrentDirectory(std::wstring& path) = 0;
    [[nodiscard]] virtual WinError SetCurrentDirectory(const std::wstring& path) = 0;
    // Whole-file access: read, write anew, or append (the file is created when missing).
    [[nodiscard]] virtual WinError ReadFile(const std::wstring& path,
                                            std::vector<std::uint8_t>& bytes) = 0;
    [[nodiscard]] virtual WinError WriteFile(const std::wstring& path,
                                             const std::vector<std::uint8_t>& bytes,
                                             bool append) = 0;
    // MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: `from` takes the place
    // of `to` in one step, so that `to` is at every moment either the old file or the new one.
    [[nodiscard]] virtual WinError MoveFileReplacing(const std::wstring& from,
                                                     const std::wstring& to) = 0;
};

}  // namespace norvane::platform

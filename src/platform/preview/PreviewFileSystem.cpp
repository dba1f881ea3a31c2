#include "platform/preview/PreviewFileSystem.h"

#include "support/WinPath.h"

namespace norvane::preview {

namespace win = platform::win;

bool PreviewFileSystem::Gone(const std::wstring& path) const {
    // The path itself or any folder above it, unless made again since.
    return NearestGone(FoldedPath(path), m_gone, m_madeFolders).value_or(false);
}

platform::WinError PreviewFileSystem::Find(const std::wstring& pattern,
                                           std::vector<platform::FindEntry>& entries) {
    entries.clear();
    const auto slash = pattern.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : pattern.substr(0, slash);
    if (!folder.empty() && Gone(folder))
        return win::kPathNotFound;
    std::vector<platform::FindEntry> found;
    const platform::WinError error = m_machine.Find(pattern, found);
    for (auto& entry : found) {
        if (entry.name == L"." || entry.name == L".." || !Gone(path::Join(folder, entry.name)))
            entries.push_back(std::move(entry));
    }
    if (error == win::kSuccess && entries.empty())
        return win::kFileNotFound;
    return error;
}

platform::WinError PreviewFileSystem::GetAttributes(const std::wstring& path,
                                                    std::uint32_t& attributes) {
    attributes = platform::kInvalidFileAttributes;
    if (Gone(path))
        return win::kFileNotFound;
    if (const auto set = m_attributes.find(FoldedPath(path)); set != m_attributes.end()) {
        attributes = set->second;
        return win::kSuccess;
    }
    if (m_madeFolders.contains(FoldedPath(path))) {
        attributes = platform::kFileAttributeDirectory;
        return win::kSuccess;
    }
    return m_machine.GetAttributes(path, attributes);
}

// As ReadFile: a preview writes no file but the log, so a file's size is the machine's.
platform::WinError PreviewFileSystem::GetFileSize(const std::wstring& path, std::uint64_t& size) {
    size = 0;
    std::uint32_t attributes = 0;
    if (const auto error = GetAttributes(path, attributes))
        return error;
    if (attributes & platform::kFileAttributeDirectory)
        return win::kSuccess;
    return m_machine.GetFileSize(path, size);
}

bool PreviewFileSystem::PathFileExists(const std::wstring& path) {
    std::uint32_t attributes = 0;
    return GetAttributes(path, attributes) == win::kSuccess;
}

bool PreviewFileSystem::PathIsDirectory(const std::wstring& path) {
    std::uint32_t attributes = 0;
    return GetAttributes(path, attributes) == win::kSuccess &&
           (attributes & platform::kFileAttributeDirectory);
}

// DeleteFileW's answers: a missing file, a folder and a read-only file are refused. Whether a
// file is locked cannot be known without trying: it is taken as deleted.
platform::WinError PreviewFileSystem::DeleteFile(const std::wstring& path) {
    if (IsLog(path))
        return m_machine.DeleteFile(path);
    std::uint32_t attributes = 0;
    if (const auto error = GetAttributes(path, attributes))
        return error;
    if (attributes & (platform::kFileAttributeDirectory | platform::kFileAttributeReadOnly))
        return win::kAccessDenied;
    m_changes.Add(L"DeleteFile", {path});
    m_gone.insert(FoldedPath(path));
    m_attributes.erase(FoldedPath(path));
    return win::kSuccess;
}

platform::WinError PreviewFileSystem::SetAttributes(const std::wstring& path,
                                                    std::uint32_t attributes) {
    std::uint32_t current = 0;
    if (const auto error = GetAttributes(path, current))
        return error;
    m_changes.Add(L"SetFileAttributes", {path});
    // A folder stays a folder whatever is asked.
    m_attributes[FoldedPath(path)] = (attributes & ~platform::kFileAttributeNormal) |
                                     (current & platform::kFileAttributeDirectory);
    return win::kSuccess;
}

platform::WinError PreviewFileSystem::CreateDirectory(const std::wstring& path) {
    if (PathFileExists(path))
        return win::kAlreadyExists;
    m_changes.Add(L"CreateDirectory", {path});
    m_madeFolders.insert(FoldedPath(path));
    return win::kSuccess;
}

platform::WinError PreviewFileSystem::RemoveDirectory(const std::wstring& path) {
    if (!PathFileExists(path))
        return win::kFileNotFound;
    if (!PathIsDirectory(path))
        return win::kDirectoryName;
    std::vector<platform::FindEntry> inside;
    Find(path::Join(path, L"*"), inside);
    for (const auto& entry : inside) {
        if (entry.name != L"." && entry.name != L"..")
            return win::kDirNotEmpty;
    }
    m_changes.Add(L"RemoveDirectory", {path});
    m_madeFolders.erase(FoldedPath(path));
    m_gone.insert(FoldedPath(path));
    return win::kSuccess;
}

platform::WinError PreviewFileSystem::ReadFile(const std::wstring& path,
                                               std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (Gone(path))
        return win::kFileNotFound;
    return m_machine.ReadFile(path, bytes);
}

platform::WinError PreviewFileSystem::WriteFile(const std::wstring& path,
                                                const std::vector<std::uint8_t>& bytes,
                                                bool append) {
    if (IsLog(path))
        return m_machine.WriteFile(path, bytes, append);
    m_changes.Add(append ? L"AppendFile" : L"WriteFile", {path});
    return win::kSuccess;
}

// MoveFileExW's answers: a missing source is refused, and so is a folder or a read-only file in
// the way. The source reads as gone from then on; what the target would hold is not followed.
platform::WinError PreviewFileSystem::MoveFileReplacing(const std::wstring& from,
                                                        const std::wstring& to) {
    if (IsLog(from) && IsLog(to))
        return m_machine.MoveFileReplacing(from, to);
    std::uint32_t attributes = 0;
    if (const auto error = GetAttributes(from, attributes))
        return error;
    if (GetAttributes(to, attributes) == win::kSuccess &&
        (attributes & (platform::kFileAttributeDirectory | platform::kFileAttributeReadOnly))) {
        return win::kAccessDenied;
    }
    m_changes.Add(L"MoveFile", {from, to});
    m_gone.insert(FoldedPath(from));
    return win::kSuccess;
}

}  // namespace norvane::preview

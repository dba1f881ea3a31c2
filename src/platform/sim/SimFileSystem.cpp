#include "platform/sim/SimFileSystem.h"

#include <algorithm>
#include <fstream>

#include "support/Text.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
namespace fs = std::filesystem;

constexpr std::uint32_t kFileAttributeArchive = 0x20;

std::uint32_t AttributesOf(const fs::path& host) {
    std::error_code ec;
    if (IsJunction(host))
        return platform::kFileAttributeDirectory | platform::kFileAttributeReparsePoint;
    return fs::is_directory(host, ec) ? platform::kFileAttributeDirectory : kFileAttributeArchive;
}

bool SamePath(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameFileName);
}

}  // namespace

bool SimFileSystem::Listed(const std::vector<std::wstring>& files, const std::wstring& path) const {
    std::vector<std::wstring> wanted, listed;
    if (files.empty() || m_paths.Components(path, m_currentDir, wanted) != win::kSuccess)
        return false;
    return std::any_of(files.begin(), files.end(), [&](const auto& file) {
        return m_paths.Components(file, m_currentDir, listed) == win::kSuccess &&
               SamePath(wanted, listed);
    });
}

platform::WinError SimFileSystem::ResolveExisting(const std::wstring& path, Existing what,
                                                  ResolvedPath& resolved) const {
    if (const auto error = Resolve(path, resolved))
        return error;
    if (!resolved.exists)
        return win::kFileNotFound;
    if (what == Existing::Any)
        return win::kSuccess;
    std::error_code ec;
    const bool folder = fs::is_directory(resolved.host, ec);
    if (what == Existing::File)
        return folder ? win::kAccessDenied : win::kSuccess;
    return folder ? win::kSuccess : win::kDirectoryName;
}

platform::WinError SimFileSystem::Failed(const wchar_t* call, const std::wstring& path,
                                         platform::WinError error) {
    m_journal.Record(std::wstring(call) + L" " + Quoted(path) + L" -> " + std::to_wstring(error));
    return error;
}

platform::WinError SimFileSystem::Refusal(const wchar_t* call, const std::wstring& path,
                                          bool locking) {
    const platform::WinError error = locking && IsLocked(path) ? win::kSharingViolation
                                     : IsReadOnly(path)        ? win::kAccessDenied
                                                               : win::kSuccess;
    if (error) {
        m_journal.Record(std::wstring(call) + L" " + Quoted(path) + L" -> " +
                         std::to_wstring(error) +
                         (error == win::kSharingViolation ? L" (locked)" : L" (read-only)"));
    }
    return error;
}

platform::WinError SimFileSystem::Find(const std::wstring& pattern,
                                       std::vector<platform::FindEntry>& entries) {
    entries.clear();
    const auto slash = pattern.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : pattern.substr(0, slash + 1);
    const std::wstring mask = slash == std::wstring::npos ? pattern : pattern.substr(slash + 1);
    ResolvedPath dir;
    if (const auto error = Resolve(folder, dir))
        return error;
    std::error_code ec;
    if (!dir.exists || !fs::is_directory(dir.host, ec))
        return win::kPathNotFound;
    for (const auto& entry : fs::directory_iterator(dir.host, ec)) {
        const std::wstring name = text::FromUtf8(entry.path().filename().string());
        if (!MatchesPattern(mask, name))
            continue;
        entries.push_back({name, AttributesOf(entry.path())});
    }
    // NTFS returns names in its own (upper-cased) order; sorting keeps runs repeatable.
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return text::CompareNoCase(a.name, b.name) < 0; });
    // Below the root every folder holds "." and "..", which FindFirstFileW finds for a pattern
    // that matches them (the seam leaves them out of the list): such a search succeeds.
    const bool dotsMatch = dir.host != m_paths.Root() && MatchesPattern(mask, L".");
    return entries.empty() && !dotsMatch ? win::kFileNotFound : win::kSuccess;
}

platform::WinError SimFileSystem::DeleteFile(const std::wstring& path) {
    ResolvedPath file;
    if (const auto error = ResolveExisting(path, Existing::File, file))
        return Failed(L"DeleteFile", path, error);
    const std::wstring name = m_paths.WindowsPath(file.host);
    if (const auto error = Refusal(L"DeleteFile", name, true))
        return error;
    std::error_code ec;
    if (!m_paths.Change(file.host, [&] { return fs::remove(file.host, ec); }))
        return Failed(L"DeleteFile", name, win::kAccessDenied);
    m_journal.RecordChange(L"DeleteFile " + Quoted(name));
    return win::kSuccess;
}

platform::WinError SimFileSystem::GetAttributes(const std::wstring& path,
                                                std::uint32_t& attributes) {
    attributes = platform::kInvalidFileAttributes;
    ResolvedPath file;
    if (const auto error = ResolveExisting(path, Existing::Any, file))
        return error;
    attributes =
        AttributesOf(file.host) | (IsReadOnly(path) ? platform::kFileAttributeReadOnly : 0);
    return win::kSuccess;
}

platform::WinError SimFileSystem::GetFileSize(const std::wstring& path, std::uint64_t& size) {
    size = 0;
    ResolvedPath file;
    if (const auto error = ResolveExisting(path, Existing::Any, file))
        return error;
    std::error_code ec;
    if (!fs::is_directory(file.host, ec))
        size = fs::file_size(file.host, ec);
    return ec ? win::kAccessDenied : win::kSuccess;
}

platform::WinError SimFileSystem::SetAttributes(const std::wstring& path,
                                                std::uint32_t attributes) {
    ResolvedPath file;
    if (const auto error = ResolveExisting(path, Existing::Any, file))
        return Failed(L"SetFileAttributes", path, error);
    const std::wstring name = m_paths.WindowsPath(file.host);
    if (const auto error = Refusal(L"SetFileAttributes", name, false))
        return error;
    m_journal.Record(L"SetFileAttributes " + Quoted(name) + L" " + std::to_wstring(attributes));
    return win::kSuccess;
}

platform::WinError SimFileSystem::CreateDirectory(const std::wstring& path) {
    // CreateDirectoryW leaves room for an 8.3 name below the folder: a full path that needs more
    // than MAX_PATH - 12 = 248 characters with its terminating null (so 248 characters or more)
    // is refused before anything is looked at.
    constexpr std::size_t kMaxFolderPath = 248;
    std::vector<std::wstring> components;
    if (const auto error = m_paths.Components(path, m_currentDir, components))
        return Failed(L"CreateDirectory", path, error);
    std::size_t length = 2;  // "C:"
    for (const auto& name : components)
        length += 1 + name.size();
    if (length + 1 > kMaxFolderPath)
        return Failed(L"CreateDirectory", path, win::kFilenameExcedRange);
    ResolvedPath dir;
    if (const auto error = Resolve(path, dir))
        return Failed(L"CreateDirectory", path, error);
    if (dir.exists)
        return Failed(L"CreateDirectory", path, win::kAlreadyExists);
    std::error_code ec;
    if (!m_paths.Change(dir.host, [&] { return fs::create_directory(dir.host, ec); }))
        return Failed(L"CreateDirectory", path, win::kAccessDenied);
    m_journal.RecordChange(L"CreateDirectory " + Quoted(m_paths.WindowsPath(dir.host)));
    return win::kSuccess;
}

platform::WinError SimFileSystem::RemoveDirectory(const std::wstring& path) {
    ResolvedPath dir;
    if (const auto error = ResolveExisting(path, Existing::Folder, dir))
        return Failed(L"RemoveDirectory", path, error);
    std::error_code ec;
    // A junction goes as a name; what it leads to stays.
    if (!IsJunction(dir.host) && !fs::is_empty(dir.host, ec))
        return Failed(L"RemoveDirectory", path, win::kDirNotEmpty);
    if (!m_paths.Change(dir.host, [&] { return fs::remove(dir.host, ec); }))
        return Failed(L"RemoveDirectory", path, win::kAccessDenied);
    m_journal.RecordChange(L"RemoveDirectory " + Quoted(m_paths.WindowsPath(dir.host)));
    return win::kSuccess;
}

bool SimFileSystem::PathFileExists(const std::wstring& path) {
    ResolvedPath file;
    return ResolveExisting(path, Existing::Any, file) == win::kSuccess;
}

bool SimFileSystem::PathIsDirectory(const std::wstring& path) {
    ResolvedPath dir;
    return ResolveExisting(path, Existing::Folder, dir) == win::kSuccess;
}

platform::WinError SimFileSystem::GetCurrentDirectory(std::wstring& path) {
    path = m_currentDir;
    return win::kSuccess;
}

platform::WinError SimFileSystem::SetCurrentDirectory(const std::wstring& path) {
    ResolvedPath dir;
    if (const auto error = ResolveExisting(path, Existing::Folder, dir))
        return error;
    m_currentDir = m_paths.WindowsPath(dir.host);
    m_journal.Record(L"SetCurrentDirectory " + Quoted(m_currentDir));
    return win::kSuccess;
}

platform::WinError SimFileSystem::ReadFile(const std::wstring& path,
                                           std::vector<std::uint8_t>& bytes) {
    ResolvedPath file;
    if (const auto error = ResolveExisting(path, Existing::File, file))
        return error;
    std::ifstream in(file.host, std::ios::binary);
    if (!in)
        return win::kAccessDenied;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return win::kSuccess;
}

platform::WinError SimFileSystem::WriteFile(const std::wstring& path,
                                            const std::vector<std::uint8_t>& bytes, bool append) {
    const wchar_t* call = append ? L"AppendFile" : L"WriteFile";
    ResolvedPath file;
    if (const auto error = Resolve(path, file))
        return Failed(call, path, error);
    std::error_code ec;
    if (file.exists && fs::is_directory(file.host, ec))
        return Failed(call, path, win::kAccessDenied);
    if (const auto error = Refusal(call, m_paths.WindowsPath(file.host), false))
        return error;
    std::ofstream out = m_paths.Change(file.host, [&] {
        return std::ofstream(file.host,
                             std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    });
    if (!out)
        return Failed(call, path, win::kAccessDenied);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        return Failed(call, path, win::kAccessDenied);
    m_journal.RecordChange(std::wstring(append ? L"AppendFile " : L"WriteFile ") +
                           Quoted(m_paths.WindowsPath(file.host)) + L" " +
                           std::to_wstring(bytes.size()) + L" bytes");
    return win::kSuccess;
}

// Within the drive a rename is one step of the host's file system, as MoveFileExW's is within a
// volume. A folder in the way is not replaced.
platform::WinError SimFileSystem::MoveFileReplacing(const std::wstring& from,
                                                    const std::wstring& to) {
    ResolvedPath source, target;
    if (const auto error = ResolveExisting(from, Existing::Any, source))
        return error;
    if (const auto error = Resolve(to, target))
        return error;
    std::error_code ec;
    if (fs::is_directory(source.host, ec) || (target.exists && fs::is_directory(target.host, ec)))
        return win::kAccessDenied;
    const std::wstring sourceName = m_paths.WindowsPath(source.host);
    const std::wstring targetName = m_paths.WindowsPath(target.host);
    for (const std::wstring& name : {sourceName, targetName}) {
        if (const auto error = Refusal(L"MoveFile", name, true))
            return error;
    }
    m_paths.Change(source.host, [&] {
        return m_paths.Change(target.host, [&] {
            fs::rename(source.host, target.host, ec);
            return 0;
        });
    });
    if (ec)
        return win::kAccessDenied;
    m_journal.RecordChange(L"MoveFile " + Quoted(sourceName) + L" " + Quoted(targetName));
    return win::kSuccess;
}

}  // namespace norvane::sim

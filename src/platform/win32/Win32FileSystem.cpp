#include "platform/win32/Win32FileSystem.h"

#include <cwchar>

#include "platform/win32/Handles.h"
#include "platform/win32/LastError.h"

namespace norvane::win32 {
namespace {

using platform::WinError;

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

}  // namespace

WinError Win32FileSystem::Find(const std::wstring& pattern,
                               std::vector<platform::FindEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW data;
    const UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return LastError();
    do {
        if (!IsDotEntry(data.cFileName))
            entries.push_back({data.cFileName, data.dwFileAttributes});
    } while (FindNextFileW(find.Get(), &data));
    const DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? platform::win::kSuccess : error;
}

WinError Win32FileSystem::DeleteFile(const std::wstring& path) {
    return ErrorOf(DeleteFileW(path.c_str()));
}

WinError Win32FileSystem::GetAttributes(const std::wstring& path, std::uint32_t& attributes) {
    attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? LastError() : platform::win::kSuccess;
}

WinError Win32FileSystem::GetFileSize(const std::wstring& path, std::uint64_t& size) {
    size = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return LastError();
    size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return platform::win::kSuccess;
}

WinError Win32FileSystem::SetAttributes(const std::wstring& path, std::uint32_t attributes) {
    return ErrorOf(SetFileAttributesW(path.c_str(), attributes));
}

WinError Win32FileSystem::CreateDirectory(const std::wstring& path) {
    return ErrorOf(CreateDirectoryW(path.c_str(), nullptr));
}

WinError Win32FileSystem::RemoveDirectory(const std::wstring& path) {
    return ErrorOf(RemoveDirectoryW(path.c_str()));
}

bool Win32FileSystem::PathFileExists(const std::wstring& path) {
    return PathFileExistsW(path.c_str()) != FALSE;
}

bool Win32FileSystem::PathIsDirectory(const std::wstring& path) {
    return PathIsDirectoryW(path.c_str()) != FALSE;
}

WinError Win32FileSystem::GetCurrentDirectory(std::wstring& path) {
    // Asked with too small a buffer, Windows answers with the size it needs, terminator included.
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    while (length != 0) {
        std::vector<wchar_t> buffer(length);
        const DWORD copied = GetCurrentDirectoryW(length, buffer.data());
        if (copied < length) {
            path.assign(buffer.data(), copied);
            return platform::win::kSuccess;
        }
        length = copied;  // the folder changed in between and grew
    }
    return LastError();
}

WinError Win32FileSystem::SetCurrentDirectory(const std::wstring& path) {
    return ErrorOf(SetCurrentDirectoryW(path.c_str()));
}

// The program's files (its log, saved printer settings) are small: a file too large for one
// ReadFile call is refused as Windows refuses it.
WinError Win32FileSystem::ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastError();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        return LastError();
    if (size.QuadPart > MAXDWORD)
        return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return LastError();
    bytes.resize(read);
    return platform::win::kSuccess;
}

WinError Win32FileSystem::WriteFile(const std::wstring& path,
                                    const std::vector<std::uint8_t>& bytes, bool append) {
    if (bytes.size() > MAXDWORD)
        return ERROR_FILE_TOO_LARGE;
    const UniqueFile file(
        CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ,
                    nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastError();
    DWORD written = 0;
    return ErrorOf(
        ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

WinError Win32FileSystem::MoveFileReplacing(const std::wstring& from, const std::wstring& to) {
    return ErrorOf(
        MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

}  // namespace norvane::win32

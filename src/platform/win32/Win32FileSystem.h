// The FileSystem service over the Win32 file functions and shlwapi's path tests.
#pragma once

#include "platform/FileSystem.h"

namespace norvane::win32 {

class Win32FileSystem final : public platform::FileSystem {
public:
    platform::WinError Find(const std::wstring& pattern,
                            std::vector<platform::FindEntry>& entries) override;
    platform::WinError DeleteFile(const std::wstring& path) override;
    platform::WinError GetAttributes(const std::wstring& path, std::uint32_t& attributes) override;
    platform::WinError SetAttributes(const std::wstring& path, std::uint32_t attributes) override;
    platform::WinError GetFileSize(const std::wstring& path, std::uint64_t& size) override;
    platform::WinError CreateDirectory(const std::wstring& path) override;
    platform::WinError RemoveDirectory(const std::wstring& path) override;
    bool PathFileExists(const std::wstring& path) override;
    bool PathIsDirectory(const std::wstring& path) override;
    platform::WinError GetCurrentDirectory(std::wstring& path) override;
    platform::WinError SetCurrentDirectory(const std::wstring& path) override;
    platform::WinError ReadFile(const std::wstring& path,
                                std::vector<std::uint8_t>& bytes) override;
    platform::WinError WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                 bool append) override;
    platform::WinError MoveFileReplacing(const std::wstring& from, const std::wstring& to) override;
};

}  // namespace norvane::win32

// The SystemInfo service: facts about this machine and the running program.
#pragma once

#include "platform/SystemInfo.h"

namespace norvane::win32 {

// GetSystemDirectoryW: System32 for this 64-bit program; empty when Windows gives none.
std::wstring SystemFolder();

class Win32SystemInfo final : public platform::SystemInfo {
public:
    std::wstring ModuleFileName() override;
    std::wstring WindowsDirectory() override;
    std::wstring SystemDirectory() override;
    platform::WinError CommonAppDataFolder(std::wstring& path) override;
    std::uint32_t ThreadLocale() override;
    std::uint16_t SystemDefaultLangId() override;
    std::uint32_t OsMajorVersion() override;
    std::uint32_t AnsiCodePage() override;
    std::wstring ComputerName() override;
    std::uint32_t CurrentThreadId() override;
    platform::WinError FileVersion(const std::wstring& path, std::uint32_t& versionMs,
                                   std::uint32_t& versionLs) override;
    std::wstring ErrorMessage(platform::WinError code) override;
    bool AnsiCodePageHolds(const std::wstring& text) override;
    std::wstring FromAnsiCodePage(const std::vector<std::uint8_t>& bytes) override;
};

}  // namespace norvane::win32

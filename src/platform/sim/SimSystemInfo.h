// The SystemInfo service of the simulated machine, answered from machine.json.
#pragma once

#include "platform/SystemInfo.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::sim {

inline constexpr std::uint32_t kProgramThreadId = 4243;

class SimSystemInfo final : public platform::SystemInfo {
public:
    explicit SimSystemInfo(const MachineConfig& config) : m_config(config) {}

    std::wstring ModuleFileName() override { return m_config.program; }
    std::wstring WindowsDirectory() override { return m_config.windowsDir; }
    std::wstring SystemDirectory() override { return m_config.SystemFolder(); }
    platform::WinError CommonAppDataFolder(std::wstring& path) override;
    std::uint32_t ThreadLocale() override { return m_config.threadLocale; }
    std::uint16_t SystemDefaultLangId() override { return m_config.systemDefaultLangId; }
    std::uint32_t OsMajorVersion() override { return m_config.osMajorVersion; }
    std::uint32_t AnsiCodePage() override { return m_config.ansiCodePage; }
    std::wstring ComputerName() override { return m_config.computerName; }
    // The program's threads are not told apart: its one process, one number.
    std::uint32_t CurrentThreadId() override { return kProgramThreadId; }
    platform::WinError FileVersion(const std::wstring& path, std::uint32_t& versionMs,
                                   std::uint32_t& versionLs) override;
    std::wstring ErrorMessage(platform::WinError code) override;
    bool AnsiCodePageHolds(const std::wstring& text) override;
    std::wstring FromAnsiCodePage(const std::vector<std::uint8_t>& bytes) override;

private:
    const MachineConfig& m_config;
};

// "a.b.c.d" into the two halves of VS_FIXEDFILEINFO; false when it is not four numbers <= 65535.
bool ParseFileVersion(const std::wstring& version, std::uint32_t& versionMs,
                      std::uint32_t& versionLs);

}  // namespace norvane::sim

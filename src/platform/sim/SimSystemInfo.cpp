#include "platform/sim/SimSystemInfo.h"

#include <cwchar>

#include "platform/sim/AnsiCodePage.h"
#include "platform/sim/SystemMessages.h"
#include "support/Text.h"

namespace norvane::sim {
namespace {

// GetFileVersionInfoW's answer for a file without a version resource.
constexpr platform::WinError kResourceTypeNotFound = 1813;

}  // namespace

bool ParseFileVersion(const std::wstring& version, std::uint32_t& versionMs,
                      std::uint32_t& versionLs) {
    unsigned parts[4];
    int consumed = 0;
    if (std::swscanf(version.c_str(), L"%u.%u.%u.%u%n", &parts[0], &parts[1], &parts[2], &parts[3],
                     &consumed) != 4 ||
        static_cast<std::size_t>(consumed) != version.size()) {
        return false;
    }
    for (unsigned part : parts) {
        if (part > 0xFFFF)
            return false;
    }
    versionMs = (parts[0] << 16) | parts[1];
    versionLs = (parts[2] << 16) | parts[3];
    return true;
}

platform::WinError SimSystemInfo::CommonAppDataFolder(std::wstring& path) {
    path = m_config.commonAppDataDir;
    return platform::win::kSuccess;
}

platform::WinError SimSystemInfo::FileVersion(const std::wstring& path, std::uint32_t& versionMs,
                                              std::uint32_t& versionLs) {
    // Only the program's own image carries a version resource on this machine.
    if (!text::EqualsNoCase(path, m_config.program) || !m_config.fileVersion ||
        !ParseFileVersion(*m_config.fileVersion, versionMs, versionLs)) {
        return kResourceTypeNotFound;
    }
    return platform::win::kSuccess;
}

std::wstring SimSystemInfo::ErrorMessage(platform::WinError code) {
    return text::TrimRight(SystemMessage(code));
}

bool SimSystemInfo::AnsiCodePageHolds(const std::wstring& text) {
    return sim::AnsiCodePage(m_config.ansiCodePage).Holds(text);
}

std::wstring SimSystemInfo::FromAnsiCodePage(const std::vector<std::uint8_t>& bytes) {
    return sim::AnsiCodePage(m_config.ansiCodePage)
        .Decode({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace norvane::sim

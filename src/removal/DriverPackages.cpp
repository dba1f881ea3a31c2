#include "removal/DriverPackages.h"

#include "removal/Cleanup.h"
#include "support/Text.h"

namespace norvane {
namespace {

constexpr std::uint32_t kValueBuffer = 260;
constexpr std::uint32_t kPnputilWaitMs = 100;

std::wstring ReadInf(platform::Profile& profile, const std::wstring& file, const wchar_t* section,
                     const std::wstring& key) {
    wchar_t value[kValueBuffer] = {};
    profile.GetString(section, key.c_str(), L"", value, kValueBuffer, file);
    return value;
}

}  // namespace

DriverPackages::DriverPackages(platform::Platform& platform) : m_platform(platform) {
    const std::wstring windows = platform.system.WindowsDirectory();
    if (windows.empty())
        return;
    m_infFolder = windows + L"\\inf";
    std::vector<platform::FindEntry> entries;
    platform.files.Find(m_infFolder + L"\\oem*.inf", entries);
    for (const auto& entry : entries) {
        if (entry.attributes & platform::kFileAttributeDirectory)
            continue;
        m_packages.push_back(entry.name.substr(0, entry.name.rfind(L'.')));
    }
}

int DriverPackages::Check(const std::wstring& driverName) {
    const std::wstring modelKey = L"\"" + driverName + L"\"";
    for (auto base = m_packages.rbegin(); base != m_packages.rend(); ++base) {
        const std::wstring file = m_infFolder + L"\\" + *base + L".inf";
        const std::wstring provider = ReadInf(m_platform.profile, file, L"Version", L"PROVIDER");
        const std::wstring manufacturer =
            ReadInf(m_platform.profile, file, L"Manufacturer", provider);
        if (manufacturer.empty())
            continue;
        const auto items = text::Split(manufacturer, L',');
        const std::wstring models = text::Trim(items[0]);
        std::vector<std::wstring> sections{models};
        for (std::size_t i = 1; i < items.size(); ++i)
            sections.push_back(models + L"." + text::Trim(items[i]));
        for (const auto& section : sections) {
            if (ReadInf(m_platform.profile, file, section.c_str(), modelKey).empty())
                continue;
            m_matchedInf = *base + L".inf";
            m_matchedPnf = *base + L".pnf";
            return 1;
        }
    }
    return 0;
}

int DriverPackages::Remove() {
    if (m_platform.system.OsMajorVersion() >= 6) {
        // pnputil removes the package (forcing it even while a device uses it) on its own time;
        // the removal goes on.
        if (m_platform.processes.ShellExecuteElevated(L"pnputil.exe", L"-f -d " + m_matchedInf))
            return 1;
        m_platform.clock.Sleep(kPnputilWaitMs);
        return 0;
    }
    int result = 0;
    if (!DeleteFileByRule(m_platform.files, m_infFolder + L"\\" + m_matchedInf))
        result |= 1;
    if (!DeleteFileByRule(m_platform.files, m_infFolder + L"\\" + m_matchedPnf))
        result |= 2;
    return result;
}

}  // namespace norvane

#include "removal/DriverPackages.h"

#include "extras/IniAcc.h"
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

// The model names a package declares: the keys with a value in its models sections, which the
// [Manufacturer] entry of its provider names (the models section, and one per target it lists).
std::unordered_set<std::wstring> DeclaredModels(platform::Profile& profile,
                                                const std::wstring& file) {
    std::unordered_set<std::wstring> models;
    const std::wstring provider = ReadInf(profile, file, L"Version", L"PROVIDER");
    const std::wstring manufacturer = ReadInf(profile, file, L"Manufacturer", provider);
    if (manufacturer.empty())
        return models;
    const auto items = text::Split(manufacturer, L',');
    const std::wstring section = text::Trim(items[0]);
    std::vector<std::wstring> sections{section};
    for (std::size_t i = 1; i < items.size(); ++i)
        sections.push_back(section + L"." + text::Trim(items[i]));
    CIniAcc inf(profile);
    inf.SetFile(file);
    CmyStringArray keys;
    for (const auto& name : sections) {
        for (const auto& key : inf.GetKeys(name, keys)) {
            if (!ReadInf(profile, file, name.c_str(), key).empty())
                models.insert(text::LowerAscii(key));
        }
    }
    return models;
}

}  // namespace

DriverPackages::DriverPackages(platform::Platform& platform) {
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

int DriverPackages::Check(platform::Platform& run, const std::wstring& driverName) {
    m_models.resize(m_packages.size());
    const std::wstring modelKey = text::LowerAscii(L"\"" + driverName + L"\"");
    for (std::size_t i = m_packages.size(); i-- > 0;) {
        if (!m_models[i])
            m_models[i] =
                DeclaredModels(run.profile, m_infFolder + L"\\" + m_packages[i] + L".inf");
        if (!m_models[i]->contains(modelKey))
            continue;
        m_matched = i;
        m_matchedInf = m_packages[i] + L".inf";
        m_matchedPnf = m_packages[i] + L".pnf";
        return 1;
    }
    return 0;
}

int DriverPackages::Remove(platform::Platform& run) {
    // What is left of the package, if anything, is read again at the next check.
    m_models[m_matched].reset();
    if (run.system.OsMajorVersion() >= 6) {
        // pnputil removes the package (forcing it even while a device uses it) on its own time;
        // the removal goes on.
        if (run.processes.ShellExecuteElevated(L"pnputil.exe", L"-f -d " + m_matchedInf))
            return 1;
        run.clock.Sleep(kPnputilWaitMs);
        return 0;
    }
    int result = 0;
    if (!DeleteFileByRule(run.files, m_infFolder + L"\\" + m_matchedInf))
        result |= 1;
    if (!DeleteFileByRule(run.files, m_infFolder + L"\\" + m_matchedPnf))
        result |= 2;
    return result;
}

}  // namespace norvane

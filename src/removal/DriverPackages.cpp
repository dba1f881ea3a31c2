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
        m_unread.insert(m_packages.size());
        m_packages.push_back(entry.name.substr(0, entry.name.rfind(L'.')));
    }
    m_models.resize(m_packages.size());
}

void DriverPackages::Read(platform::Platform& run, std::size_t package) {
    m_models[package] =
        DeclaredModels(run.profile, m_infFolder + L"\\" + m_packages[package] + L".inf");
    m_unread.erase(package);
    for (const auto& model : *m_models[package])
        m_declaring[model].insert(package);
}

int DriverPackages::Check(platform::Platform& run, const std::wstring& driverName) {
    const std::wstring modelKey = text::LowerAscii(L"\"" + driverName + L"\"");
    std::optional<std::size_t> found;
    if (const auto declaring = m_declaring.find(modelKey);
        declaring != m_declaring.end() && !declaring->second.empty()) {
        found = *declaring->second.rbegin();
    }
    // The unread packages after it come first, from the last one down.
    while (!m_unread.empty() && (!found || *m_unread.rbegin() > *found)) {
        const std::size_t package = *m_unread.rbegin();
        Read(run, package);
        if (m_models[package]->contains(modelKey))
            found = package;
    }
    if (!found)
        return 0;
    m_matched = *found;
    m_matchedInf = m_packages[m_matched] + L".inf";
    m_matchedPnf = m_packages[m_matched] + L".pnf";
    return 1;
}

int DriverPackages::Remove(platform::Platform& run) {
    // What is left of the package, if anything, is read again at the next check.
    if (m_models[m_matched]) {
        for (const auto& model : *m_models[m_matched])
            m_declaring[model].erase(m_matched);
        m_models[m_matched].reset();
        m_unread.insert(m_matched);
    }
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

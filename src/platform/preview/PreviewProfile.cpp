#include "platform/preview/PreviewProfile.h"

#include <algorithm>

#include "platform/ChangeText.h"

namespace norvane::preview {

using platform::OrNull;

// GetPrivateProfileStringW over a missing file: a list of names is empty, a value is the default
// without its trailing blanks, both cut to the buffer.
std::uint32_t PreviewProfile::GetString(const wchar_t* section, const wchar_t* key,
                                        const wchar_t* defaultValue, wchar_t* buffer,
                                        std::uint32_t size, const std::wstring& file) {
    if (!m_files.Gone(file))
        return m_machine.GetString(section, key, defaultValue, buffer, size, file);
    if (!buffer || size == 0)
        return 0;
    std::wstring value = section && key && defaultValue ? defaultValue : L"";
    value.erase(value.find_last_not_of(L' ') + 1);
    const std::size_t count = std::min<std::size_t>(value.size(), size - 1);
    std::copy_n(value.begin(), count, buffer);
    buffer[count] = L'\0';
    if (!(section && key) && count + 1 < size)
        buffer[count + 1] = L'\0';
    return static_cast<std::uint32_t>(count);
}

std::uint32_t PreviewProfile::GetInt(const wchar_t* section, const wchar_t* key,
                                     std::int32_t defaultValue, const std::wstring& file) {
    if (m_files.Gone(file))
        return static_cast<std::uint32_t>(defaultValue);
    return m_machine.GetInt(section, key, defaultValue, file);
}

platform::WinError PreviewProfile::WriteString(const wchar_t* section, const wchar_t* key,
                                               const wchar_t* value, const std::wstring& file) {
    if (m_files.IsLog(file))
        return m_machine.WriteString(section, key, value, file);
    m_changes.Add(L"WritePrivateProfileString", {file, OrNull(section), OrNull(key)});
    return platform::win::kSuccess;
}

platform::WinError PreviewProfile::WriteSection(const wchar_t* section,
                                                const wchar_t* keysAndValues,
                                                const std::wstring& file) {
    if (m_files.IsLog(file))
        return m_machine.WriteSection(section, keysAndValues, file);
    m_changes.Add(L"WritePrivateProfileSection", {file, OrNull(section)});
    return platform::win::kSuccess;
}

platform::WinError PreviewProfile::WriteSections(
    const std::vector<platform::ProfileSection>& sections, const std::wstring& file) {
    if (m_files.IsLog(file))
        return m_machine.WriteSections(sections, file);
    for (const auto& section : sections)
        m_changes.Add(L"WritePrivateProfileSection", {file, section.name});
    return platform::win::kSuccess;
}

}  // namespace norvane::preview

#include "platform/trace/TraceProfile.h"

#include "platform/ChangeText.h"

namespace norvane::trace {

using platform::ChangeText;
using platform::OrNull;

platform::WinError TraceProfile::WriteString(const wchar_t* section, const wchar_t* key,
                                             const wchar_t* value, const std::wstring& file) {
    const platform::WinError error = m_below.WriteString(section, key, value, file);
    if (!m_trace.IsLog(file)) {
        m_trace.Change(
            ChangeText(L"WritePrivateProfileString", {file, OrNull(section), OrNull(key)}), error);
    }
    return error;
}

platform::WinError TraceProfile::WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                              const std::wstring& file) {
    const platform::WinError error = m_below.WriteSection(section, keysAndValues, file);
    if (!m_trace.IsLog(file))
        m_trace.Change(ChangeText(L"WritePrivateProfileSection", {file, OrNull(section)}), error);
    return error;
}

platform::WinError TraceProfile::WriteSections(
    const std::vector<platform::ProfileSection>& sections, const std::wstring& file) {
    const platform::WinError error = m_below.WriteSections(sections, file);
    if (!m_trace.IsLog(file)) {
        for (const auto& section : sections)
            m_trace.Change(ChangeText(L"WritePrivateProfileSection", {file, section.name}), error);
    }
    return error;
}

}  // namespace norvane::trace

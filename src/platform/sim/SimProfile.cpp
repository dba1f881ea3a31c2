#include "platform/sim/SimProfile.h"

#include <cwchar>

namespace norvane::sim {
std::wstring SimProfile::WindowsPath(const std::wstring& file) const {
    const bool bare = file.find_first_of(L"\\/:") == std::wstring::npos;
    return bare ? m_windowsDir + L"\\" + file : file;
}

platform::WinError SimProfile::Resolve(const std::wstring& file, ResolvedPath& resolved) const {
    return m_files.Resolve(WindowsPath(file), resolved);
}

// The writer opens the file for writing, which a read-only file refuses.
template <typename Write>
platform::WinError SimProfile::Change(const std::wstring& file, const ResolvedPath& resolved,
                                      Write write) {
    if (m_files.IsReadOnly(WindowsPath(file)))
        return platform::win::kAccessDenied;
    return m_files.Paths().Change(resolved.host, write);
}

std::uint32_t SimProfile::GetString(const wchar_t* section, const wchar_t* key,
                                    const wchar_t* defaultValue, wchar_t* buffer,
                                    std::uint32_t size, const std::wstring& file) {
    ResolvedPath resolved;
    // A path that leads nowhere reads like a missing file.
    if (Resolve(file, resolved))
        resolved.host.clear();
    return m_engine.GetString(section, key, defaultValue, buffer, size, resolved.host);
}

std::uint32_t SimProfile::GetInt(const wchar_t* section, const wchar_t* key,
                                 std::int32_t defaultValue, const std::wstring& file) {
    ResolvedPath resolved;
    if (Resolve(file, resolved))
        resolved.host.clear();
    return m_engine.GetInt(section, key, defaultValue, resolved.host);
}

platform::WinError SimProfile::WriteString(const wchar_t* section, const wchar_t* key,
                                           const wchar_t* value, const std::wstring& file) {
    ResolvedPath resolved;
    if (const auto error = Resolve(file, resolved))
        return error;
    const platform::WinError error = Change(
        file, resolved, [&] { return m_engine.WriteString(section, key, value, resolved.host); });
    std::wstring entry = L"WritePrivateProfileString " + Quoted(file) + L" [" +
                         (section ? section : L"(null)") + L"] ";
    entry += key ? Quoted(key) : L"(null)";
    entry += L"=";
    entry += value ? Quoted(value) : L"(null)";
    JournalWrite(entry, error);
    return error;
}

namespace {

// " [section] "name=value" ...": a section write's part of a journal line.
std::wstring SectionEntry(const wchar_t* section, const wchar_t* keysAndValues) {
    std::wstring entry = L" [" + std::wstring(section ? section : L"(null)") + L"]";
    if (!keysAndValues)
        entry += L" (null)";
    for (const wchar_t* at = keysAndValues; at && *at; at += std::wcslen(at) + 1)
        entry += L" " + Quoted(at);
    return entry;
}

}  // namespace

platform::WinError SimProfile::WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                            const std::wstring& file) {
    ResolvedPath resolved;
    if (const auto error = Resolve(file, resolved))
        return error;
    const platform::WinError error = Change(file, resolved, [&] {
        return m_engine.WriteSection(section, keysAndValues, resolved.host);
    });
    JournalWrite(
        L"WritePrivateProfileSection " + Quoted(file) + SectionEntry(section, keysAndValues),
        error);
    return error;
}

// One write of the file, so one change of the machine and one journal line.
platform::WinError SimProfile::WriteSections(const std::vector<platform::ProfileSection>& sections,
                                             const std::wstring& file) {
    ResolvedPath resolved;
    if (const auto error = Resolve(file, resolved))
        return error;
    const platform::WinError error =
        Change(file, resolved, [&] { return m_engine.WriteSections(sections, resolved.host); });
    std::wstring entry = L"WritePrivateProfileSections " + Quoted(file);
    for (const platform::ProfileSection& section : sections)
        entry += SectionEntry(section.name.c_str(), section.List().c_str());
    JournalWrite(entry, error);
    return error;
}

// A write that changed the file is a change of the machine; a refused one is only recorded.
void SimProfile::JournalWrite(std::wstring entry, platform::WinError error) {
    if (error) {
        m_journal.Record(entry + L" -> " + std::to_wstring(error));
    } else {
        m_journal.RecordChange(entry);
    }
}

}  // namespace norvane::sim

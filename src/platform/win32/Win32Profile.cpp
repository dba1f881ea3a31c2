#include "platform/win32/Win32Profile.h"

#include "platform/win32/LastError.h"
#include "platform/win32/SectionAppend.h"

namespace norvane::win32 {

std::uint32_t Win32Profile::GetString(const wchar_t* section, const wchar_t* key,
                                      const wchar_t* defaultValue, wchar_t* buffer,
                                      std::uint32_t size, const std::wstring& file) {
    return GetPrivateProfileStringW(section, key, defaultValue, buffer, size, file.c_str());
}

std::uint32_t Win32Profile::GetInt(const wchar_t* section, const wchar_t* key,
                                   std::int32_t defaultValue, const std::wstring& file) {
    return GetPrivateProfileIntW(section, key, defaultValue, file.c_str());
}

platform::WinError Win32Profile::WriteString(const wchar_t* section, const wchar_t* key,
                                             const wchar_t* value, const std::wstring& file) {
    return ErrorOf(WritePrivateProfileStringW(section, key, value, file.c_str()));
}

platform::WinError Win32Profile::WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                              const std::wstring& file) {
    return ErrorOf(WritePrivateProfileSectionW(section, keysAndValues, file.c_str()));
}

// The writer writes sections until one shows how it appends a new section to this file; the
// sections after it that are new are appended so, together, and the others go to the writer. An
// append that fails hands its sections back to the writer: none is lost, and an error is the
// writer's.
platform::WinError Win32Profile::WriteSections(
    const std::vector<platform::ProfileSection>& sections, const std::wstring& file) {
    platform::WinError result = platform::win::kSuccess;
    const auto write = [&](const platform::ProfileSection& section) {
        const platform::WinError error =
            WriteSection(section.name.c_str(), section.List().c_str(), file);
        if (error && !result)
            result = error;
        return error;
    };
    std::optional<SectionAppend> append;
    const auto flush = [&] {
        std::vector<platform::ProfileSection> unwritten;
        if (append->Flush(m_clock, unwritten)) {
            for (const platform::ProfileSection& section : unwritten)
                write(section);
        }
    };
    for (const platform::ProfileSection& section : sections) {
        if (append) {
            if (append->Add(section))
                continue;
            flush();
            write(section);
            continue;
        }
        const std::optional<std::string> before = ReadProfileBytes(file);
        if (write(section) || !before)
            continue;
        if (const std::optional<std::string> after = ReadProfileBytes(file))
            append = SectionAppend::Learn(file, *before, *after, section);
    }
    if (append)
        flush();
    return result;
}

}  // namespace norvane::win32

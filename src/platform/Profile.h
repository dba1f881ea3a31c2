// Private-profile (INI) files, with the exact semantics of the Win32 functions: the buffer,
// its size and the returned counts are those of GetPrivateProfileStringW.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::platform {

// A section as WritePrivateProfileSectionW takes it: "name=value" strings, each ended by a null.
struct ProfileSection {
    std::wstring name;
    std::wstring keysAndValues;

    // The entries as WritePrivateProfileSectionW reads them from a pointer, up to two nulls in a
    // row, also when the last entry lacks its own null: read as written, the list would run on
    // past the string's end.
    std::wstring List() const {
        return keysAndValues.empty() || keysAndValues.back() == L'\0' ? keysAndValues
                                                                      : keysAndValues + L'\0';
    }
};

class Profile {
public:
    virtual ~Profile() = default;

    // GetPrivateProfileStringW. A null section lists the section names, a null key lists the
    // keys of the section (names separated by nulls, the list ended by two). `size` counts
    // characters including terminators; the result counts characters copied, without the
    // final terminator(s).
    virtual std::uint32_t GetString(const wchar_t* section, const wchar_t* key,
                                    const wchar_t* defaultValue, wchar_t* buffer,
                                    std::uint32_t size, const std::wstring& file) = 0;
    // GetPrivateProfileIntW.
    virtual std::uint32_t GetInt(const wchar_t* section, const wchar_t* key,
                                 std::int32_t defaultValue, const std::wstring& file) = 0;
    // WritePrivateProfileStringW. A null value deletes the key, a null key the whole section.
    [[nodiscard]] virtual WinError WriteString(const wchar_t* section, const wchar_t* key,
                                               const wchar_t* value, const std::wstring& file) = 0;
    // WritePrivateProfileSectionW. `keysAndValues` holds "name=value" strings, each ended by a
    // null and the list by one more; they replace every line of every section of that name (a
    // string without "=" is passed over). A null list deletes the section.
    [[nodiscard]] virtual WinError WriteSection(const wchar_t* section,
                                                const wchar_t* keysAndValues,
                                                const std::wstring& file) = 0;
    // WriteSection for each section in turn, leaving the file byte for byte as those calls leave
    // it, but rewriting it fewer times: each of Windows' writes rewrites the whole file, so a
    // long report written a section at a time costs the square of its length. Answers the first
    // error of a write that failed; the other sections are written all the same.
    [[nodiscard]] virtual WinError WriteSections(const std::vector<ProfileSection>& sections,
                                                 const std::wstring& file) = 0;
};

}  // namespace norvane::platform

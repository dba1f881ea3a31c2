#include "platform/win32/Win32Profile.h"

#include "platform/win32/LastError.h"

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

}  // namespace norvane::win32

// The Profile service: the private-profile functions of Windows, called as they are.
#pragma once

#include "platform/Clock.h"
#include "platform/Profile.h"

namespace norvane::win32 {

class Win32Profile final : public platform::Profile {
public:
    // `clock` paces the retries of an append that another program's open file refuses.
    explicit Win32Profile(platform::Clock& clock) : m_clock(clock) {}

    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* buffer, std::uint32_t size, const std::wstring& file) override;
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                         const std::wstring& file) override;
    platform::WinError WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                   const std::wstring& file) override;
    platform::WinError WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                    const std::wstring& file) override;
    platform::WinError WriteSections(const std::vector<platform::ProfileSection>& sections,
                                     const std::wstring& file) override;

private:
    platform::Clock& m_clock;
};

}  // namespace norvane::win32

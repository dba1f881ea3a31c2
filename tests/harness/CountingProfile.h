// A machine's profile functions, counting the calls that pass through.
#pragma once

#include "platform/Profile.h"

namespace norvane::testing {

class CountingProfile : public platform::Profile {
public:
    explicit CountingProfile(platform::Profile& machine) : m_machine(machine) {}

    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* buffer, std::uint32_t size,
                            const std::wstring& file) override {
        ++reads;
        return m_machine.GetString(section, key, defaultValue, buffer, size, file);
    }
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                         const std::wstring& file) override {
        return m_machine.GetInt(section, key, defaultValue, file);
    }
    platform::WinError WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                   const std::wstring& file) override {
        ++stringWrites;
        return m_machine.WriteString(section, key, value, file);
    }
    platform::WinError WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                    const std::wstring& file) override {
        ++sectionWrites;
        return m_machine.WriteSection(section, keysAndValues, file);
    }
    platform::WinError WriteSections(const std::vector<platform::ProfileSection>& sections,
                                     const std::wstring& file) override {
        ++sectionsWrites;
        return m_machine.WriteSections(sections, file);
    }

    int reads = 0;
    int stringWrites = 0;
    int sectionWrites = 0;
    int sectionsWrites = 0;  // WriteSections calls, each one write of the file

private:
    platform::Profile& m_machine;
};

}  // namespace norvane::testing

// INI files in a preview: reads go to the machine, but a file the preview deleted reads as a
// missing one; the log is written (it is the preview's report), and a write to any other file is
// only recorded.
#pragma once

#include "platform/Profile.h"
#include "platform/preview/ChangeList.h"
#include "platform/preview/PreviewFileSystem.h"

namespace norvane::preview {

class PreviewProfile : public platform::Profile {
public:
    PreviewProfile(platform::Profile& machine, PreviewFileSystem& files, ChangeList& changes)
        : m_machine(machine), m_files(files), m_changes(changes) {}

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
    platform::Profile& m_machine;
    PreviewFileSystem& m_files;
    ChangeList& m_changes;
};

}  // namespace norvane::preview

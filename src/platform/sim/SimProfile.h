// The Profile service of the simulated machine: the profile engine over drive_c/. A file name
// without a folder is looked for in the Windows folder, as Windows does. A write to a read-only
// file fails with ERROR_ACCESS_DENIED and leaves it as it was.
#pragma once

#include "platform/Profile.h"
#include "platform/sim/Journal.h"
#include "platform/sim/ProfileEngine.h"
#include "platform/sim/SimFileSystem.h"

namespace norvane::sim {

class SimProfile final : public platform::Profile {
public:
    SimProfile(SimFileSystem& files, std::wstring windowsDir, std::uint32_t ansiCodePage,
               Journal& journal)
        : m_files(files),
          m_windowsDir(std::move(windowsDir)),
          m_journal(journal),
          m_engine(ansiCodePage) {}

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
    std::wstring WindowsPath(const std::wstring& file) const;
    platform::WinError Resolve(const std::wstring& file, ResolvedPath& resolved) const;
    template <typename Write>
    platform::WinError Change(const std::wstring& file, const ResolvedPath& resolved, Write write);
    void JournalWrite(std::wstring entry, platform::WinError error);

    SimFileSystem& m_files;
    std::wstring m_windowsDir;
    Journal& m_journal;
    ProfileEngine m_engine;
};

}  // namespace norvane::sim

// The private-profile functions over files of the host, as Windows implements them: the engine
// behind the simulated machine's Profile service, checked case for case against Wine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/Profile.h"
#include "platform/WinError.h"

namespace norvane::sim {

class ProfileEngine {
public:
    // `ansiCodePage`: the code page of files without a byte-order mark (AnsiCodePage).
    explicit ProfileEngine(std::uint32_t ansiCodePage = 1252) : m_codePage(ansiCodePage) {}

    // GetPrivateProfileStringW over `file` (a host path).
    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* buffer, std::uint32_t size, const std::filesystem::path& file);
    // GetPrivateProfileIntW.
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                         const std::filesystem::path& file);
    // WritePrivateProfileStringW. Returns 0 on success, else the Windows error code.
    platform::WinError WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                   const std::filesystem::path& file);
    // WritePrivateProfileSectionW.
    platform::WinError WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                    const std::filesystem::path& file);
    // WriteSection for each section in turn, over a file read and written once.
    platform::WinError WriteSections(const std::vector<platform::ProfileSection>& sections,
                                     const std::filesystem::path& file);

private:
    std::uint32_t m_codePage;
};

}  // namespace norvane::sim

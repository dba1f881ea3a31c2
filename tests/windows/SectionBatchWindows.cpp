// Runs the section batch cases against the Win32 backend's WriteSections and kernel32's
// WritePrivateProfileSectionW, so that the sections it appends itself are held to the bytes
// Windows' writer gives (under Wine, Wine's). A console program, as the profile case runner.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32/Win32Profile.h"
#include "profile/SectionBatchCases.h"

namespace {

namespace fs = std::filesystem;

std::uint32_t ErrorOf(BOOL succeeded) {
    return succeeded ? 0 : GetLastError();
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() /
                            ("norvane-section-batch-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    norvane::win32::Win32Profile profile;
    const int status = norvane::profile_cases::ReportCases(
        norvane::profile_cases::SectionBatchCases(), [&](const auto& c) {
            return norvane::profile_cases::RunSectionBatchCase(
                c, folder,
                [](const wchar_t* section, const wchar_t* list, const fs::path& file) {
                    return ErrorOf(WritePrivateProfileSectionW(section, list, file.c_str()));
                },
                [&](const std::vector<norvane::platform::ProfileSection>& sections,
                    const fs::path& file) {
                    return profile.WriteSections(sections, file.wstring());
                },
                [](const wchar_t* section, const wchar_t* key, const wchar_t* value,
                   const fs::path& file) {
                    return ErrorOf(WritePrivateProfileStringW(section, key, value, file.c_str()));
                });
        });
    std::error_code ec;
    fs::remove_all(folder, ec);
    return status;
}

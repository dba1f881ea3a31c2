// Runs the private-profile case table against kernel32, so that the answers the simulated engine
// is held to can be checked on real Windows (or Wine). A console program rather than a GoogleTest
// binary, so that the Windows build needs nothing beyond MinGW.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "profile/ProfileCases.h"

namespace {

namespace fs = std::filesystem;
using norvane::profile_cases::ProfileApi;

class Kernel32ProfileApi : public ProfileApi {
public:
    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* buffer, std::uint32_t size, const fs::path& file) override {
        return GetPrivateProfileStringW(section, key, defaultValue, buffer, size, file.c_str());
    }
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                         const fs::path& file) override {
        return GetPrivateProfileIntW(section, key, defaultValue, file.c_str());
    }
    std::uint32_t WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                              const fs::path& file) override {
        // A failure that forgot to set an error must not pass for success or for a stale code.
        SetLastError(ERROR_INVALID_FUNCTION);
        return WritePrivateProfileStringW(section, key, value, file.c_str()) ? 0 : GetLastError();
    }
    std::uint32_t WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                               const fs::path& file) override {
        SetLastError(ERROR_INVALID_FUNCTION);
        return WritePrivateProfileSectionW(section, keysAndValues, file.c_str()) ? 0
                                                                                 : GetLastError();
    }
};

// A folder of this run's own under the user's temporary folder, removed at the end.
fs::path MakeFolder() {
    const fs::path folder = fs::temp_directory_path() /
                            ("norvane-profile-cases-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    return folder;
}

}  // namespace

int main() {
    const fs::path folder = MakeFolder();
    Kernel32ProfileApi api;
    const int status = norvane::profile_cases::ReportCases(
        norvane::profile_cases::Cases(),
        [&](const auto& c) { return norvane::profile_cases::RunCase(c, api, folder); });
    std::error_code ec;
    fs::remove_all(folder, ec);
    return status;
}

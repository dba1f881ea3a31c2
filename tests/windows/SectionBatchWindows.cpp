// Runs the section batch cases against the Win32 backend's WriteSections and kernel32's
// WritePrivateProfileSectionW, so that the sections it appends itself are held to the bytes
// Windows' writer gives (under Wine, Wine's). A console program, as the profile case runner.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Profile.h"
#include "profile/SectionBatchCases.h"

namespace {

namespace fs = std::filesystem;

std::uint32_t ErrorOf(BOOL succeeded) {
    return succeeded ? 0 : GetLastError();
}

// Another program's handle on the file, open for writing and sharing reading and writing, as a
// viewer that follows a growing log keeps it: the profile writer, which shares both, still opens
// the file, the appender, which lets no one else write while it appends, does not. The clock's
// pauses are counted, and the holder lets go at the pause given (0: never).
class HolderClock final : public norvane::platform::Clock {
public:
    HolderClock(const fs::path& file, int letGoAt)
        : m_holder(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)),
          m_letGoAt(letGoAt) {}
    ~HolderClock() override { LetGo(); }
    void Sleep(std::uint32_t) override {
        if (++m_pauses == m_letGoAt)
            LetGo();
    }
    norvane::platform::LocalTime Now() override { return {}; }
    std::int32_t TimeZoneBias() override { return 0; }
    int Pauses() const { return m_pauses; }

private:
    void LetGo() {
        if (m_holder != INVALID_HANDLE_VALUE)
            CloseHandle(std::exchange(m_holder, INVALID_HANDLE_VALUE));
    }
    HANDLE m_holder;
    int m_letGoAt;
    int m_pauses = 0;
};

// The first section teaches the appender, the others are appended while the file is held: they
// are tried again a few times and then handed to the writer, never lost.
int HeldFileCases(const fs::path& folder) {
    const struct {
        const char* name;
        int letGoAt;
        int pauses;
    } cases[] = {{"HeldFileLetGoAtTheFirstPause", 1, 1}, {"HeldFileThroughout", 0, 4}};
    int failed = 0;
    for (const auto& c : cases) {
        const fs::path file = folder / (std::string(c.name) + ".ini");
        HolderClock clock(file, c.letGoAt);
        norvane::win32::Win32Profile profile(clock);
        const auto section = [](const wchar_t* name, const wchar_t* value) {
            return norvane::platform::ProfileSection{name, L"k=" + std::wstring(value) + L'\0'};
        };
        const auto error = profile.WriteSections(
            {section(L"A", L"a"), section(L"B", L"b"), section(L"C", L"c")}, file.wstring());
        wchar_t value[8] = {};
        GetPrivateProfileStringW(L"C", L"k", L"", value, 8, file.c_str());
        if (error || clock.Pauses() != c.pauses || std::wstring(value) != L"c") {
            ++failed;
            std::printf("%s: error %u, %d pauses, [C] k=%ls\n", c.name, error, clock.Pauses(),
                        value);
        }
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() /
                            ("norvane-section-batch-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    norvane::win32::Win32Clock clock;
    norvane::win32::Win32Profile profile(clock);
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
    const int held = HeldFileCases(folder);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return status | held;
}

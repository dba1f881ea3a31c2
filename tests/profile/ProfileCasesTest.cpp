#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>

#include "platform/sim/ProfileEngine.h"
#include "profile/ProfileCases.h"
#include "profile/SectionBatchCases.h"

namespace norvane {
namespace profile_cases {

// Names the case in a failure report rather than dumping its bytes.
void PrintTo(const ProfileCase& c, std::ostream* out) {
    *out << c.name;
}
void PrintTo(const SectionBatchCase& c, std::ostream* out) {
    *out << c.name;
}

}  // namespace profile_cases

namespace {

namespace fs = std::filesystem;
using profile_cases::ProfileCase;

class SimProfileApi : public profile_cases::ProfileApi {
public:
    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* buffer, std::uint32_t size, const fs::path& file) override {
        return engine_.GetString(section, key, defaultValue, buffer, size, file);
    }
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                         const fs::path& file) override {
        return engine_.GetInt(section, key, defaultValue, file);
    }
    std::uint32_t WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                              const fs::path& file) override {
        return engine_.WriteString(section, key, value, file);
    }
    std::uint32_t WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                               const fs::path& file) override {
        return engine_.WriteSection(section, keysAndValues, file);
    }

private:
    sim::ProfileEngine engine_;
};

// A folder of its own for each test, so that runs in parallel do not meet.
class TempFolder {
public:
    TempFolder() {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string safe;
        for (char c : test)
            safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        path_ = fs::temp_directory_path() /
                ("norvane-profile-" + safe + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

class ProfileCaseTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileCaseTest, AgreesWithWindows) {
    TempFolder folder;
    SimProfileApi api;
    for (const std::string& mismatch : profile_cases::RunCase(GetParam(), api, folder.path())) {
        ADD_FAILURE() << mismatch;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileCaseTest, ::testing::ValuesIn(profile_cases::Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

class SectionBatchTest : public ::testing::TestWithParam<profile_cases::SectionBatchCase> {};

TEST_P(SectionBatchTest, LeavesTheFileOfOneSectionWriteEach) {
    TempFolder folder;
    sim::ProfileEngine engine;
    const auto mismatches = profile_cases::RunSectionBatchCase(
        GetParam(), folder.path(),
        [&](const wchar_t* section, const wchar_t* list, const fs::path& file) {
            return engine.WriteSection(section, list, file);
        },
        [&](const std::vector<platform::ProfileSection>& sections, const fs::path& file) {
            return engine.WriteSections(sections, file);
        },
        [&](const wchar_t* section, const wchar_t* key, const wchar_t* value,
            const fs::path& file) { return engine.WriteString(section, key, value, file); });
    for (const std::string& mismatch : mismatches)
        ADD_FAILURE() << mismatch;
}

INSTANTIATE_TEST_SUITE_P(Table, SectionBatchTest,
                         ::testing::ValuesIn(profile_cases::SectionBatchCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The engine keeps parsed files between calls; a file changed behind its back must still read as
// it now is.
class ProfileEngineCacheTest : public ::testing::Test {
protected:
    void Put(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
    std::wstring Read() {
        wchar_t buffer[16];
        engine_.GetString(L"s", L"k", L"", buffer, 16, file_);
        return buffer;
    }

    TempFolder folder_;
    fs::path file_ = folder_.path() / "cached.ini";
    sim::ProfileEngine engine_;
};

TEST_F(ProfileEngineCacheTest, SeesRewriteWithSameSizeAndTime) {
    Put("[s]\r\nk=1\r\n");
    ASSERT_EQ(Read(), L"1");
    const fs::file_time_type time = fs::last_write_time(file_);
    Put("[s]\r\nk=2\r\n");
    fs::last_write_time(file_, time);
    EXPECT_EQ(Read(), L"2");
}

TEST_F(ProfileEngineCacheTest, SeesRewriteOfLongSettledFile) {
    Put("[s]\r\nk=1\r\n");
    fs::last_write_time(file_, fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_EQ(Read(), L"1");
    ASSERT_EQ(Read(), L"1");
    Put("[s]\r\nk=2\r\n");
    EXPECT_EQ(Read(), L"2");
}

TEST_F(ProfileEngineCacheTest, SeesRewriteAfterItsOwnWrite) {
    ASSERT_EQ(engine_.WriteString(L"s", L"k", L"1", file_), 0u);
    const fs::file_time_type time = fs::last_write_time(file_);
    Put("[s]\r\nk=3\r\n");
    fs::last_write_time(file_, time);
    EXPECT_EQ(Read(), L"3");
}

}  // namespace
}  // namespace norvane

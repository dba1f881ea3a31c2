#include "platform/sim/PeStringTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/sim/RcStringTable.h"

namespace norvane::sim {
namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The language libraries the Windows build made (its package folder in NORVANE_WINDOWS_PACKAGE),
// read back against the resource scripts windres compiled them from.
class PeStringTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* package = std::getenv("NORVANE_WINDOWS_PACKAGE");
        if (!package)
            GTEST_SKIP() << "NORVANE_WINDOWS_PACKAGE names no Windows build";
        m_package = package;
    }
    std::filesystem::path m_package;
};

TEST_F(PeStringTableTest, EveryLanguageLibraryHoldsItsScriptsStrings) {
    for (const char* language : {"ENU", "JPN", "CHS", "CHT", "KOR"}) {
        SCOPED_TRACE(language);
        std::map<std::uint32_t, std::wstring> script, image;
        ASSERT_FALSE(ReadRcStringTable(
            FileBytes(std::filesystem::path(NORVANE_RESOURCES_DIR) / language / "Norvane.rc"),
            script));
        ASSERT_FALSE(ReadPeStringTable(FileBytes(m_package / language / "Norvane.dll"), image));
        EXPECT_EQ(image, script);
    }
}

// Every cut of a real library is refused or reads entries the whole library holds; no cut and no
// overwritten byte makes the reader look past the end (which the sanitized build would catch).
TEST_F(PeStringTableTest, DamagedImagesAreRefusedOrReadWithinBounds) {
    const auto whole = FileBytes(m_package / "ENU" / "Norvane.dll");
    std::map<std::uint32_t, std::wstring> full;
    ASSERT_FALSE(ReadPeStringTable(whole, full));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        std::map<std::uint32_t, std::wstring> strings;
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
        if (!ReadPeStringTable(cut, strings)) {
            for (const auto& [id, text] : strings)
                ASSERT_EQ(full.at(id), text) << "cut at " << size;
        }
    }
    for (std::size_t at = 0; at < whole.size(); ++at) {
        std::map<std::uint32_t, std::wstring> strings;
        auto damaged = whole;
        damaged[at] ^= 0xFF;
        (void)ReadPeStringTable(damaged, strings);
    }
}

}  // namespace
}  // namespace norvane::sim

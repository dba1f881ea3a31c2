#include "platform/sim/PathMap.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "harness/TestMachine.h"

namespace norvane::sim {
namespace {

std::vector<std::wstring> Parts(const std::wstring& path,
                                const std::wstring& current = L"C:\\Cur") {
    std::vector<std::wstring> parts;
    PathMap map("/nonexistent");
    if (map.Components(path, current, parts))
        return {L"<error>"};
    return parts;
}

TEST(PathMapTest, NormalisesAsWin32Does) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(Parts(L"C:\\A\\.\\B\\..\\C"), (V{L"A", L"C"}));
    EXPECT_EQ(Parts(L"c:/a//b/"), (V{L"a", L"b"}));
    EXPECT_EQ(Parts(L"\\Windows"), (V{L"Windows"}));
    EXPECT_EQ(Parts(L"file.txt"), (V{L"Cur", L"file.txt"}));
    EXPECT_EQ(Parts(L"C:\\A\\name. . "), (V{L"A", L"name"}));
    EXPECT_EQ(Parts(L"C:\\..\\.."), V{});
    EXPECT_EQ(Parts(L"D:\\A"), V{L"<error>"});
    EXPECT_EQ(Parts(L"\\\\server\\share"), V{L"<error>"});
}

TEST(PathMapTest, WildcardsMatchLikeFindFirstFile) {
    EXPECT_TRUE(MatchesPattern(L"oem*.inf", L"OEM12.INF"));
    EXPECT_FALSE(MatchesPattern(L"oem*.inf", L"oem12.pnf"));
    EXPECT_TRUE(MatchesPattern(L"*.*", L"README"));
    EXPECT_TRUE(MatchesPattern(L"a?c", L"ABC"));
    EXPECT_FALSE(MatchesPattern(L"a?c", L"ac"));
    EXPECT_TRUE(MatchesPattern(L"*", L""));
    EXPECT_TRUE(SameFileName(L"Émile.TXT", L"émile.txt"));
}

// Names spelled otherwise than on the host are looked up in the folder's names as last listed:
// what the machine itself makes or removes is known at once, and what changes behind its back is
// seen by the folder's newer time.
TEST(PathMapTest, NamesSpelledOtherwiseFollowEveryChange) {
    testing::TestMachine m;
    m.WriteFile(L"C:\\Logs\\Old.bin", "x");
    const PathMap map(m.Folder() / "drive_c");
    const auto found = [&](const std::wstring& path) {
        ResolvedPath resolved;
        return map.Resolve(path, L"C:\\", resolved) == 0 && resolved.exists
                   ? resolved.host.filename().string()
                   : std::string("-");
    };
    EXPECT_EQ(found(L"C:\\LOGS\\OLD.BIN"), "Old.bin");
    EXPECT_EQ(found(L"C:\\logs\\new.bin"), "-");

    // Made by the machine, within the same tick of the folder's time.
    const auto logs = m.Folder() / "drive_c" / "Logs";
    map.Change(logs / "New.bin",
               [&] { return static_cast<bool>(std::ofstream(logs / "New.bin") << "x"); });
    EXPECT_EQ(found(L"C:\\logs\\NEW.bin"), "New.bin");

    // Made and removed behind its back, the folder's time then moved on.
    std::ofstream(logs / "Other.bin") << "x";
    std::filesystem::remove(logs / "Old.bin");
    std::filesystem::last_write_time(
        logs, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    EXPECT_EQ(found(L"C:\\LOGS\\OTHER.BIN"), "Other.bin");
    EXPECT_EQ(found(L"C:\\LOGS\\OLD.BIN"), "-");

    // Removed by the machine, with another name folding alike left.
    std::ofstream(logs / "other.BIN") << "x";
    map.Change(logs / "Other.bin", [&] { return std::filesystem::remove(logs / "Other.bin"); });
    EXPECT_EQ(found(L"C:\\LOGS\\OTHER.BIN"), "other.BIN");

    // Removed by the machine, with nothing else changed: gone at once.
    map.Change(logs / "New.bin", [&] { return std::filesystem::remove(logs / "New.bin"); });
    EXPECT_EQ(found(L"C:\\LOGS\\NEW.BIN"), "-");
}

// A folder found once is where the next path in it starts; it must not outlive the folder.
TEST(PathMapTest, FoldersFoundBeforeFollowTheirRemoval) {
    namespace fs = std::filesystem;
    testing::TestMachine m;
    m.WriteFile(L"C:\\Data\\Sub\\a.txt", "x");
    const fs::path drive = m.Folder() / "drive_c";
    const PathMap map(drive);
    const auto found = [&](const std::wstring& path) {
        ResolvedPath resolved;
        if (map.Resolve(path, L"C:\\", resolved))
            return std::string("not found");
        return resolved.host.lexically_relative(drive).generic_string() +
               (resolved.exists ? "" : " (new)");
    };
    EXPECT_EQ(found(L"C:\\DATA\\SUB\\A.TXT"), "Data/Sub/a.txt");

    // Made again spelled otherwise.
    fs::remove_all(drive / "Data");
    fs::create_directories(drive / "data" / "SUB");
    EXPECT_EQ(found(L"C:\\DATA\\SUB\\A.TXT"), "data/SUB/A.TXT (new)");

    // A file where the folder was.
    fs::remove_all(drive / "data" / "SUB");
    std::ofstream(drive / "data" / "SUB") << "x";
    EXPECT_EQ(found(L"C:\\DATA\\SUB\\A.TXT"), "not found");
    EXPECT_EQ(found(L"C:\\DATA\\sub"), "data/SUB");
}

}  // namespace
}  // namespace norvane::sim

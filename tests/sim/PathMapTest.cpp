#include "platform/sim/PathMap.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace norvane::sim

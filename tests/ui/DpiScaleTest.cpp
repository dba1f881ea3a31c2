// The list columns' share of the list's width at 96 DPI and others, the gaps rounded to the
// nearest pixel as MulDiv rounds them.
#include <gtest/gtest.h>

#include "platform/win32/DpiScale.h"

namespace norvane::win32 {
namespace {

TEST(DpiScale, ColumnsShareTheListsWidth) {
    struct Case {
        const char* name;
        int width, columns, dpi;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"one column, 96 DPI", 600, 1, 96, {595}},
        {"one column, 144 DPI: the room scales, 7.5 rounded up", 900, 1, 144, {892}},
        {"one column, 120 DPI: 6.25 rounded down", 750, 1, 120, {744}},
        {"three columns, 96 DPI", 600, 3, 96, {198, 198, 198}},
        {"three columns, 144 DPI", 900, 3, 144, {297, 297, 297}},
        {"a list narrower than the room", 6, 1, 144, {0}},
        {"no columns", 600, 0, 96, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnWidths(c.width, c.columns, c.dpi), c.expected) << c.name;
}

}  // namespace
}  // namespace norvane::win32

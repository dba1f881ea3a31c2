// The pixel sizes of the dialogs at other DPIs than 96: rounding as MulDiv rounds, and the list
// columns' share of the list's width.
#include <gtest/gtest.h>

#include "platform/win32/DpiScale.h"

namespace norvane::win32 {
namespace {

TEST(DpiScale, RoundsAsMulDiv) {
    struct Case {
        int pixels, dpi, expected;
    };
    const Case cases[] = {
        {5, 96, 5},    {5, 144, 8},  // 7.5 rounds up
        {5, 120, 6},   {2, 144, 3},  // 6.25 rounds down
        {32, 192, 64}, {0, 144, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
}

TEST(DpiScale, ColumnsShareTheListsWidth) {
    struct Case {
        const char* name;
        int width, columns, dpi;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"one column, 96 DPI", 600, 1, 96, {595}},
        {"one column, 144 DPI: the room scales too", 900, 1, 144, {892}},
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

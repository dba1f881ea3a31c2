// What the dialogs size in pixels, at a window's dots per inch. A dialog template is in dialog
// units and scales with its font; sizes given in pixels are chosen at 96 DPI (100 %) and scaled
// here. Free of the Windows headers, so that the arithmetic is tested on every build.
#pragma once

#include <algorithm>
#include <vector>

namespace norvane::win32 {

inline constexpr int kDesignDpi = 96;

// A size of `pixels` at 96 DPI, at `dpi`: rounded to the nearest pixel, a half up, as
// MulDiv(pixels, dpi, 96) rounds it.
constexpr int ScaleToDpi(int pixels, int dpi) {
    return static_cast<int>((static_cast<long long>(pixels) * dpi + kDesignDpi / 2) / kDesignDpi);
}

// A list's columns share its width (border included): one column takes all of it but the border
// and a little room, several take an equal part each less a gap. No width falls below zero.
inline std::vector<int> ColumnWidths(int listWidth, int columns, int dpi) {
    if (columns <= 0)
        return {};
    const int each =
        columns == 1 ? listWidth - ScaleToDpi(5, dpi) : listWidth / columns - ScaleToDpi(2, dpi);
    return std::vector<int>(static_cast<std::size_t>(columns), std::max(each, 0));
}

}  // namespace norvane::win32

#pragma once

// Mouse-wheel scrolling of the recognition grid: three rows a notch, 120 units of wheel distance a notch.
namespace MouseWheel {

inline constexpr int kUnitsPerNotch = 120;
inline constexpr int kRowsPerNotch = 3;

// The grid's new first visible data row after one notch. rows counts the header row too, so the last data row
// is rows - 1 and may come to the top. A positive rotation (away from the user) scrolls up, to row 1 at least.
inline int NewTopRow(int topRow, int rows, int rotation)
{
    if (rotation > 0)
        return topRow - kRowsPerNotch < 1 ? 1 : topRow - kRowsPerNotch;
    const int last = rows - 1 < 1 ? 1 : rows - 1;
    return topRow + kRowsPerNotch > last ? last : topRow + kRowsPerNotch;
}

} // namespace MouseWheel

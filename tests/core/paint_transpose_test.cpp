// Rows and columns swapped: every pixel lands where the rule puts it, and
// whatever falls outside either bitmap is left out (under the sanitizers, a
// write outside a bitmap fails the run).
#include <gtest/gtest.h>

#include <cstdint>

#include "paint/transpose.h"

namespace korvel {
namespace {

// A picture whose three channels differ and change along both axes.
TBitmap24 Pattern(int width, int height) {
    TBitmap24 b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, static_cast<std::uint32_t>(((x * 7) & 0xFF) | (((y * 13) & 0xFF) << 8) | (((x + y) & 0xFF) << 16)));
    return b;
}

TEST(PaintTranspose, EveryPixelLandsSwappedAndNothingOutsideIsWritten) {
    struct Case { const char* what; TRect source; TPoint at; };
    const Case cases[] = {
        {"whole", {0, 0, 9, 5}, {0, 0}},
        {"part, moved", {2, 1, 7, 4}, {3, 4}},
        {"source beyond its bitmap", {-3, -2, 12, 8}, {1, 1}},
        {"landing off the left and top", {0, 0, 9, 5}, {-2, -3}},
        {"landing off the right and bottom", {0, 0, 9, 5}, {4, 6}},
        {"all outside", {0, 0, 9, 5}, {20, 20}},
        {"empty", {4, 2, 4, 5}, {0, 0}},
    };
    const TBitmap24 source = Pattern(9, 5);
    constexpr std::uint32_t kUntouched = 0x123456;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBitmap24 dest(8, 11);   // rows without padding: a pixel past the right edge would show in the next row
        dest.Fill(kUntouched);
        CopyTransposed(source, c.source, dest, c.at);
        for (int y = 0; y < dest.Height(); ++y) {
            for (int x = 0; x < dest.Width(); ++x) {
                // The source pixel that lands here, by the rule read backwards.
                const int sx = c.source.Left + (y - c.at.Y), sy = c.source.Top + (x - c.at.X);
                const bool inside = sx >= c.source.Left && sx < c.source.Right && sy >= c.source.Top &&
                                    sy < c.source.Bottom && sx >= 0 && sx < source.Width() && sy >= 0 &&
                                    sy < source.Height();
                EXPECT_EQ(dest.Pixel(x, y), inside ? source.Pixel(sx, sy) : kUntouched) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace korvel

#include "gui/bitmap24.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(Bitmap24, RowsArePaddedAndStrideFollowsRowOrder) {
    struct Case { int width; std::ptrdiff_t rowBytes; } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {329, 988}};
    for (auto c : cases) {
        TBitmap24 up(c.width, 3, TRowOrder::BottomUp);
        TBitmap24 down(c.width, 3, TRowOrder::TopDown);
        EXPECT_EQ(up.ScanLine(1) - up.ScanLine(0), -c.rowBytes) << c.width;
        EXPECT_EQ(down.ScanLine(1) - down.ScanLine(0), c.rowBytes) << c.width;
        EXPECT_EQ(up.Stride(), -c.rowBytes);
    }
}

TEST(Bitmap24, PixelsAreBlueGreenRedAndStartBlack) {
    TBitmap24 bmp(3, 2, TRowOrder::BottomUp);
    EXPECT_EQ(bmp.Pixel(2, 1), 0u);
    bmp.SetPixel(2, 1, 0x00112233);   // red 0x33, green 0x22, blue 0x11
    const std::uint8_t* p = bmp.ScanLine(1) + 6;
    EXPECT_EQ(p[0], 0x11);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x33);
    EXPECT_EQ(bmp.Pixel(2, 1), 0x00112233u);
    TBitmap24 copy = bmp.Clone();
    EXPECT_EQ(copy.Pixel(2, 1), 0x00112233u);
    EXPECT_EQ(copy.Pixel(0, 0), 0u);
}

TEST(Bitmap24, ResizingReleasesTheOldPixelsAndEmptySizesHoldNone) {
    const int before = LivePixelStores();
    {
        TBitmap24 bmp(10, 10);
        EXPECT_EQ(LivePixelStores(), before + 1);
        bmp.SetSize(20, 5);
        EXPECT_EQ(LivePixelStores(), before + 1);
        EXPECT_EQ(bmp.Width(), 20);
        bmp.SetSize(0, 5);
        EXPECT_TRUE(bmp.Empty());
        EXPECT_EQ(LivePixelStores(), before);
        EXPECT_EQ(bmp.Handle(), nullptr);
    }
    EXPECT_EQ(LivePixelStores(), before);
}

// Pictures turned to a side: where each corner of an upright picture lands,
// taking a place back upright undoes putting it there, and places that reach
// outside the bitmap or pictures of the wrong size draw nothing out of bounds.
#include <gtest/gtest.h>

#include <random>

#include "paint/turn.h"

using namespace korvel;

namespace {

TBitmap24 Random(int w, int h, std::mt19937& rng) {
    TBitmap24 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x) b.ScanLine(y)[x] = static_cast<std::uint8_t>(rng());
    return b;
}

struct TCornerCase {
    TTurn Turn;
    const char* What;
    // Where the upright picture's top-left, top-right and bottom-left pixels land in a w x h place.
    TPoint TopLeft, TopRight, BottomLeft;
};

}  // namespace

TEST(PaintTurn, UprightCornersLandWhereTheSideSays) {
    const int w = 7, h = 4;   // the place
    const TCornerCase cases[] = {
        {TTurn::None, "none", {0, 0}, {w - 1, 0}, {0, h - 1}},
        // Upside down: the top row becomes the bottom row, left stays left.
        {TTurn::FlipVertical, "flip", {0, h - 1}, {w - 1, h - 1}, {0, 0}},
        // A quarter anticlockwise: the top row runs up the left column, the bottom row is the right column.
        {TTurn::Left, "left", {0, h - 1}, {0, 0}, {w - 1, h - 1}},
        // A quarter clockwise: the top row runs down the right column, the bottom row is the left column.
        {TTurn::Right, "right", {w - 1, 0}, {w - 1, h - 1}, {0, 0}},
    };
    for (const TCornerCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TPoint size = UprightSize(c.Turn, w, h);
        TBitmap24 upright(size.X, size.Y);
        upright.Fill(0x000000);
        upright.SetPixel(0, 0, 0x0000FF);
        upright.SetPixel(size.X - 1, 0, 0x00FF00);
        upright.SetPixel(0, size.Y - 1, 0xFF0000);
        TBitmap24 dest(w + 4, h + 4);
        dest.Fill(0x808080);
        PutTurned(upright, dest, {2, 2, 2 + w, 2 + h}, c.Turn);
        EXPECT_EQ(dest.Pixel(2 + c.TopLeft.X, 2 + c.TopLeft.Y), 0x0000FFu);
        EXPECT_EQ(dest.Pixel(2 + c.TopRight.X, 2 + c.TopRight.Y), 0x00FF00u);
        EXPECT_EQ(dest.Pixel(2 + c.BottomLeft.X, 2 + c.BottomLeft.Y), 0xFF0000u);
        // Nothing outside the place.
        EXPECT_EQ(dest.Pixel(1, 1), 0x808080u);
        EXPECT_EQ(dest.Pixel(2 + w, 2 + h), 0x808080u);
    }
}

TEST(PaintTurn, TakingAPlaceBackUprightAndPuttingItThereAgainKeepsEveryPixel) {
    std::mt19937 rng(27);
    for (TTurn turn : {TTurn::None, TTurn::FlipVertical, TTurn::Left, TTurn::Right}) {
        const TBitmap24 source = Random(23, 17, rng);
        const TRect place{3, 2, 3 + 13, 2 + 9};
        const TBitmap24 upright = TakeUpright(source, place, turn);
        const TPoint size = UprightSize(turn, place.Width(), place.Height());
        ASSERT_EQ(upright.Width(), size.X);
        ASSERT_EQ(upright.Height(), size.Y);
        TBitmap24 copy = Random(23, 17, rng);
        PutTurned(upright, copy, place, turn);
        for (int y = place.Top; y < place.Bottom; ++y)
            for (int x = place.Left; x < place.Right; ++x) ASSERT_EQ(copy.Pixel(x, y), source.Pixel(x, y)) << x << "," << y;
    }
}

TEST(PaintTurn, PlacesOutsideTheBitmapAndPicturesOfTheWrongSizeDrawNothingOutside) {
    std::mt19937 rng(5);
    const TBitmap24 upright = Random(6, 10, rng);   // the upright of a 10 x 6 place turned a quarter
    TBitmap24 dest(8, 8);
    dest.Fill(0x123456);
    PutTurned(upright, dest, {-4, 5, 6, 11}, TTurn::Left);   // reaches past the left and the bottom
    for (int y = 5; y < 8; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_NE(dest.Pixel(x, y), 0x123456u) << "inside the bitmap the picture shows";
    EXPECT_EQ(dest.Pixel(7, 7), 0x123456u);
    TBitmap24 untouched(8, 8);
    untouched.Fill(0x123456);
    PutTurned(upright, untouched, {0, 0, 6, 10}, TTurn::Left);   // a 6 x 10 place needs a 10 x 6 upright
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(untouched.Pixel(x, y), 0x123456u);
    const TBitmap24 outside = TakeUpright(dest, {20, 20, 25, 23}, TTurn::Right);
    EXPECT_EQ(outside.Width(), 3);
    EXPECT_EQ(outside.Height(), 5);
    EXPECT_EQ(outside.Pixel(0, 0), 0u);
}

// Where a mask's pixels come from: the state columns of frames (three piece
// columns per state, whatever the rest of the width) and of glyphs, pictures of
// the entry's own with and without a transparency part, and MaskType values
// above 1. Every expected pixel is computed from the layout rules on a picture
// whose every pixel differs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "paint/mask.h"
#include "paint/shared_state.h"
#include "paint_picture_support.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

// The image column (row) a frame pixel at offset v of a length-long side takes,
// for pieces p long (no narrow split: length >= 2 p): first piece, tiled middle, last piece.
int FramePieceOffset(int v, int length, int p) {
    if (v < p) return v;
    if (v >= length - p) return 2 * p + v - (length - p);
    return p + (v - p) % p;
}

}  // namespace

TEST(MaskLayout, FrameStatesStartAtThreePieceColumnsPerState) {
    // 32 wide with 3 states: pieces 32 div 9 = 3 wide, so state s starts at 9 s,
    // not at s * (32 div 3); the columns 27 to 31 belong to no state.
    constexpr int kWidth = 32, kPiece = 3, kStates = 3;
    for (int maskType : {0, 1, 2}) {
        const int partHeight = kPiece * 3 + 1;   // one row left over below the pieces
        TsSkinTables t;
        const auto picture = Picture(kWidth, partHeight, maskType + 1);
        t.MasterBitmap.SetSize(kWidth + 2, picture->Height() + 1);
        for (int y = 0; y < picture->Height(); ++y)
            for (int x = 0; x < kWidth; ++x) t.MasterBitmap.SetPixel(x + 2, y, picture->Pixel(x, y));
        TsMaskData m;
        m.R = {2, 0, 2 + kWidth, picture->Height()};
        m.ImageCount = kStates;
        m.MaskType = static_cast<std::int16_t>(maskType);
        const int alphaOffset = maskType ? partHeight : 0;
        for (int state : {0, 1, 2, 5}) {
            const int stateLeft = std::min(state, kStates - 1) * kPiece * 3;
            TBitmap24 b(17, 14);
            FillBackground(b);
            const TBitmap24 before = b.Clone();
            DrawSkinRect(b, {1, 1, 16, 13}, true, {}, state, t, m);
            for (int y = 1; y < 13; ++y)
                for (int x = 1; x < 16; ++x) {
                    const int sx = stateLeft + FramePieceOffset(x - 1, 15, kPiece);
                    const int sy = FramePieceOffset(y - 1, 12, kPiece);
                    ASSERT_EQ(b.Pixel(x, y), Expected(*picture, sx, sy, alphaOffset, before.Pixel(x, y)))
                        << "type " << maskType << " state " << state << " at " << x << "," << y;
                }
        }
    }
}

TEST(MaskLayout, CornerRefreshAndRegionRunsFollowTheFrameStateColumns) {
    // Key pixels only in state 1's corners (pieces 3 wide of a 32-wide, 3-state
    // image): the top-left pixel of its top-left corner and the last of its top-right.
    TsSkinTables t;
    const auto picture = Picture(32, 9, 2);
    t.MasterBitmap = picture->Clone();
    const int state1 = 9;
    t.MasterBitmap.SetPixel(state1 + 0, 0, kKey);
    t.MasterBitmap.SetPixel(state1 + 8, 0, kKey);
    // Where state 1 would start with a third of the width, nothing is key.
    TsMaskData m;
    m.R = {0, 0, 32, 18};
    m.ImageCount = 3;
    m.MaskType = 1;
    TBitmap24 cache(12, 10);
    cache.Fill(0x111111);
    UpdateCorners(cache, t, m, 1, crAll, {TCornerFill::cfColor, 0x00ABCDEF});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool key = y == 0 && (x == 0 || x == 11);
            ASSERT_EQ(cache.Pixel(x, y), key ? 0x00ABCDEFu : 0x111111u) << x << "," << y;
        }
    UpdateCorners(cache, t, m, 0, crAll, {TCornerFill::cfColor, 0x00FEDCBA});   // state 0 has no key pixels
    EXPECT_EQ(cache.Pixel(0, 0), 0x00ABCDEFu);

    TBitmap24 button(12, 10);
    std::vector<TRect> runs;
    DrawSkinRectRegion(button, runs, 1, clNone, t, m);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (TRect{0, 0, 1, 1}));
    EXPECT_EQ(runs[1], (TRect{11, 0, 12, 1}));
}

TEST(MaskLayout, GlyphsOfEveryKindOfImage) {
    // Own pictures and master rectangles, with and without a transparency part,
    // in both glyph modes: the state column is s * (width div ImageCount), the
    // part height is height div (MaskType + 1), the transparency part lies one part
    // height below the colour, and an image without one is copied with the key
    // colour left out (own pictures in every mode, master images in mode 1).
    struct Case { const char* name; bool own; int imageCount, maskType, width, partHeight; } cases[] = {
        {"own, counts left 0 (3 states over transparency)", true, 0, 0, 13, 4},
        {"own, one state, colour only (a small texture)", true, 1, 0, 5, 6},
        {"own, two states, colour only", true, 2, 0, 11, 3},
        {"own, two states over transparency", true, 2, 1, 9, 4},
        {"own, MaskType 2", true, 1, 2, 4, 3},
        {"master, colour only", false, 3, 0, 10, 4},
        {"master, MaskType 2", false, 2, 2, 8, 3},
    };
    for (const Case& c : cases) {
        const int maskType = c.own && c.imageCount == 0 ? 1 : c.maskType;
        const int states = c.imageCount == 0 ? 3 : c.imageCount;
        const auto picture = Picture(c.width, c.partHeight, maskType + 1);
        picture->SetPixel(1, 1, kKey);
        if (states > 1) picture->SetPixel(c.width / states + 2, 0, kKey);   // and one in state 1
        TsSkinTables t;
        TsMaskData m;
        m.ImageCount = static_cast<std::int16_t>(c.imageCount);
        m.MaskType = static_cast<std::int16_t>(c.maskType);
        if (c.own) {
            m.Bmp = picture;
        } else {
            t.MasterBitmap.SetSize(c.width + 3, picture->Height() + 2);
            for (int y = 0; y < picture->Height(); ++y)
                for (int x = 0; x < c.width; ++x) t.MasterBitmap.SetPixel(x + 3, y + 2, picture->Pixel(x, y));
            m.R = {3, 2, 3 + c.width, 2 + picture->Height()};
        }
        const int stateWidth = c.width / states;
        const int alphaOffset = maskType ? c.partHeight : 0;
        for (int mode : {1, 0})
            for (int state : {0, 1, 4}) {
                const int stateLeft = std::min(state, states - 1) * stateWidth;
                TBitmap24 b(stateWidth + 3, c.partHeight + 3);
                FillBackground(b);
                const TBitmap24 before = b.Clone();
                DrawSkinGlyph(b, {2, 1}, state, t, m, mode);
                for (int y = 0; y < b.Height(); ++y)
                    for (int x = 0; x < b.Width(); ++x) {
                        const int gx = x - 2, gy = y - 1;
                        TColor want = before.Pixel(x, y);
                        if (gx >= 0 && gy >= 0 && gx < stateWidth && gy < c.partHeight) {
                            const int sx = stateLeft + gx;
                            if (alphaOffset || c.own || mode == 1)
                                want = Expected(*picture, sx, gy, alphaOffset, want, mode == 1 ? 0 : 100);
                            else if (picture->Pixel(sx, gy) != kKey)   // master colour only, other modes: half over
                                want = MakeColor(
                                    static_cast<std::uint8_t>(std::nearbyint((RedOf(picture->Pixel(sx, gy)) + RedOf(want)) / 2.0)),
                                    static_cast<std::uint8_t>(std::nearbyint((GreenOf(picture->Pixel(sx, gy)) + GreenOf(want)) / 2.0)),
                                    static_cast<std::uint8_t>(std::nearbyint((BlueOf(picture->Pixel(sx, gy)) + BlueOf(want)) / 2.0)));
                        }
                        ASSERT_EQ(b.Pixel(x, y), want) << c.name << ", mode " << mode << ", state " << state << " at "
                                                       << x << "," << y;
                    }
            }
    }
}

TEST(MaskLayout, OwnFrameWithoutTransparencyCopiesItsColourAndItsKeysTakeTheParent) {
    // A frame picture of its own, colour only: nothing below the picture is read as
    // transparency, colour pixels are copied as they are, and the key pixels of its
    // corners take the parent's pixels.
    const auto picture = Picture(9, 9, 1);
    picture->SetPixel(0, 0, kKey);     // top-left corner
    picture->SetPixel(4, 4, kKey);     // centre: keeps what lay there
    TsSkinTables t;
    TsMaskData m;
    m.Bmp = picture;
    m.ImageCount = 1;
    m.MaskType = 0;
    TBitmap24 parent(30, 30);
    FillBackground(parent);
    parent.SetPixel(4, 5, 0x00010203);
    const TParentBackground bg{&parent, 3, 4, true};
    TBitmap24 b(12, 12);
    b.Fill(0x00777777);
    DrawSkinRect(b, {1, 1, 10, 10}, true, bg, 0, t, m);
    for (int y = 1; y < 10; ++y)
        for (int x = 1; x < 10; ++x) {
            const TColor s = picture->Pixel(x - 1, y - 1);
            const TColor want = x == 1 && y == 1 ? 0x00010203u : s == kKey ? 0x00777777u : s;
            ASSERT_EQ(b.Pixel(x, y), want) << x << "," << y;
        }
}

TEST(MaskLayout, CornerHolesUseTheFramePieces) {
    // Own pictures and master images with one or three states and widths that are
    // no multiple of the piece count: the pieces are width div (3 ImageCount) wide
    // and height div (3 (MaskType + 1)) high, and runs of the right-hand piece land
    // at targetWidth - 3 pieces.
    struct Case { bool own; int imageCount, maskType, width, partHeight; } cases[] = {
        {true, 0, 0, 29, 10}, {true, 1, 0, 11, 7}, {true, 1, 1, 10, 9}, {false, 3, 1, 32, 9}, {false, 1, 2, 8, 6},
    };
    for (const Case& c : cases) {
        const int maskType = c.own && c.imageCount == 0 ? 1 : c.maskType;
        const int states = c.imageCount == 0 ? 3 : c.imageCount;
        const int cw = c.width / (states * 3), ch = c.partHeight / 3;
        auto picture = Picture(c.width, c.partHeight, maskType + 1);
        // Runs: two pixels at the left of the top-left piece's first row, the last
        // pixel of the top-right piece's last row, the first of the bottom-left
        // piece's first row; the pixel just right of the right piece is key too
        // and must not count.
        for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {3 * cw - 1, ch - 1}, {0, 2 * ch}, {3 * cw, 0}})
            picture->SetPixel(x, y, kKey);
        TsSkinTables t;
        TsMaskData m;
        m.ImageCount = static_cast<std::int16_t>(c.imageCount);
        m.MaskType = static_cast<std::int16_t>(c.maskType);
        if (c.own) {
            m.Bmp = picture;
        } else {
            t.MasterBitmap = picture->Clone();
            m.R = {0, 0, c.width, picture->Height()};
        }
        std::vector<TRect> top, bottom;
        ScanCornerHoles(top, 50, t, m, 0, 7);
        ScanCornerHoles(bottom, 50, t, m, 1, 40);
        const std::vector<TRect> wantTop = {{0, 7, 2, 8}, {50 - 1, 7 + ch - 1, 50, 7 + ch}};
        const std::vector<TRect> wantBottom = {{0, 40, 1, 41}};
        EXPECT_EQ(top, wantTop) << c.width << " wide, " << c.imageCount << " states";
        EXPECT_EQ(bottom, wantBottom) << c.width << " wide, " << c.imageCount << " states";
    }
}

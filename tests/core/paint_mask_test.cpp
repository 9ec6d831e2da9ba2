// Mask drawing: the nine-slice frame, the transparency blend, key pixels, glyph
// states, corner refresh and key-colour runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>

#include "paint/mask.h"
#include "paint/mask_row.h"
#include "paint/shared_state.h"

using namespace korvel;

namespace {

constexpr TColor kKey = clNone;

// A frame mask on the master bitmap: 1 state, columns cw wide and rows ch high;
// each of the nine pieces is filled with the colour 0x00RRCC00 + (row * 3 + col)
// so every destination pixel tells which piece drew it.
TColor PieceColor(int row, int col) { return MakeColor(10 + row * 3 + col, 0x40, 0x20); }

TsSkinTables FrameSkin(int cw, int ch, int maskType, int imageCount = 1) {
    TsSkinTables t;
    const int w = cw * 3 * imageCount, partH = ch * 3;
    t.MasterBitmap.SetSize(w + 2, partH * (maskType + 1) + 1);
    t.MasterBitmap.Fill(0x123456);
    for (int s = 0; s < imageCount; ++s)
        for (int y = 0; y < partH; ++y)
            for (int x = 0; x < cw * 3; ++x) {
                t.MasterBitmap.SetPixel(1 + s * cw * 3 + x, y, PieceColor(y / ch, x / cw) + TColor(s) * 0x10000);
                if (maskType) t.MasterBitmap.SetPixel(1 + s * cw * 3 + x, partH + y, 0);   // opaque
            }
    TsMaskData m;
    m.R = {1, 0, 1 + w, partH * (maskType + 1)};
    m.ImageCount = static_cast<std::int16_t>(imageCount);
    m.MaskType = static_cast<std::int16_t>(maskType);
    t.Masks.push_back(m);
    return t;
}

// Which piece (row * 3 + col) drew pixel (x, y); -1 when untouched.
int PieceAt(const TBitmap24& b, int x, int y) {
    const TColor c = b.Pixel(x, y);
    if (GreenOf(c) != 0x40) return -1;
    return RedOf(c) - 10;
}

}  // namespace

TEST(DrawSkinRect, NarrowRectanglesSplitPiecesAndEdgesTile) {
    struct Case { int width, height, left, right, top, bottom; } cases[] = {
        {5, 12, 2, 3, 4, 4},    // 5 wide with 4-pixel columns: 2 left, 3 right
        {12, 7, 4, 4, 3, 4},
        {20, 20, 4, 4, 4, 4},
    };
    for (int maskType : {0, 1}) {
        TsSkinTables skin = FrameSkin(4, 4, maskType);
        for (auto c : cases) {
            for (TRowOrder order : {TRowOrder::BottomUp, TRowOrder::TopDown}) {
                TBitmap24 b(c.width + 2, c.height + 2, order);
                DrawSkinRect(b, {1, 1, 1 + c.width, 1 + c.height}, true, {}, 0, skin, skin.Masks[0]);
                for (int y = 0; y < b.Height(); ++y)
                    for (int x = 0; x < b.Width(); ++x) {
                        const bool outside = x == 0 || y == 0 || x == c.width + 1 || y == c.height + 1;
                        if (outside) {
                            ASSERT_EQ(b.Pixel(x, y), 0u) << x << "," << y;
                            continue;
                        }
                        const int rx = x - 1, ry = y - 1;
                        const int col = rx < c.left ? 0 : rx >= c.width - c.right ? 2 : 1;
                        const int row = ry < c.top ? 0 : ry >= c.height - c.bottom ? 2 : 1;
                        ASSERT_EQ(PieceAt(b, x, y), row * 3 + col) << "type " << maskType << " " << c.width << "x"
                                                                   << c.height << " at " << rx << "," << ry;
                    }
            }
        }
    }
}

TEST(DrawSkinRect, NothingForRectsOfOnePixelOrMasksWithoutImages) {
    TsSkinTables skin = FrameSkin(4, 4, 0);
    TBitmap24 b(10, 10);
    DrawSkinRect(b, {0, 0, 1, 10}, true, {}, 0, skin, skin.Masks[0]);
    DrawSkinRect(b, {0, 0, 10, 1}, true, {}, 0, skin, skin.Masks[0]);
    TsMaskData none = skin.Masks[0];
    none.ImageCount = 0;
    DrawSkinRect(b, {0, 0, 10, 10}, true, {}, 0, skin, none);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(b.Pixel(x, y), 0u);
    // A rect past the bitmap draws only what lies inside it (the sanitizers watch the rest).
    DrawSkinRect(b, {-7, -5, 30, 40}, true, {}, 0, skin, skin.Masks[0]);
    EXPECT_EQ(PieceAt(b, 0, 0), 4);
}

TEST(DrawSkinRect, BorderWidthLeavesTheCentreOfColourImagesEmpty) {
    TsSkinTables skin = FrameSkin(4, 4, 0);
    skin.Masks[0].BorderWidth = 2;
    TBitmap24 b(12, 12);
    DrawSkinRect(b, {0, 0, 12, 12}, true, {}, 0, skin, skin.Masks[0]);
    EXPECT_EQ(PieceAt(b, 6, 6), -1);
    EXPECT_EQ(PieceAt(b, 6, 0), 1);
    TBitmap24 c(12, 12);
    skin.Masks[0].BorderWidth = 0;
    DrawSkinRect(c, {0, 0, 12, 12}, false, {}, 0, skin, skin.Masks[0]);
    EXPECT_EQ(PieceAt(c, 6, 6), -1);
}

TEST(DrawSkinRect, KeyCornerPixelsTakeParentPixelsOrTheFillColour) {
    for (int maskType : {0, 1}) {
        TsSkinTables skin = FrameSkin(3, 3, maskType);
        skin.MasterBitmap.SetPixel(1, 0, kKey);   // top-left pixel of the top-left corner
        TBitmap24 parent(20, 20);
        parent.Fill(0x00ABCDEF);
        parent.SetPixel(5, 6, 0x00010203);
        TParentBackground bg{&parent, 2, 3, true};
        TBitmap24 b(9, 9);
        b.Fill(0x777777);
        DrawSkinRect(b, {3, 3, 9, 9}, true, bg, 0, skin, skin.Masks[0]);
        // Colour-only images keep what the background layers put there; transparency images take the parent.
        EXPECT_EQ(b.Pixel(3, 3), maskType ? 0x00010203u : 0x777777u) << maskType;
        GlobalFillColor = 0x00FF0000;
        DrawSkinRect(b, {3, 3, 9, 9}, true, bg, 0, skin, skin.Masks[0]);
        EXPECT_EQ(b.Pixel(3, 3), maskType ? 0x00FF0000u : 0x777777u);
        GlobalFillColor = clNone;
    }
}

TEST(DrawSkinRect, HugeRectanglesDrawOnlyWhatShowsAndOutOfRangeOnesNothing) {
    for (int maskType : {0, 1}) {
        TsSkinTables skin = FrameSkin(4, 4, maskType);
        // The bitmap lies deep inside the centre of a frame a quarter billion pixels
        // wide: every pixel is the tiled centre piece, and only its tiles are visited.
        TBitmap24 b(20, 20);
        DrawSkinRect(b, {-kMaxPaintCoordinate, -kMaxPaintCoordinate, kMaxPaintCoordinate, kMaxPaintCoordinate}, true,
                     {}, 0, skin, skin.Masks[0]);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) ASSERT_EQ(PieceAt(b, x, y), 4) << maskType << " " << x << "," << y;
        TBitmap24 c(20, 20);
        DrawSkinRect(c, {INT_MIN, 0, 10, 10}, true, {}, 0, skin, skin.Masks[0]);
        DrawSkinRect(c, {0, 0, 10, INT_MAX}, true, {}, 0, skin, skin.Masks[0]);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) ASSERT_EQ(c.Pixel(x, y), 0u) << maskType << " " << x << "," << y;
    }
}

namespace {

// A random frame skin: master bitmap bytes at random with key pixels (and near
// misses) sprinkled in, one mask entry on it or with a picture of its own.
TsSkinTables RandomFrameSkin(std::mt19937& rng) {
    TsSkinTables t;
    const int keyEvery = 1 + int(rng() % 12);   // 1: every pixel a key
    auto randomPicture = [&](int w, int h) {
        TBitmap24 b(w, h, rng() % 2 ? TRowOrder::TopDown : TRowOrder::BottomUp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const unsigned pick = rng() % (keyEvery * 2);
                b.SetPixel(x, y, pick == 0 ? kKey : pick == 1 ? 0x00FF00FE : TColor(rng() & 0xFFFFFF));
            }
        return b;
    };
    t.MasterBitmap = randomPicture(6 + int(rng() % 40), 6 + int(rng() % 40));
    TsMaskData m;
    m.ImageCount = static_cast<std::int16_t>(1 + rng() % 3);
    m.MaskType = static_cast<std::int16_t>(rng() % 2);
    m.BorderWidth = static_cast<std::int16_t>(rng() % 4 == 0);
    m.StretchMode = static_cast<std::int16_t>(rng() % 5 == 0);
    if (rng() % 4 == 0) {
        m.Bmp = std::make_shared<TBitmap24>(randomPicture(3 + int(rng() % 30), 3 + int(rng() % 30)));
        if (rng() % 2) m.ImageCount = 0;   // counts as three states with a transparency part
    } else {
        const int w = t.MasterBitmap.Width(), h = t.MasterBitmap.Height();
        const int l = int(rng() % 4), top = int(rng() % 4);
        m.R = {l, top, l + 3 + int(rng() % (w - l - 2)), top + 3 + int(rng() % (h - top - 2))};
    }
    t.Masks.push_back(m);
    return t;
}

}  // namespace

TEST(DrawSkinRect, WholeRowsGiveTheBytesOfTheTileWalk) {
    // Frames of every kind (transparency part or not, a picture of the entry's
    // own, stretched colour edges), in rectangles inside, across and beyond the
    // bitmap, with and without a parent picture and a fill colour for key pixels.
    std::mt19937 rng(57);
    for (int round = 0; round < 1500; ++round) {
        const TsSkinTables skin = RandomFrameSkin(rng);
        const int w = 2 + int(rng() % 60), h = 2 + int(rng() % 50);
        TBitmap24 a(w, h, rng() % 2 ? TRowOrder::TopDown : TRowOrder::BottomUp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) a.SetPixel(x, y, rng() & 0xFFFFFF);
        TBitmap24 b = a.Clone();
        TRect rect = Bounds(int(rng() % 30) - 10, int(rng() % 30) - 10, 2 + int(rng() % 90), 2 + int(rng() % 80));
        if (round % 50 == 0) rect = {-kMaxPaintCoordinate, -5, kMaxPaintCoordinate, h + 7};
        TBitmap24 parent(w + 10, h + 10);
        for (int y = 0; y < parent.Height(); ++y)
            for (int x = 0; x < parent.Width(); ++x) parent.SetPixel(x, y, rng() & 0xFFFFFF);
        const TParentBackground bg =
            rng() % 2 ? TParentBackground{&parent, int(rng() % 9) - 4, int(rng() % 9) - 4, true} : TParentBackground{};
        GlobalFillColor = rng() % 3 == 0 ? TColor(rng() & 0xFFFFFF) : clNone;
        const bool centre = rng() % 4 != 0;
        const int state = int(rng() % 5) - 1;
        DrawSkinRect(a, rect, centre, bg, state, skin, skin.Masks[0]);
        DrawSkinRectTileByTile(b, rect, centre, bg, state, skin, skin.Masks[0]);
        GlobalFillColor = clNone;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << "round " << round << " at " << x << "," << y;
    }
}

TEST(DrawSkinRect, AFrameDrawnIntoItsOwnImageReadsWhatItHasWrittenAsTheTilesAreLaid) {
    // Tiles laid over the picture they are taken from read pixels that earlier
    // tiles have already changed: the result depends on the order of the tiles.
    for (int maskType : {0, 1}) {
        std::mt19937 rng(71);
        TsSkinTables a = FrameSkin(3, 3, maskType), b = FrameSkin(3, 3, maskType);
        for (int y = 0; y < a.MasterBitmap.Height(); ++y)
            for (int x = 0; x < a.MasterBitmap.Width(); ++x) {
                const TColor c = rng() % 5 == 0 ? kKey : TColor(rng() & 0xFFFFFF);
                a.MasterBitmap.SetPixel(x, y, c);
                b.MasterBitmap.SetPixel(x, y, c);
            }
        DrawSkinRect(a.MasterBitmap, {2, 1, a.MasterBitmap.Width(), a.MasterBitmap.Height()}, true, {}, 0, a, a.Masks[0]);
        DrawSkinRectTileByTile(b.MasterBitmap, {2, 1, b.MasterBitmap.Width(), b.MasterBitmap.Height()}, true, {}, 0, b,
                               b.Masks[0]);
        for (int y = 0; y < a.MasterBitmap.Height(); ++y)
            for (int x = 0; x < a.MasterBitmap.Width(); ++x)
                ASSERT_EQ(a.MasterBitmap.Pixel(x, y), b.MasterBitmap.Pixel(x, y)) << maskType << " " << x << "," << y;
    }
}

TEST(DrawMaskPiece, TransparencyByteWeighsDestinationAndClips) {
    struct Case { std::uint8_t colour, mask, dest, want; } cases[] = {
        {0x50, 0, 200, 0x50},      // opaque: the colour exactly
        {0, 255, 200, 199},        // fully transparent: the destination up to the shift
        {255, 128, 0, 127},        // (0 - 255) * 128 + 255 * 256 >> 8
        {100, 64, 200, 125},
    };
    for (auto c : cases) {
        TsSkinTables t;
        t.MasterBitmap.SetSize(2, 4);
        t.MasterBitmap.Fill(MakeColor(c.colour, c.colour, c.colour));
        for (int x = 0; x < 2; ++x)
            for (int y = 2; y < 4; ++y) t.MasterBitmap.SetPixel(x, y, MakeColor(c.mask, c.mask, c.mask));
        TsMaskData m;
        m.R = {0, 0, 2, 4};
        m.ImageCount = 1;
        m.MaskType = 1;
        TMaskImage image;
        ASSERT_TRUE(GetMaskImage(t, m, image));
        TBitmap24 b(3, 3);
        b.Fill(MakeColor(c.dest, c.dest, c.dest));
        DrawMaskPiece({-1, 2, 1, 4}, {0, 0, 2, 2}, b, image, {});   // cut at the left and at the bottom
        EXPECT_EQ(RedOf(b.Pixel(0, 2)), c.want) << int(c.colour) << " " << int(c.mask);
        EXPECT_EQ(RedOf(b.Pixel(1, 2)), c.dest);
        EXPECT_EQ(RedOf(b.Pixel(0, 1)), c.dest);
    }
}

TEST(DrawMaskPiece, KeyPixelsOutsideTheParentPictureSkipOnlyThemselves) {
    // A row of key pixels over a parent picture that covers only its middle: the
    // pixels without a parent pixel keep the destination, the others take the parent.
    TsSkinTables t;
    t.MasterBitmap.SetSize(8, 2);
    for (int x = 0; x < 8; ++x) {
        t.MasterBitmap.SetPixel(x, 0, kKey);
        t.MasterBitmap.SetPixel(x, 1, 0);
    }
    TsMaskData m;
    m.R = {0, 0, 8, 2};
    m.ImageCount = 1;
    m.MaskType = 1;
    TMaskImage image;
    ASSERT_TRUE(GetMaskImage(t, m, image));
    TBitmap24 parent(4, 3);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y) parent.SetPixel(x, y, MakeColor(0x10 * (x + 1), 0x20, 0x30 + y));
    const TParentBackground bg{&parent, -2, 1, true};   // dest column x reads parent column x - 2
    TBitmap24 b(8, 2);
    b.Fill(0x00ABCDEF);
    DrawMaskPiece({0, 0, 8, 1}, {0, 0, 8, 1}, b, image, bg);
    for (int x = 0; x < 8; ++x) {
        const bool inParent = x - 2 >= 0 && x - 2 < 4;
        EXPECT_EQ(b.Pixel(x, 0), inParent ? parent.Pixel(x - 2, 1) : 0x00ABCDEFu) << x;
    }
    EXPECT_EQ(b.Pixel(3, 1), 0x00ABCDEFu);
}

TEST(DrawMaskPiece, VectorRowsGiveTheFormulasBytes) {
    std::mt19937 rng(31);
    for (int round = 0; round < 200; ++round) {
        const std::size_t pixels = 1 + rng() % 90;
        std::vector<std::uint8_t> colour(pixels * 3), alpha(pixels * 3), dest(pixels * 3);
        for (auto* v : {&colour, &alpha, &dest})
            for (auto& b : *v) b = static_cast<std::uint8_t>(rng());
        // Key pixels here and there (some side by side), extreme weights, and near misses.
        for (std::size_t x = 0; x < pixels; ++x) {
            const unsigned pick = rng() % 8;
            if (pick == 0) colour[x * 3] = colour[x * 3 + 2] = 0xFF, colour[x * 3 + 1] = 0;
            if (pick == 1) colour[x * 3] = 0xFF, colour[x * 3 + 1] = 0, colour[x * 3 + 2] = 0xFE;
            if (pick == 2) alpha[x * 3] = 0, alpha[x * 3 + 1] = 255;
        }
        std::vector<std::uint8_t> want = dest;
        const bool keyed = MaskBlendRowReference(want.data(), colour.data(), alpha.data(), pixels);
        EXPECT_EQ(MaskBlendRow(dest.data(), colour.data(), alpha.data(), pixels), keyed) << round;
        ASSERT_EQ(dest, want) << round << " pixels " << pixels;
    }
}

TEST(DrawMaskPiece, RowsWithoutKeyPixelsGiveTheFormulasBytesForAllByteTriples) {
    // Every (destination, colour, transparency) byte triple: a row per (colour,
    // transparency) pair, its destination bytes running through 0..255 three
    // times, so that each lands in every channel. A uniform colour is never the key.
    constexpr std::size_t kPixels = 256;
    std::vector<std::uint8_t> colour(kPixels * 3), alpha(kPixels * 3), dest(kPixels * 3);
    for (int s = 0; s < 256; ++s)
        for (int m = 0; m < 256; ++m) {
            std::fill(colour.begin(), colour.end(), static_cast<std::uint8_t>(s));
            std::fill(alpha.begin(), alpha.end(), static_cast<std::uint8_t>(m));
            for (std::size_t i = 0; i < dest.size(); ++i) dest[i] = static_cast<std::uint8_t>(i);
            ASSERT_FALSE(MaskBlendRow(dest.data(), colour.data(), alpha.data(), kPixels));
            for (std::size_t i = 0; i < dest.size(); ++i) {
                const int d = static_cast<std::uint8_t>(i);
                const int want = std::clamp(((d - s) * m + s * 256) >> 8, 0, 255);   // the rule, written out
                if (dest[i] != want) FAIL() << "d " << d << " s " << s << " m " << m << ": " << int(dest[i]);
            }
        }
}

TEST(DrawMaskPiece, RowsMatchTheFormulaAtEveryLengthOffsetAndKeyPlacement) {
    // Every length up to 70 pixels at every start offset of a 32-byte block, each
    // row without a key, with one key pixel at a random place, and with the three
    // key bytes straddling two pixels (not a key, but the same byte run).
    std::mt19937 rng(41);
    std::vector<std::uint8_t> colourBuffer(70 * 3 + 64), alphaBuffer(70 * 3 + 64), destBuffer(70 * 3 + 64);
    for (std::size_t pixels = 1; pixels <= 70; ++pixels)
        for (std::size_t offset = 0; offset < 32; ++offset)
            for (int kind = 0; kind < 3; ++kind) {
                for (auto* v : {&colourBuffer, &alphaBuffer, &destBuffer})
                    for (auto& b : *v) b = static_cast<std::uint8_t>(rng());
                std::uint8_t* colour = colourBuffer.data() + offset;
                const std::uint8_t* alpha = alphaBuffer.data() + (offset * 7) % 32;
                std::uint8_t* dest = destBuffer.data() + (offset * 13) % 32;
                const std::size_t at = rng() % pixels;
                if (kind == 1) colour[at * 3] = colour[at * 3 + 2] = 0xFF, colour[at * 3 + 1] = 0;
                if (kind == 2 && pixels >= 2) {
                    const std::size_t byte = std::min<std::size_t>(at * 3 + 1 + rng() % 2, pixels * 3 - 3);
                    colour[byte] = colour[byte + 2] = 0xFF, colour[byte + 1] = 0;
                }
                std::vector<std::uint8_t> want = destBuffer;
                const std::size_t start = static_cast<std::size_t>(dest - destBuffer.data());
                const bool keyed = MaskBlendRowReference(want.data() + start, colour, alpha, pixels);
                ASSERT_EQ(MaskBlendRow(dest, colour, alpha, pixels), keyed) << pixels << " " << offset << " " << kind;
                ASSERT_EQ(destBuffer, want) << pixels << " " << offset << " " << kind;   // nothing written beside the row
            }
}

TEST(DrawSkinGlyph, StatesClampAndModesDiffer) {
    // Three states of 2 x 2, colour only: state s is red 100 + s.
    TsSkinTables t;
    t.MasterBitmap.SetSize(6, 4);
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 2; ++y) t.MasterBitmap.SetPixel(x, y, MakeColor(100 + x / 2, 0, 0));
    for (int x = 0; x < 6; ++x)
        for (int y = 2; y < 4; ++y) t.MasterBitmap.SetPixel(x, y, 0);
    TsMaskData colourOnly;
    colourOnly.R = {0, 0, 6, 2};
    colourOnly.ImageCount = 3;
    struct Case { int state; int mode; TPoint at; std::uint8_t want; } cases[] = {
        {0, 1, {0, 0}, 100}, {2, 1, {0, 0}, 102}, {7, 1, {0, 0}, 102},   // past the last state: the last
        {1, 0, {0, 0}, 101 - 0},                                        // half transparently over black: 101 * 0.5 -> 50
        {1, 1, {-1, -1}, 101},
    };
    for (auto c : cases) {
        TBitmap24 b(3, 3);
        DrawSkinGlyph(b, c.at, c.state, t, colourOnly, c.mode);
        const std::uint8_t want = c.mode == 1 ? c.want : 50;   // Round(101 - 0.5 * 101) = 50 (ties to even)
        EXPECT_EQ(RedOf(b.Pixel(0, 0)), want) << c.state << " mode " << c.mode;
        if (c.at.X < 0) {
            EXPECT_EQ(b.Pixel(1, 0), 0u);
        }
    }
    // Transparency glyph, mode other than 1: the mask byte grows by 100 (paler).
    TsMaskData masked;
    masked.R = {0, 0, 6, 4};
    masked.ImageCount = 3;
    masked.MaskType = 1;
    TBitmap24 normal(2, 2), pale(2, 2);
    normal.Fill(0xC8C8C8);
    pale.Fill(0xC8C8C8);
    DrawSkinGlyph(normal, {0, 0}, 0, t, masked, 1);
    DrawSkinGlyph(pale, {0, 0}, 0, t, masked, 0);
    EXPECT_EQ(RedOf(normal.Pixel(0, 0)), 100);
    EXPECT_EQ(RedOf(pale.Pixel(0, 0)), ((200 - 100) * 100 + 100 * 256) >> 8);   // 139
}

TEST(UpdateCornersAndHoles, KeyPixelsOfCornersOnly) {
    TsSkinTables skin = FrameSkin(3, 3, 1);
    skin.MasterBitmap.SetPixel(1, 0, kKey);       // top-left corner, first row, first column
    skin.MasterBitmap.SetPixel(1 + 8, 0, kKey);   // top-right corner, last column
    skin.MasterBitmap.SetPixel(1 + 7, 0, kKey);
    skin.MasterBitmap.SetPixel(1 + 4, 4, kKey);   // centre: never a corner
    TBitmap24 cache(10, 10);
    cache.Fill(0x111111);
    UpdateCorners(cache, skin, skin.Masks[0], 0, crTopLeft | crBottomRight, {TCornerFill::cfColor, 0x00ABCDEF});
    EXPECT_EQ(cache.Pixel(0, 0), 0x00ABCDEFu);
    EXPECT_EQ(cache.Pixel(9, 0), 0x111111u);   // top-right not asked for
    UpdateCorners(cache, skin, skin.Masks[0], 0, crAll, {TCornerFill::cfColor, 0x00ABCDEF});
    EXPECT_EQ(cache.Pixel(9, 0), 0x00ABCDEFu);
    EXPECT_EQ(cache.Pixel(8, 0), 0x00ABCDEFu);
    EXPECT_EQ(cache.Pixel(5, 5), 0x111111u);

    std::vector<TRect> holes;
    ScanCornerHoles(holes, 40, skin, skin.Masks[0], 0, 100);
    ASSERT_EQ(holes.size(), 2u);
    EXPECT_EQ(holes[0], (TRect{0, 100, 1, 101}));
    EXPECT_EQ(holes[1], (TRect{7 + 40 - 9, 100, 9 + 40 - 9, 101}));
    holes.clear();
    ScanCornerHoles(holes, 40, skin, skin.Masks[0], 1, 0);
    EXPECT_TRUE(holes.empty());

    TBitmap24 button(12, 12);
    std::vector<TRect> runs;
    DrawSkinRectRegion(button, runs, 0, 0x00FF0000, skin, skin.Masks[0]);
    // The top-left pixel, the top-right pair, and the centre's key pixel in each of its 2 x 2 tiles.
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_EQ(runs[0], (TRect{0, 0, 1, 1}));
    EXPECT_NE(std::find(runs.begin(), runs.end(), TRect{10, 0, 12, 1}), runs.end());
    for (TRect centre : {TRect{4, 4, 5, 5}, TRect{7, 4, 8, 5}, TRect{4, 7, 5, 8}, TRect{7, 7, 8, 8}})
        EXPECT_NE(std::find(runs.begin(), runs.end(), centre), runs.end()) << centre.Left << "," << centre.Top;
    EXPECT_EQ(button.Pixel(0, 0), 0x00FF0000u);
}

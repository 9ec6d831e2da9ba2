// Pixel accessors and blends: exact bytes, clipping at every edge, both row orders.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "paint/blend.h"
#include "paint/blend_over_row.h"
#include "paint/color.h"
#include "paint/fast24.h"

using namespace korvel;

namespace {

TBitmap24 Solid(int w, int h, TColor c, TRowOrder order = TRowOrder::BottomUp) {
    TBitmap24 b(w, h, order);
    b.Fill(c);
    return b;
}

TBitmap24 Random(int w, int h, std::mt19937& rng, TRowOrder order = TRowOrder::BottomUp) {
    TBitmap24 b(w, h, order);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x) b.ScanLine(y)[x] = static_cast<std::uint8_t>(rng());
    return b;
}

bool SameBytes(const TBitmap24& a, const TBitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

const TRowOrder kOrders[] = {TRowOrder::BottomUp, TRowOrder::TopDown};

}  // namespace

TEST(Fast24, AttachRefusesBitmapsBelowTwoByTwoAndReadsBgrAsColor) {
    struct Case { int w, h; bool ok; } cases[] = {{1, 1, false}, {1, 5, false}, {5, 1, false}, {2, 2, true}, {7, 3, true}};
    for (auto c : cases) {
        TBitmap24 b(c.w, c.h);
        TacFast24 f;
        f.Width = 99;
        EXPECT_EQ(f.Attach(b), c.ok) << c.w << "x" << c.h;
        if (!c.ok) {
            EXPECT_EQ(f.Width, 0);
        }
    }
    for (TRowOrder order : kOrders) {
        TBitmap24 b(3, 2, order);
        std::uint8_t* p = b.ScanLine(1) + 2 * 3;
        p[0] = 0x11, p[1] = 0x22, p[2] = 0x33;   // blue, green, red
        TacFast24 f;
        ASSERT_TRUE(f.Attach(b));
        EXPECT_EQ(f.Stride, b.Stride());
        EXPECT_EQ(f.Pixel(2, 1), 0x112233u);
    }
}

TEST(BlendBitmap, DividesBy256WithBias127) {
    struct Case { std::uint8_t alpha; TColor dest, source, want; } cases[] = {
        {255, 0xFFFFFF, 0x000000, 0xFEFEFE},   // (255 * 255 + 127) >> 8 = 254
        {0, 0x000000, 0xFFFFFF, 0xFEFEFE},
        {0, 0xFFFFFF, 0x000000, 0x000000},
        {128, 0x000000, 0xFFFFFF, 0x7F7F7F},   // (127 * 255 + 127) >> 8 = 127
        {128, 0xFF0000, 0x0000FF, 0x7F007F},   // (255 * 128 + 127) >> 8 = 128 - 1 = 127 both ways
    };
    for (auto c : cases) {
        for (TRowOrder order : kOrders) {
            TBitmap24 d = Solid(3, 3, c.dest, order), s = Solid(3, 3, c.source);
            BlendBitmap(d, s, c.alpha);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 3; ++x) {
                    const int db[3] = {BlueOf(c.dest), GreenOf(c.dest), RedOf(c.dest)};
                    const int sb[3] = {BlueOf(c.source), GreenOf(c.source), RedOf(c.source)};
                    TColor formula = 0;
                    for (int k = 0; k < 3; ++k)
                        formula |= TColor((db[k] * c.alpha + sb[k] * (255 - c.alpha) + 127) >> 8) << (16 - 8 * k);
                    ASSERT_EQ(formula, c.want);   // the table itself is worked out by hand
                    ASSERT_EQ(d.Pixel(x, y), c.want);
                }
        }
    }
    TBitmap24 d = Solid(2, 2, 0xFFFFFF), s = Solid(2, 2, 0);
    BlendBitmap(d, s, 255);
    EXPECT_EQ(d.Pixel(1, 1), 0xFEFEFEu);
}

TEST(BlendBitmap, BlendsOnlyTheCommonAreaAndRefusesTinyBitmaps) {
    TBitmap24 d = Solid(4, 3, 0xFFFFFF), s = Solid(2, 5, 0);
    BlendBitmap(d, s, 0);
    EXPECT_EQ(d.Pixel(1, 2), 0u);
    EXPECT_EQ(d.Pixel(2, 0), 0xFFFFFFu);
    TBitmap24 tiny = Solid(1, 1, 0), d2 = Solid(3, 3, 0xFFFFFF);
    BlendBitmap(d2, tiny, 0);
    EXPECT_EQ(d2.Pixel(0, 0), 0xFFFFFFu);
}

TEST(BlendBitmap, FastRowMatchesTheFormulaOnRandomData) {
    std::mt19937 rng(7);
    for (int n : {0, 1, 3, 15, 16, 17, 47, 48, 987}) {
        for (int alpha : {0, 1, 127, 128, 200, 254, 255}) {
            std::vector<std::uint8_t> d(n), s(n);
            for (auto& v : d) v = static_cast<std::uint8_t>(rng());
            for (auto& v : s) v = static_cast<std::uint8_t>(rng());
            auto ref = d;
            BlendRow(d.data(), s.data(), n, static_cast<std::uint8_t>(alpha));
            BlendRowReference(ref.data(), s.data(), n, static_cast<std::uint8_t>(alpha));
            ASSERT_EQ(d, ref) << "n " << n << " alpha " << alpha;
        }
    }
}

TEST(BlendBitmapAt, ClipsEveryEdgeAndKeepsPixelPartners) {
    // Source pixel (x, y) has red x, green y: every written pixel tells which source pixel it came from.
    TBitmap24 source(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) source.SetPixel(x, y, MakeColor(x * 10, y * 10, 1));
    struct Case { TPoint at; TRect src; int dx0, dy0, sx0, sy0, w, h; } cases[] = {
        {{1, 1}, {0, 0, 6, 5}, 1, 1, 0, 0, 4, 3},    // cut by the destination's right and bottom
        {{-2, -1}, {0, 0, 6, 5}, 0, 0, 2, 1, 4, 4},  // negative point moves the source
        {{0, 0}, {-2, -3, 3, 3}, 2, 3, 0, 0, 3, 1},  // negative source start moves the destination forward
        {{3, 2}, {1, 1, 99, 99}, 3, 2, 1, 1, 2, 2},  // source end clamped to the source
        {{9, 9}, {0, 0, 6, 5}, 0, 0, 0, 0, 0, 0},    // wholly outside
    };
    for (auto c : cases) {
        for (TRowOrder order : kOrders) {
            TBitmap24 dest = Solid(5, 4, 0xFFFFFF, order);
            BlendBitmapAt(dest, source, 0, c.at, c.src);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 5; ++x) {
                    const bool inside = x >= c.dx0 && x < c.dx0 + c.w && y >= c.dy0 && y < c.dy0 + c.h;
                    TColor want = 0xFFFFFF;
                    if (inside) {
                        const int sx = c.sx0 + x - c.dx0, sy = c.sy0 + y - c.dy0;
                        const auto v = [](int s) { return static_cast<std::uint8_t>((s * 255 + 127) >> 8); };
                        want = MakeColor(v(sx * 10), v(sy * 10), v(1));
                    }
                    ASSERT_EQ(dest.Pixel(x, y), want) << "case at " << c.at.X << "," << c.at.Y << " pixel " << x << "," << y;
                }
        }
    }
}

TEST(BlendRectWithColor, PercentWeighsThePixelAndClampsTheInclusiveRect) {
    struct Case { int percent; std::uint8_t value; std::uint8_t colorByte; std::uint8_t want; } cases[] = {
        {100, 37, 200, 37}, {0, 37, 200, 200}, {50, 0, 255, 128},   // 127.5 -> 128 (even)
        {50, 0, 253, 126},                                          // 126.5 -> 126 (even)
        {30, 100, 0, 30},
    };
    for (auto c : cases) {
        TBitmap24 b = Solid(4, 4, MakeColor(c.value, c.value, c.value));
        BlendRectWithColor(b, {1, 1, 2, 2}, c.percent, MakeColor(c.colorByte, 0, 0));
        EXPECT_EQ(RedOf(b.Pixel(1, 1)), c.want) << c.percent;
        EXPECT_EQ(RedOf(b.Pixel(2, 2)), c.want);
        EXPECT_EQ(b.Pixel(0, 0), MakeColor(c.value, c.value, c.value));   // outside the rect
        EXPECT_EQ(b.Pixel(3, 3), MakeColor(c.value, c.value, c.value));
    }
    // The colour's red byte goes to the third byte of the pixel.
    TBitmap24 b = Solid(2, 2, 0);
    BlendRectWithColor(b, {-5, -5, 99, 99}, 0, 0x00030201);
    const std::uint8_t* p = b.ScanLine(1) + 3;
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
}

TEST(BlendOver, FactorIsTheDestinationWeightAndKeyPixelsAreSkipped) {
    TBitmap24 source = Solid(3, 2, 0xFFFFFF);
    source.SetPixel(1, 0, clNone);
    TBitmap24 dest = Solid(3, 2, 0);
    BlendOver(dest, 0, 0, clNone, 0.4, {0, 0, 2, 1}, source);
    EXPECT_EQ(dest.Pixel(0, 0), 0x999999u);   // 255 - 0.4 * 255 = 153
    EXPECT_EQ(dest.Pixel(1, 0), 0u);          // key pixel never written
    // With no key colour the magenta pixel is blended too.
    TBitmap24 dest2 = Solid(3, 2, 0);
    BlendOver(dest2, 0, 0, clNoKey, 0.4, {0, 0, 2, 1}, source);
    EXPECT_EQ(dest2.Pixel(1, 0), 0x990099u);
    // White control over black background with factor 0.6 kept by the background: 102.
    TBitmap24 control = Solid(2, 2, 0xFFFFFF), background = Solid(2, 2, 0);
    BlendOver(control, 0, 0, clNoKey, 0.4, {0, 0, 1, 1}, background);
    EXPECT_EQ(control.Pixel(0, 0), 0x666666u);
}

TEST(BlendOver, TableMatchesTheFormulaOnRandomDataAndNeverWritesOutside) {
    std::mt19937 rng(11);
    for (double factor : {0.4, 0.5, 0.25, 0.0, 1.0, 0.7}) {
        for (TRowOrder order : kOrders) {
            TBitmap24 source = Random(9, 7, rng), a = Random(6, 5, rng, order);
            for (int i = 0; i < 6; ++i) source.SetPixel(rng() % 9, rng() % 7, clNone);
            TBitmap24 b = a.Clone();
            const int dx = int(rng() % 9) - 4, dy = int(rng() % 9) - 4;
            const TRect r{int(rng() % 7) - 3, int(rng() % 7) - 3, int(rng() % 12), int(rng() % 10)};
            BlendOver(a, dx, dy, clNone, factor, r, source);
            BlendOverReference(b, dx, dy, clNone, factor, r, source);
            ASSERT_TRUE(SameBytes(a, b)) << factor;
        }
    }
}

TEST(BlendOver, FastRowsGiveTheFormulasBytesForAllBytePairs) {
    // Column x holds source byte x, row y destination byte y: every (p, d) pair once,
    // in all three channels (green and red with the roles turned round).
    TBitmap24 source(256, 256), dest(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            source.SetPixel(x, y, MakeColor(x, y, x ^ y));
            dest.SetPixel(x, y, MakeColor(y, x, y));
        }
    for (double factor : {0.4, 0.5, 0.25, 0.3, 0.0, 1.0, 0.75, 1.0 / 3}) {
        for (TColor key : {clNoKey, TColor(0x00102030)}) {
            TBitmap24 a = dest.Clone(), b = dest.Clone();
            BlendOver(a, 0, 0, key, factor, {0, 0, 255, 255}, source);
            BlendOverReference(b, 0, 0, key, factor, {0, 0, 255, 255}, source);
            ASSERT_TRUE(SameBytes(a, b)) << factor << " key " << key;
        }
    }
    // The factors in use have an exact fixed-point form, so they take the vector rows.
    for (double factor : {0.4, 0.5}) {
        std::vector<std::uint8_t> table(65536);
        for (int p = 0; p < 256; ++p)
            for (int d = 0; d < 256; ++d) table[p * 256 + d] = static_cast<std::uint8_t>(RoundEven(p - factor * (p - d)));
        TBlendOverWeights w;
        EXPECT_TRUE(FindBlendOverWeights(factor, table.data(), w)) << factor;
    }
}

TEST(BlendOver, FastRowsMatchTheFormulaAtEveryLengthOffsetAndKeyPlacement) {
    std::mt19937 rng(23);
    for (double factor : {0.4, 0.5}) {
        for (int round = 0; round < 60; ++round) {
            const int w = 1 + int(rng() % 70), h = 1 + int(rng() % 4);
            TBitmap24 source = Random(w + 3, h + 2, rng), a = Random(w + 5, h + 3, rng, kOrders[round % 2]);
            // Runs of key pixels, some across the five-pixel steps of the keyed rows.
            for (int i = 0; i < 12; ++i) {
                const int x = int(rng() % (w + 3)), y = int(rng() % (h + 2)), n = 1 + int(rng() % 6);
                for (int k = 0; k < n && x + k < w + 3; ++k) source.SetPixel(x + k, y, clNone);
            }
            // Near misses: two of the three key bytes.
            source.SetPixel(int(rng() % (w + 3)), 0, 0x00FF00FE);
            TBitmap24 b = a.Clone();
            const int dx = int(rng() % 5) - 2, dy = int(rng() % 3) - 1, sx = int(rng() % 4) - 1;
            const TColor key = round % 3 == 0 ? clNoKey : clNone;
            BlendOver(a, dx, dy, key, factor, {sx, 0, sx + w, h}, source);
            BlendOverReference(b, dx, dy, key, factor, {sx, 0, sx + w, h}, source);
            ASSERT_TRUE(SameBytes(a, b)) << factor << " round " << round;
        }
    }
    // Within one bitmap the blend reads what it has already written, as the formula walk does.
    TBitmap24 a = Random(40, 3, rng), b = a.Clone();
    BlendOver(a, 2, 0, clNoKey, 0.4, {0, 0, 39, 2}, a);
    BlendOverReference(b, 2, 0, clNoKey, 0.4, {0, 0, 39, 2}, b);
    EXPECT_TRUE(SameBytes(a, b));
}

TEST(BlendOver, FactorsThatAreNotNumbersOrOutOfRangeNeverBreakTheBitmap) {
    std::mt19937 rng(5);
    TBitmap24 source = Random(20, 4, rng), dest = Random(20, 4, rng), before = dest.Clone();
    BlendOver(dest, 0, 0, clNoKey, std::nan(""), {0, 0, 19, 3}, source);
    EXPECT_TRUE(SameBytes(dest, before));
    // Factors far outside 0..1 clamp every byte (the arithmetic never leaves int).
    for (double factor : {1e300, -1e300, -0.5, 2.0}) {
        TBitmap24 c = before.Clone(), d = before.Clone();
        BlendOver(c, 0, 0, clNoKey, factor, {0, 0, 19, 3}, source);
        BlendOverReference(d, 0, 0, clNoKey, factor, {0, 0, 19, 3}, source);
        ASSERT_TRUE(SameBytes(c, d)) << factor;
    }
    TBitmap24 c = before.Clone();
    BlendOver(c, 0, 0, clNoKey, -1e300, {0, 0, 19, 3}, source);
    for (int x = 0; x < 20; ++x) {
        const int p = RedOf(source.Pixel(x, 0)), q = RedOf(before.Pixel(x, 0));
        EXPECT_EQ(RedOf(c.Pixel(x, 0)), p == q ? p : p > q ? 255 : 0) << x;
    }
}

TEST(CopyTransparent, CopiesAllButKeyPixelsInsideTheDestination) {
    TBitmap24 source(3, 3);
    source.Fill(0x102030);
    source.SetPixel(1, 1, clNone);
    struct Case { int dx, dy; TRect r; int copied; } cases[] = {
        {0, 0, {0, 0, 2, 2}, 8}, {-1, -1, {0, 0, 2, 2}, 3}, {3, 3, {0, 0, 2, 2}, 1}, {0, 0, {-1, -1, 5, 5}, 8},
        {9, 0, {0, 0, 2, 2}, 0},
    };
    for (auto c : cases) {
        TBitmap24 dest = Solid(4, 4, 0);
        CopyTransparent(dest, source, c.dx, clNone, c.r, c.dy);
        int copied = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) copied += dest.Pixel(x, y) == 0x102030;
        EXPECT_EQ(copied, c.copied) << c.dx << "," << c.dy;
    }
}

TEST(GrayScaleAndDisabledLook, GreyIsTheSumDivThree) {
    TBitmap24 b(2, 2);
    b.SetPixel(0, 0, MakeColor(31, 20, 10));
    b.SetPixel(1, 1, 0xFFFFFF);
    GrayScale(b);
    EXPECT_EQ(b.Pixel(0, 0), 0x141414u);
    EXPECT_EQ(b.Pixel(1, 1), 0xFFFFFFu);

    // Over a ready parent background: 0.6 background + 0.4 control, at the control's place.
    TBitmap24 parent = Solid(10, 10, 0);
    parent.SetPixel(5, 6, 0xFFFFFF);
    TBitmap24 control = Solid(3, 3, 0xFFFFFF);
    TParentBackground bg{&parent, 1, 2, true};
    DisabledLook(control, dkBlended, 0, {4, 4}, bg);   // control (0,0) lies over parent (5,6)
    EXPECT_EQ(control.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(control.Pixel(1, 0), 0x666666u);

    // Without a background: half way to SharedColor, or to the control's colour when nobody answered.
    TBitmap24 c2 = Solid(2, 2, 0);
    SharedColor = clNone;
    DisabledLook(c2, dkBlended | dkGrayed, 0x0000FE, {0, 0}, TParentBackground{});
    EXPECT_EQ(c2.Pixel(1, 1), 0x00007Fu);
    SharedColor = 0x00FE0000;
    TBitmap24 c3 = Solid(2, 2, 0);
    DisabledLook(c3, dkBlended, 0x0000FE, {0, 0}, TParentBackground{});
    EXPECT_EQ(c3.Pixel(0, 0), 0x007F0000u);
    SharedColor = clNone;
}

TEST(FadeRectToColor, WashesTheRectOnlyAndKeepsThePercentInTheMiddle) {
    TBitmap24 b = Solid(20, 16, 0xFFFFFF);
    FadeRectToColor(b, {2, 2, 18, 14}, 50, 0, 0, 0);
    // Middle: mask grey (50*255) div 100 = 127; w = ((255 - 0) * 127 + 0) >> 8 = 126.
    EXPECT_EQ(b.Pixel(9, 7), 0x7E7E7Eu);
    EXPECT_EQ(b.Pixel(1, 1), 0xFFFFFFu);
    EXPECT_EQ(b.Pixel(18, 14), 0xFFFFFFu);
    // A rect past the bitmap's edges is clipped, not refused.
    TBitmap24 c = Solid(4, 4, 0xFFFFFF);
    FadeRectToColor(c, {-3, -3, 30, 30}, 0, 0, 0, 0x0000FF);
    EXPECT_EQ(c.Pixel(1, 1), 0x0000FFu);
}

TEST(ColorFunctions, SaturationAndHueTable) {
    struct Sat { TColor in; int value; TColor out; } sats[] = {
        {0x000000FF, 100, 0x00555555}, {0x000000FF, 0, 0x000000FF}, {0xAA0000FF, 100, 0xAA555555},
        {0x00808080, -50, 0x00808080}, {0x00000080, -100, 0x000000D5},   // 128 + 85.33 rounds to 213; the others clamp at 0
    };
    for (auto s : sats) EXPECT_EQ(ChangeSaturation(s.in, s.value), s.out) << std::hex << s.in << " " << std::dec << s.value;
    struct Hue { int offset; TColor in, out; } hues[] = {
        {120, 0x000000FF, 0x0000FF00}, {240, 0x000000FF, 0x00FF0000}, {0, 0x00808080, 0x00808080},
        {90, 0x00000000, 0x00000000}, {-120, 0x000000FF, 0x00FF0000}, {360, 0x000000FF, 0x000000FF},
        {60, 0xFF0000FF & 0x00FFFFFF, 0x0000FFFF},
        // Offsets near the ends of int: blue (240) + 2147483647 is 7 mod 360, so
        // i 0, f 7/60, t = 255 * 7/60 = 29.75 -> 30: (255, 30, 0); blue - 2147483648
        // is 112 mod 360, so i 1, q = 255 * (1 - 52/60) = 34: (34, 255, 0).
        {INT_MAX, 0x00FF0000, 0x00001EFF}, {INT_MIN, 0x00FF0000, 0x0000FF22},
    };
    for (auto h : hues) EXPECT_EQ(ChangeHue(h.offset, h.in), h.out) << h.offset << " " << std::hex << h.in;
}

TEST(Utilities, CreateAndFill) {
    TBitmap24 a = CreateBmp24(5, 3);
    EXPECT_EQ(a.Width(), 5);
    TBitmap24 like = CreateBmpLike(Solid(7, 2, 0, TRowOrder::TopDown));
    EXPECT_EQ(like.Width(), 7);
    EXPECT_EQ(like.Height(), 2);
    FillDC(a, {-1, 1, 3, 9}, 0x123456);
    EXPECT_EQ(a.Pixel(0, 1), 0x123456u);
    EXPECT_EQ(a.Pixel(2, 2), 0x123456u);
    EXPECT_EQ(a.Pixel(3, 1), 0u);
    EXPECT_EQ(a.Pixel(0, 0), 0u);
}

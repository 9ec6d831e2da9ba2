// Item composition: colour, gradient, texture and transparency layers, the frame
// and the corner images, gradient bands and texture draw types.
#include <gtest/gtest.h>

#include "paint/color.h"
#include "paint/gradient.h"
#include "paint/item.h"
#include "paint/texture.h"

using namespace korvel;

namespace {

TsSkinTables OneSection(TColor color, int transparency, int gradientPercent, const char* gradient) {
    TsSkinTables t;
    TsGeneralData s;
    s.SectionName = "PANEL";
    s.Color = color;
    s.HotColor = 0x00FFFFFF;
    s.Transparency = transparency;
    s.GradientPercent = gradientPercent;
    s.GradientData = gradient;
    s.GradientArray = ParseGradientData(gradient);
    t.Sections.push_back(s);
    return t;
}

TItemSource Source(const TsSkinTables* tables, int skinIndex) {
    TItemSource s;
    s.Tables = tables;
    s.SkinIndex = skinIndex;
    return s;
}

bool AllPixels(const TBitmap24& b, TColor c) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != c) return false;
    return true;
}

}  // namespace

TEST(PaintItem, PlainColourCustomColourAndHotSet) {
    TsSkinTables t = OneSection(0x00336699, 0, 0, " ");
    struct Case { TColor custom; int state; TColor want; } cases[] = {
        {clNone, 0, 0x00336699}, {0x00010203, 0, 0x00010203}, {clNone, 1, 0x00FFFFFF}, {clNone, 2, 0x00FFFFFF},
    };
    for (auto c : cases) {
        TItemSource src = Source(&t, 0);
        src.CustomColor = c.custom;
        TBitmap24 b(7, 5);
        PaintItem(src, {}, true, b, {0, 0}, {0, 0, 7, 5}, c.state);
        EXPECT_TRUE(AllPixels(b, c.want)) << c.state;
    }
}

TEST(PaintItem, InvalidInputsDrawNothing) {
    TsSkinTables t = OneSection(0x00336699, 0, 0, " ");
    TBitmap24 b(4, 4);
    PaintItem(Source(nullptr, 0), {}, true, b, {0, 0}, {0, 0, 4, 4}, 0);
    PaintItem(Source(&t, 3), {}, true, b, {0, 0}, {0, 0, 4, 4}, 0);
    PaintItem(Source(&t, 0), {}, true, b, {0, 0}, {-1, 0, 4, 4}, 0);
    PaintItem(Source(&t, 0), {}, true, b, {0, 0}, {0, 0, 5, 4}, 0);
    EXPECT_TRUE(AllPixels(b, 0));
}

TEST(PaintItem, TransparencyShowsTheParentOrMixes) {
    TBitmap24 parent(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) parent.SetPixel(x, y, MakeColor(x * 10, y * 10, 7));
    TParentBackground bg{&parent, 1, 2, true};
    {
        TsSkinTables t = OneSection(0x00FFFFFF, 100, 0, " ");
        TBitmap24 b(5, 4);
        PaintItem(Source(&t, 0), bg, true, b, {3, 4}, {0, 0, 5, 4}, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) ASSERT_EQ(b.Pixel(x, y), parent.Pixel(x + 4, y + 6)) << x << "," << y;
    }
    {
        TsSkinTables t = OneSection(0x00000000, 40, 0, " ");
        TBitmap24 b(5, 4);
        PaintItem(Source(&t, 0), bg, true, b, {3, 4}, {0, 0, 5, 4}, 0);
        // The parent keeps 40 * 255 div 100 = 102 over black: (p * 102 + 127) >> 8.
        const TColor p = parent.Pixel(6, 7);
        const TColor want = MakeColor((RedOf(p) * 102 + 127) >> 8, (GreenOf(p) * 102 + 127) >> 8, (7 * 102 + 127) >> 8);
        EXPECT_EQ(b.Pixel(2, 1), want);
    }
    {
        // Without a parent cache the control takes its own section's look.
        TsSkinTables t = OneSection(0x00112233, 100, 0, " ");
        TBitmap24 b(3, 3);
        PaintItem(Source(&t, 0), {}, true, b, {0, 0}, {0, 0, 3, 3}, 0);
        EXPECT_TRUE(AllPixels(b, 0x00112233));
    }
}

TEST(PaintItem, GradientMixedWithThePlainColourByItsPercent) {
    TsSkinTables t = OneSection(0x00000000, 0, 60, "16777215;16777215;100;0;0");
    TBitmap24 b(4, 4);
    PaintItem(Source(&t, 0), {}, true, b, {0, 0}, {0, 0, 4, 4}, 0);
    // 0.6 * 255 + 0.4 * 0 = 153
    EXPECT_TRUE(AllPixels(b, 0x00999999));
}

TEST(PaintGradient, VerticalBandsAndTheFinalStopReachingTheLastRow) {
    TBitmap24 b(3, 10);
    PaintGradient(b, {0, 0, 3, 10}, ParseGradientData("0;16777215;100;0;0;255;255;0;0;0"));
    // 10 rows in the first band: row k is Round(25.5 * k); the last row is the final stop's colour.
    for (int y = 0; y < 9; ++y) EXPECT_EQ(RedOf(b.Pixel(1, y)), static_cast<std::uint8_t>(RoundEven(25.5 * y))) << y;
    EXPECT_EQ(b.Pixel(2, 9), 0x000000FFu);
    // Horizontal bands go along x; an empty stop list draws nothing.
    TBitmap24 h(4, 2);
    PaintGradient(h, {0, 0, 4, 2}, ParseGradientData("255;255;50;1;0;65280;65280;0;0;0"));
    EXPECT_EQ(h.Pixel(0, 1), 0x000000FFu);
    EXPECT_EQ(h.Pixel(1, 0), 0x000000FFu);
    EXPECT_EQ(h.Pixel(3, 0), 0x0000FF00u);
    TBitmap24 e(2, 2);
    PaintGradient(e, {0, 0, 2, 2}, {});
    EXPECT_TRUE(AllPixels(e, 0));
}

TEST(DrawTexture, DrawTypesReportTheUncoveredPart) {
    TBitmap24 picture(3, 2);
    picture.Fill(0x00ABCDEF);
    TTexture tex;
    tex.Pattern = &picture;
    struct Case { int type; TRect uncovered; } cases[] = {
        {tdTile, {0, 0, 0, 0}}, {tdStretch, {0, 0, 0, 0}}, {tdTopRow, {0, 2, 10, 8}}, {tdLeftColumn, {3, 0, 10, 8}},
        {tdTopStretched, {0, 2, 10, 8}}, {tdLeftStretched, {3, 0, 10, 8}}, {tdTopBottom, {0, 2, 10, 6}},
        {tdLeftRight, {3, 0, 7, 8}}, {tdTileByColumns, {0, 0, 0, 0}},
    };
    for (auto c : cases) {
        TBitmap24 b(12, 10);
        const TRect left = DrawTexture(b, {0, 0, 10, 8}, tex, c.type);
        EXPECT_EQ(left.IsEmpty(), c.uncovered.IsEmpty()) << c.type;
        if (!c.uncovered.IsEmpty()) {
            EXPECT_EQ(left, c.uncovered) << c.type;
            EXPECT_EQ(b.Pixel(c.uncovered.Left, c.uncovered.Top), 0u) << c.type;
        }
        EXPECT_EQ(b.Pixel(0, 0), 0x00ABCDEFu) << c.type;
        for (int y = 0; y < 10; ++y) ASSERT_EQ(b.Pixel(10, y), 0u) << "wrote outside rect, type " << c.type;
        for (int x = 0; x < 12; ++x) ASSERT_EQ(b.Pixel(x, 8), 0u) << "wrote outside rect, type " << c.type;
    }
}

TEST(PaintOpaque, GradientOverTextureIsBlendedAcrossTheWholeWidth) {
    TBitmap24 picture(4, 4);
    picture.Fill(0x00204060);
    TTexture texture;
    texture.Pattern = &picture;
    const TsGradArray red = ParseGradientData("255;255;100;0;0");
    TOpaqueLayers layers;
    layers.Color = 0x00FFFFFF;
    layers.GradientPercent = 100;
    layers.Gradient = &red;
    layers.ImagePercent = 50;
    layers.Texture = &texture;
    TBitmap24 b(9, 3);
    PaintOpaque(b, {0, 0, 9, 3}, layers);
    // The texture keeps 50 * 255 div 100 = 127: (t * 127 + g * 128 + 127) >> 8 per channel.
    const TColor want = MakeColor((0x60 * 127 + 255 * 128 + 127) >> 8, (0x40 * 127 + 127) >> 8, (0x20 * 127 + 127) >> 8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(b.Pixel(x, y), want) << x << "," << y;   // the last column too
}

TEST(PaintItem, TextureThatIsNotFoundIsNoLayerAtAll) {
    // ImagePercent 50 without any PATTERN entry: the plain colour covers the cache,
    // instead of half of whatever the bitmap held before.
    TsSkinTables t = OneSection(0x00336699, 0, 0, " ");
    t.Sections[0].ImagePercent = 50;
    t.Sections[0].HotImagePercent = 50;
    for (int state : {0, 1}) {
        TBitmap24 b(6, 4);
        b.Fill(0x00F0F0F0);
        PaintItem(Source(&t, 0), {}, true, b, {0, 0}, {0, 0, 6, 4}, state);
        EXPECT_TRUE(AllPixels(b, state == 0 ? 0x00336699u : 0x00FFFFFFu)) << state;
    }
    // With a gradient as well, the gradient takes its own share only.
    TsSkinTables g = OneSection(0x00000000, 0, 60, "16777215;16777215;100;0;0");
    g.Sections[0].ImagePercent = 30;
    TBitmap24 b(4, 4);
    b.Fill(0x00F0F0F0);
    PaintItem(Source(&g, 0), {}, true, b, {0, 0}, {0, 0, 4, 4}, 0);
    EXPECT_TRUE(AllPixels(b, 0x00999999));   // 0.6 * 255 + 0.4 * 0
}

TEST(DrawTexture, StretchedTransparencyTextureCutByTheBitmapMatchesTheWholeOne) {
    // A 4 x 3 colour half over a transparency half of varying weights.
    TsSkinTables t;
    t.MasterBitmap.SetSize(4, 6);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            t.MasterBitmap.SetPixel(x, y, MakeColor(40 * x, 60 * y, 200));
            t.MasterBitmap.SetPixel(x, y + 3, MakeColor(20 * (x + y), 20 * (x + y), 20 * (x + y)));
        }
    TsMaskData m;
    m.R = {0, 0, 4, 6};
    m.ImageCount = 1;
    m.MaskType = 1;
    TTexture texture;
    ASSERT_TRUE(GetMaskImage(t, m, texture.Mask));
    TBitmap24 whole(20, 12), cut(10, 6);
    whole.Fill(0x00305070);
    cut.Fill(0x00305070);
    DrawTexture(whole, {0, 0, 20, 12}, texture, tdStretch);
    DrawTexture(cut, {-5, -3, 15, 9}, texture, tdStretch);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(cut.Pixel(x, y), whole.Pixel(x + 5, y + 3)) << x << "," << y;
}

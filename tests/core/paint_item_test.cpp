// Item composition: colour, gradient, texture and transparency layers, the frame
// and the corner images, gradient bands and texture draw types.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "paint/blend.h"
#include "paint/color.h"
#include "paint/gradient.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "gui/system_colors.h"
#include "paint/texture.h"
#include "gradient_rule_support.h"
#include "paint_picture_support.h"

using namespace korvel;
using korvel::testing::FillBackground;
using korvel::testing::RuleLines;
using korvel::testing::TRuleBand;
using korvel::testing::TRuleStop;

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

// An offset that makes the measured length negative paints inside the rectangle
// only: the rows above and below it and the columns beside it keep their zeros.
TEST(PaintGradient, NegativeOffsetsStayInsideTheRectangle) {
    for (const char* text : {"255;255;50;0;0;65280;65280;50;0;0;16711680;16711680;0;0;0",
                             "255;255;50;1;0;65280;65280;50;1;0;16711680;16711680;0;1;0"}) {
        for (int offset : {-1, -7, -12, -1000}) {
            TBitmap24 b(12, 12);
            const TRect rect{3, 3, 9, 9};
            PaintGradient(b, rect, ParseGradientData(text), offset);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x)
                    if (x < rect.Left || x >= rect.Right || y < rect.Top || y >= rect.Bottom) {
                        EXPECT_EQ(b.Pixel(x, y), 0u) << text << " offset " << offset << " at " << x << "," << y;
                    }
        }
    }
}

// Gradients of three or more bands, as the title bar, the hot button and the menu
// item of the internal skin have them, painted line by line by the band rule
// (gradient_rule_support.h); the bands of each case are worked out by hand.
TEST(PaintGradient, BandsOfThreeOrMoreStopsFollowTheBandRule) {
    struct TCase {
        const char* What;
        int Mode;
        int Length;   // lines of the rectangle
        std::vector<TRuleStop> Stops;
        std::vector<TRuleBand> Bands;
    } cases[] = {
        // 25 % of 20 = 5 rows on from 0, 40 % = 8 on from 5, the last to row 19; 130 % changes nothing.
        {"three bands", gmVertical, 20,
         {{MakeColor(10, 200, 60), MakeColor(250, 20, 90), 25}, {MakeColor(0, 0, 255), MakeColor(255, 128, 0), 40},
          {MakeColor(33, 66, 99), MakeColor(99, 66, 33), 130}},
         {{0, 5}, {5, 13}, {13, 19}}},
        // 300 % counts as 100 (as a byte it would be 44 %: 8 rows): the middle band reaches
        // the last row, and the last band has only that row.
        {"a middle stop over 100", gmVertical, 20,
         {{MakeColor(10, 200, 60), MakeColor(250, 20, 90), 25}, {MakeColor(0, 0, 255), MakeColor(255, 128, 0), 300},
          {MakeColor(33, 66, 99), MakeColor(99, 66, 33), 50}},
         {{0, 5}, {5, 19}, {19, 19}}},
        // Along x: 10 % of 30 = 3 columns, 30 % = 9, 20 % = 6, the last to column 29.
        {"four bands along x", gmHorizontal, 30,
         {{MakeColor(0, 50, 100), MakeColor(90, 60, 30), 10}, {MakeColor(200, 100, 0), MakeColor(0, 100, 200), 30},
          {MakeColor(255, 255, 255), MakeColor(0, 0, 0), 20}, {MakeColor(1, 2, 3), MakeColor(201, 152, 103), 0}},
         {{0, 3}, {3, 12}, {12, 18}, {18, 29}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::string text;
        for (const TRuleStop& s : c.Stops)
            text += std::to_string(s.Color1) + ";" + std::to_string(s.Color2) + ";" + std::to_string(s.Percent) + ";" +
                    std::to_string(c.Mode) + ";0;";
        // The rectangle lies inside a larger picture whose pixels outside it must stay.
        const bool vertical = c.Mode == gmVertical;
        const TRect rect = vertical ? TRect{1, 2, 4, 2 + c.Length} : TRect{2, 1, 2 + c.Length, 4};
        TBitmap24 b(rect.Right + 2, rect.Bottom + 3), before(b.Width(), b.Height());
        FillBackground(b);
        FillBackground(before);
        PaintGradient(b, rect, ParseGradientData(text));
        const std::vector<TColor> want = RuleLines(c.Stops, c.Bands, c.Length);
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
                const int line = vertical ? y - rect.Top : x - rect.Left;
                const TColor expected = inside ? want[static_cast<std::size_t>(line)] : before.Pixel(x, y);
                ASSERT_EQ(b.Pixel(x, y), expected) << "x " << x << ", y " << y << (inside ? ", line " : ", outside ")
                                                   << (inside ? line : 0);
            }
    }
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

TEST(PaintItem, TextureThatIsNotFoundLeavesItsShareToTheGradient) {
    // ImagePercent 50 without any PATTERN entry nor gradient: the plain colour
    // covers the cache, instead of half of whatever the bitmap held before.
    TsSkinTables t = OneSection(0x00336699, 0, 0, " ");
    t.Sections[0].ImagePercent = 50;
    t.Sections[0].HotImagePercent = 50;
    for (int state : {0, 1}) {
        TBitmap24 b(6, 4);
        b.Fill(0x00F0F0F0);
        PaintItem(Source(&t, 0), {}, true, b, {0, 0}, {0, 0, 6, 4}, state);
        EXPECT_TRUE(AllPixels(b, state == 0 ? 0x00336699u : 0x00FFFFFFu)) << state;
    }
    // With a gradient, the gradient lies in the whole rectangle and keeps G + I
    // percent against the colour: rows 0, 40, 80, 120 of a vertical band from grey 0
    // to grey 160 over a grey-100 colour, G 40 and I 30, give 0.7 * row + 0.3 * 100.
    struct Case { int gradient, image, state; } cases[] = {{40, 30, 0}, {40, 30, 1}, {60, 40, 0}, {70, 60, 1}};
    for (auto c : cases) {
        TsSkinTables g = OneSection(0x00646464, 0, 0, " ");
        TsGeneralData& s = g.Sections[0];
        s.HotColor = s.Color;
        s.GradientPercent = s.HotGradientPercent = c.gradient;
        s.ImagePercent = s.HotImagePercent = c.image;
        s.GradientArray = s.HotGradientArray = ParseGradientData("0;10526880;100;0;0");
        TBitmap24 b(3, 4);
        b.Fill(0x00F0F0F0);
        PaintItem(Source(&g, 0), {}, true, b, {0, 0}, {0, 0, 3, 4}, c.state);
        const int share = c.gradient + c.image;
        for (int y = 0; y < 4; ++y) {
            const int grey = 40 * y;   // 160 / 4 rows per row
            const int want = share >= 100 ? grey : static_cast<int>(std::nearbyint(share / 100.0 * grey + (1 - share / 100.0) * 100));
            for (int x = 0; x < 3; ++x) ASSERT_EQ(b.Pixel(x, y), MakeColor(want, want, want)) << share << " row " << y;
        }
    }
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

namespace {

// A mask entry of section PANEL.
TsMaskData PanelMask(const char* property, std::shared_ptr<TBitmap24> own, int imageCount, int maskType,
                     int stretchMode = 0) {
    TsMaskData m;
    m.SectionName = "PANEL";
    m.PropertyName = property;
    m.Bmp = std::move(own);
    if (m.Bmp) m.R = {0, 0, m.Bmp->Width(), m.Bmp->Height()};
    m.ImageCount = static_cast<std::int16_t>(imageCount);
    m.MaskType = static_cast<std::int16_t>(maskType);
    m.StretchMode = static_cast<std::int16_t>(stretchMode);
    m.ImgType = itisaTexture;
    return m;
}

// Every channel of a texture pixel t kept at percent against the colour c.
TColor KeptAgainst(TColor t, int percent, TColor c) {
    const double f = percent / 100.0, g = 1 - f;
    auto ch = [&](int tv, int cv) { return static_cast<std::uint8_t>(std::nearbyint(f * tv + g * cv)); };
    return MakeColor(ch(RedOf(t), RedOf(c)), ch(GreenOf(t), GreenOf(c)), ch(BlueOf(t), BlueOf(c)));
}

}  // namespace

TEST(PaintItem, PictureOfItsOwnIsTheOpaqueTextureOfItsState) {
    // A small texture picture (one state, no transparency part, as a JPEG under
    // 90000 pixels is loaded) for PATTERN, another for HOTPATTERN: state 0 tiles
    // the first, states 1 and 2 the second, each kept at its percent against the
    // state's colour. A PatternIndex given by the control wins over the name.
    using namespace korvel::testing;
    auto normal = Picture(5, 3, 1);
    auto hot = std::make_shared<TBitmap24>(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) hot->SetPixel(x, y, MakeColor(200 - 9 * x, 7 + 40 * y, 100 + x * y));
    struct Case { int state, percent; bool indexGiven; } cases[] = {
        {0, 100, false}, {0, 70, false}, {1, 100, false}, {2, 45, false}, {0, 100, true},
    };
    for (auto c : cases) {
        TsSkinTables t = OneSection(0x00336699, 0, 0, " ");
        t.Sections[0].HotColor = 0x00102030;
        t.Sections[0].ImagePercent = t.Sections[0].HotImagePercent = c.percent;
        t.Masks.push_back(PanelMask("PATTERN", normal, 1, 0));
        t.Masks.push_back(PanelMask("HOTPATTERN", hot, 1, 0));
        TItemSource src = Source(&t, 0);
        if (c.indexGiven) src.PatternIndex = 1;   // the hot picture, given for the normal set
        TBitmap24 b(11, 7);
        b.Fill(0x00F0F0F0);
        PaintItem(src, {}, true, b, {0, 0}, {0, 0, 11, 7}, c.state);
        const TBitmap24& picture = c.state == 0 && !c.indexGiven ? *normal : *hot;
        const TColor colour = c.state == 0 ? 0x00336699 : 0x00102030;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 11; ++x) {
                const TColor texel = picture.Pixel(x % picture.Width(), y % picture.Height());
                ASSERT_EQ(b.Pixel(x, y), c.percent >= 100 ? texel : KeptAgainst(texel, c.percent, colour))
                    << "state " << c.state << " at " << x << "," << y;
            }
    }
}

TEST(PaintItem, TileByColumnsTransparencyTextureLiesOverTheLayersWithStripsOfTheParent) {
    // A transparency texture (two states of 4 x 3 over their transparency part) with
    // StretchMode 10, from PATTERN or, when PATTERN is missing or colour only, from
    // HOTPATTERN: in state 0 its first state is blended over the plain colour in
    // whole tiles; the strips left at the right and at the bottom, and its key
    // pixels, show the parent's pixels (or the parent's colour without a parent
    // picture). It is no layer of the hot set, and with another StretchMode it is
    // drawn nowhere.
    using namespace korvel::testing;
    constexpr int kW = 4, kH = 3, kWidth = 14, kHeight = 8;
    auto overlay = Picture(2 * kW, kH, 2);
    overlay->SetPixel(1, 1, kKey);
    overlay->SetPixel(kW + 1, 0, 0x00FEFEFE);   // state 1 differs
    TBitmap24 parent(40, 30);
    FillBackground(parent);
    const TParentBackground bg{&parent, 2, 3, true};
    const TPoint at{5, 4};
    const TColor colour = 0x00336699, parentColour = 0x00ABCDEF;
    enum TWhere { wPattern, wHotPattern, wHotPatternOverColourOnlyPattern, wOtherStretchMode };
    struct Case { TWhere where; int state; bool parentPicture, hasParent; } cases[] = {
        {wPattern, 0, true, true},   {wPattern, 0, false, true}, {wPattern, 0, false, false},
        {wHotPattern, 0, true, true}, {wHotPattern, 1, true, true}, {wHotPatternOverColourOnlyPattern, 0, true, true},
        {wOtherStretchMode, 0, true, true},
    };
    for (auto c : cases) {
        TsSkinTables t = OneSection(colour, 0, 0, " ");
        t.Sections[0].HotColor = colour;
        if (c.where == wHotPatternOverColourOnlyPattern) {
            // Colour only, but at 0 percent: no layer, and it leaves the overlay to HOTPATTERN.
            t.Masks.push_back(PanelMask("PATTERN", Picture(3, 3, 1), 1, 0));
        }
        const bool hotEntry = c.where == wHotPattern || c.where == wHotPatternOverColourOnlyPattern;
        t.Masks.push_back(PanelMask(hotEntry ? "HOTPATTERN" : "PATTERN", overlay, 2, 1,
                                    c.where == wOtherStretchMode ? tdTile : tdTileByColumns));
        TItemSource src = Source(&t, 0);
        src.HasParent = c.hasParent;
        src.ParentColor = parentColour;
        TBitmap24 b(kWidth, kHeight);
        b.Fill(0x00F0F0F0);
        PaintItem(src, c.parentPicture ? bg : TParentBackground{}, true, b, at, {0, 0, kWidth, kHeight}, c.state);
        const bool drawn = c.state == 0 && c.where != wOtherStretchMode;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                // What lies behind pixel (x, y): the parent's pixel under it, or its colour.
                const TColor behind = c.parentPicture ? parent.Pixel(x + at.X + bg.OffsetX, y + at.Y + bg.OffsetY)
                                      : c.hasParent   ? parentColour
                                                      : colour;
                TColor want = colour;
                if (drawn) {
                    const bool inTiles = x < kWidth / kW * kW && y < kHeight / kH * kH;
                    want = inTiles ? Expected(*overlay, x % kW, y % kH, kH, colour, 0, behind) : behind;
                }
                ASSERT_EQ(b.Pixel(x, y), want) << "case " << c.where << " state " << c.state << " parent picture "
                                               << c.parentPicture << " at " << x << "," << y;
            }
    }
}

TEST(PaintItem, CornerImagesSitAtTheCornersInTheirState) {
    // Four corner images of different kinds, drawn in state 1 over a plain colour:
    // w is the width div ImageCount, h the height div (MaskType + 1); the top-left
    // at the rectangle's top-left, the top-right at (Right - w, Top), the
    // bottom-left at (0, Bottom - h), the bottom-right at (Right - w, Bottom - h).
    using namespace korvel::testing;
    struct Corner { const char* property; int imageCount, maskType, width, partHeight; bool right, bottom; } corners[] = {
        {"IMGTOPLEFT", 2, 1, 8, 3, false, false},
        {"IMGTOPRIGHT", 0, 0, 9, 4, true, false},    // an own picture without counts: 3 states over transparency
        {"IMGBTMLEFT", 1, 0, 5, 2, false, true},     // colour only, copied with its key pixels left out
        {"IMGBTMRIGHT", 3, 2, 7, 3, true, true},     // MaskType 2: a third of the height is colour
    };
    const TColor colour = 0x00336699;
    TsSkinTables t = OneSection(colour, 0, 0, " ");
    t.Sections[0].HotColor = colour;
    std::vector<std::shared_ptr<TBitmap24>> pictures;
    for (const Corner& c : corners) {
        const int maskType = c.imageCount == 0 ? 1 : c.maskType;
        auto picture = Picture(c.width, c.partHeight, maskType + 1);
        const int states = c.imageCount == 0 ? 3 : c.imageCount;
        picture->SetPixel(states > 1 ? c.width / states : 1, 0, kKey);   // a key pixel in the state drawn
        t.Masks.push_back(PanelMask(c.property, picture, c.imageCount, c.maskType));
        t.Masks.back().ImgType = itisaGlyph;
        pictures.push_back(picture);
    }
    const TRect rect{0, 0, 20, 12};
    TBitmap24 b(23, 14);
    b.Fill(0x00F0F0F0);
    PaintItem(Source(&t, 0), {}, true, b, {0, 0}, rect, 1);
    TBitmap24 want(23, 14);
    want.Fill(0x00F0F0F0);
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x) want.SetPixel(x, y, colour);
    for (std::size_t i = 0; i < std::size(corners); ++i) {
        const Corner& c = corners[i];
        const int states = c.imageCount == 0 ? 3 : c.imageCount, maskType = c.imageCount == 0 ? 1 : c.maskType;
        const int w = c.width / states, h = c.partHeight, left = std::min(1, states - 1) * w;
        const int px = c.right ? rect.Right - w : c.bottom ? 0 : rect.Left, py = c.bottom ? rect.Bottom - h : rect.Top;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                want.SetPixel(px + x, py + y,
                              Expected(*pictures[i], left + x, y, maskType ? c.partHeight : 0, want.Pixel(px + x, py + y)));
    }
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) ASSERT_EQ(b.Pixel(x, y), want.Pixel(x, y)) << x << "," << y;
}

TEST(PaintItem, PartlyTransparentItemInTheParentsOwnPictureBlendsOverWhatIsThere) {
    // A window part painted into the very picture its background comes from: the
    // pixels under the rectangle are what lies behind, nothing is copied onto
    // itself, and the item (black, 40 percent transparent) keeps 255 - 102 of each.
    using namespace korvel::testing;
    for (int transparency : {40, 100}) {
        TsSkinTables t = OneSection(0x00000000, transparency, 0, " ");
        TBitmap24 b(12, 9);
        FillBackground(b);
        const TBitmap24 before = b.Clone();
        const TParentBackground own{&b, 3, 2, true};   // offsets that would read a shifted, overlapping block
        const TRect rect{2, 1, 10, 7};
        PaintItemBackground(0, own, clNone, -1, -1, &t, b, {rect.Left, rect.Top}, rect, 0);
        const int keep = transparency * 255 / 100;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const TColor p = before.Pixel(x, y);
                const bool inside = x >= rect.Left && y >= rect.Top && x < rect.Right && y < rect.Bottom;
                auto kept = [&](int v) { return static_cast<std::uint8_t>((v * keep + 127) >> 8); };
                const TColor want = !inside || transparency == 100 ? p : MakeColor(kept(RedOf(p)), kept(GreenOf(p)), kept(BlueOf(p)));
                ASSERT_EQ(b.Pixel(x, y), want) << transparency << " at " << x << "," << y;
            }
    }
}

namespace {

// A random gradient text of one to five stops, percents 0 to 120, the first
// stop's mode one of vertical, horizontal, corner mesh or unknown (mode 7).
std::string RandomGradient(std::mt19937& rng) {
    static const int modes[] = {gmVertical, gmVertical, gmHorizontal, gmHorizontal, gmCornerMesh, 7};
    const int mode = modes[rng() % std::size(modes)];
    std::string text;
    const int stops = 1 + int(rng() % 5);
    for (int i = 0; i < stops; ++i)
        text += std::to_string(rng() & 0xFFFFFF) + ";" + std::to_string(rng() & 0xFFFFFF) + ";" +
                std::to_string(rng() % 121) + ";" + std::to_string(i == 0 ? mode : int(rng() % 3)) + ";0;";
    return text;
}

TBitmap24 RandomPicture(int w, int h, std::mt19937& rng) {
    TBitmap24 b(w, h, rng() % 2 ? TRowOrder::TopDown : TRowOrder::BottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() & 0xFFFFFF);
    return b;
}

bool SamePixels(const TBitmap24& a, const TBitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

}  // namespace

TEST(PaintGradient, RandomBandsInRectanglesCutByTheBitmapFollowTheBandRule) {
    // The lines are those of the rectangle cut to the bitmap; each is painted
    // across the whole of it, in the colour of the last band that holds it.
    std::mt19937 rng(83);
    for (int round = 0; round < 400; ++round) {
        const bool vertical = rng() % 2 == 0;
        std::vector<TRuleStop> stops(1 + rng() % 5);
        std::string text;
        for (TRuleStop& s : stops) {
            s = {TColor(rng() & 0xFFFFFF), TColor(rng() & 0xFFFFFF), int(rng() % 121)};
            // Bands of one colour, and bands where only one channel moves.
            if (rng() % 3 == 0) s.Color2 = s.Color1;
            if (rng() % 4 == 0) s.Color2 = (s.Color1 & ~(0xFFu << (8 * (rng() % 3)))) | (s.Color2 & (0xFFu << (8 * (rng() % 3))));
            text += std::to_string(s.Color1) + ";" + std::to_string(s.Color2) + ";" + std::to_string(s.Percent) + ";" +
                    (vertical ? "0" : "1") + ";0;";
        }
        TBitmap24 b = RandomPicture(1 + int(rng() % 40), 1 + int(rng() % 40), rng);
        const TBitmap24 before = b.Clone();
        const TRect rect = Bounds(int(rng() % 20) - 8, int(rng() % 20) - 8, int(rng() % 50), int(rng() % 50));
        PaintGradient(b, rect, ParseGradientData(text));
        const TRect cut = Intersect(rect, {0, 0, b.Width(), b.Height()});
        const int length = vertical ? cut.Height() : cut.Width();
        // The band rule, written out (gradient_rule_support.h).
        const std::vector<TColor> want = length > 0 ? RuleLines(stops, korvel::testing::RuleBands(stops, length), length)
                                                    : std::vector<TColor>{};
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const bool inside = x >= cut.Left && x < cut.Right && y >= cut.Top && y < cut.Bottom;
                const TColor expected = inside ? want[static_cast<std::size_t>(vertical ? y - cut.Top : x - cut.Left)]
                                               : before.Pixel(x, y);
                ASSERT_EQ(b.Pixel(x, y), expected) << "round " << round << " at " << x << "," << y;
            }
    }
}

TEST(PaintOpaque, LinesComputedOnceGiveTheBytesOfTheLayersPaintedOneByOne) {
    // Colours (system colours among them), percents from below 0 to above 100,
    // gradients of every mode or none, a texture or none, a colour answered by the
    // parent or none, over a bitmap whose old pixels show where the layers leave them.
    std::mt19937 rng(89);
    TBitmap24 pattern = RandomPicture(5, 4, rng);
    for (int round = 0; round < 3000; ++round) {
        const TsGradArray stops = rng() % 6 == 0 ? TsGradArray{} : ParseGradientData(RandomGradient(rng));
        TTexture texture;
        texture.Pattern = &pattern;
        TOpaqueLayers layers;
        layers.Color = rng() % 5 == 0 ? TColor(0xFF000000u | (rng() % 25)) : TColor(rng() & 0xFFFFFF);
        layers.Transparency = int(rng() % 3) * 50;
        layers.GradientPercent = int(rng() % 131) - 15;
        layers.Gradient = rng() % 8 == 0 ? nullptr : &stops;
        layers.ImagePercent = rng() % 3 == 0 ? 0 : int(rng() % 131) - 15;
        layers.Texture = rng() % 3 == 0 ? &texture : nullptr;
        layers.DrawType = int(rng() % 8);
        SharedColor = rng() % 2 ? clNone : TColor(rng() & 0xFFFFFF);
        TBitmap24 a = RandomPicture(1 + int(rng() % 30), 1 + int(rng() % 30), rng);
        TBitmap24 b = a.Clone();
        const TRect rect = Bounds(int(rng() % 12) - 4, int(rng() % 12) - 4, int(rng() % 40), int(rng() % 40));
        PaintOpaque(a, rect, layers);
        PaintOpaqueLayers(b, rect, layers);
        SharedColor = clNone;
        ASSERT_TRUE(SamePixels(a, b)) << "round " << round;
    }
}

TEST(PaintItem, PartlyTransparentItemsGiveTheBytesOfTheirPictureBlendedOverTheParent) {
    // The item painted into a picture of its own and blended over what lies behind
    // (the rectangle as a fully transparent item shows it), against the rows
    // blended straight from their lines; sizes of one row or column included, where
    // the blend of two pictures leaves what lies behind.
    std::mt19937 rng(97);
    for (int round = 0; round < 2000; ++round) {
        TsSkinTables t = OneSection(rng() & 0xFFFFFF, 1 + int(rng() % 99), int(rng() % 131) - 15, "");
        TsGeneralData& s = t.Sections[0];
        s.GradientData = rng() % 6 == 0 ? "" : RandomGradient(rng);
        s.GradientArray = ParseGradientData(s.GradientData);
        s.ImagePercent = rng() % 3 == 0 ? 0 : int(rng() % 131) - 15;
        TBitmap24 parent = RandomPicture(40, 40, rng);
        TBitmap24 a = RandomPicture(1 + int(rng() % 30), 1 + int(rng() % 30), rng);
        const bool own = rng() % 6 == 0;   // painted into the parent's own picture
        const TParentBackground bg{own ? &a : &parent, int(rng() % 20) - 10, int(rng() % 20) - 10, true};
        const TPoint point{int(rng() % 20) - 5, int(rng() % 20) - 5};
        const int l = int(rng() % a.Width()), top = int(rng() % a.Height());
        const TRect rect{l, top, l + 1 + int(rng() % (a.Width() - l)), top + 1 + int(rng() % (a.Height() - top))};
        const TColor shared = rng() % 4 == 0 ? TColor(rng() & 0xFFFFFF) : clNone;

        // What lies behind, then the item's own picture blended over it.
        TBitmap24 want = a.Clone();
        TParentBackground wantBg = bg;
        if (own) wantBg.Bitmap = &want;
        TsSkinTables behind = OneSection(0, 100, 0, "");
        SharedColor = shared;
        PaintItemBackground(0, wantBg, clNone, -1, -1, &behind, want, point, rect, 0);
        TBitmap24 item(rect.Width(), rect.Height());
        TOpaqueLayers layers;
        layers.Color = s.Color;
        layers.Transparency = s.Transparency;
        layers.GradientPercent = s.GradientPercent;
        layers.Gradient = &s.GradientArray;
        layers.ImagePercent = s.ImagePercent;
        PaintOpaqueLayers(item, {0, 0, rect.Width(), rect.Height()}, layers);
        BlendBitmapAt(want, item, static_cast<std::uint8_t>(s.Transparency * 255 / 100), {rect.Left, rect.Top},
                      {0, 0, rect.Width(), rect.Height()});

        PaintItemBackground(0, bg, clNone, -1, -1, &t, a, point, rect, 0);
        SharedColor = clNone;
        ASSERT_TRUE(SamePixels(a, want)) << "round " << round << " " << rect.Width() << "x" << rect.Height();
    }
}

TEST(PaintItem, FramesOverPartlyTransparentItemsGiveTheBytesOfTheBackgroundAndTheFramePaintedInTurn) {
    // PaintItem paints a partly transparent item's background as its frame needs
    // it and blends the frame's middle rows straight over it; the steps painted one
    // after the other (background, then the frame tile by tile) are the reference.
    std::mt19937 rng(101);
    for (int round = 0; round < 2500; ++round) {
        TsSkinTables t = OneSection(rng() & 0xFFFFFF, rng() % 5 == 0 ? 0 : 1 + int(rng() % 99), int(rng() % 131) - 15, "");
        TsGeneralData& s = t.Sections[0];
        s.GradientData = rng() % 6 == 0 ? "" : RandomGradient(rng);
        s.GradientArray = ParseGradientData(s.GradientData);
        s.HotTransparency = int(rng() % 100);
        s.HotGradientPercent = int(rng() % 101);
        s.HotGradientArray = s.GradientArray;
        // A frame on the master bitmap: colour and transparency bytes at random, key pixels here and there.
        const int cw = 1 + int(rng() % 6), ch = 1 + int(rng() % 6), states = 1 + int(rng() % 3);
        const int maskType = rng() % 4 == 0 ? 0 : 1;
        t.MasterBitmap = RandomPicture(cw * 3 * states + 2, ch * 3 * (maskType + 1) + 1, rng);
        for (int i = 0; i < int(rng() % 12); ++i)
            t.MasterBitmap.SetPixel(int(rng() % t.MasterBitmap.Width()), int(rng() % t.MasterBitmap.Height()), clNone);
        TsMaskData m;
        m.R = {1, 0, 1 + cw * 3 * states, ch * 3 * (maskType + 1)};
        m.ImageCount = static_cast<std::int16_t>(states);
        m.MaskType = static_cast<std::int16_t>(maskType);
        m.BorderWidth = static_cast<std::int16_t>(rng() % 5 == 0);
        t.Masks.push_back(m);

        // Mostly a parent picture under the whole item, sometimes one that ends inside it.
        TBitmap24 parent = RandomPicture(90, 70, rng);
        TBitmap24 a = RandomPicture(2 + int(rng() % 60), 2 + int(rng() % 40), rng);
        const int l = int(rng() % (a.Width() - 1)), top = int(rng() % (a.Height() - 1));
        const TRect rect{l, top, l + 2 + int(rng() % (a.Width() - l - 1)), top + 2 + int(rng() % (a.Height() - top - 1))};
        const bool inside = rng() % 3 != 0;
        const TParentBackground bg{&parent, inside ? int(rng() % 10) : int(rng() % 60) - 30,
                                   inside ? int(rng() % 10) : int(rng() % 60) - 30, rng() % 8 != 0};
        const TPoint point{int(rng() % 20) - (inside ? 0 : 10), int(rng() % 20) - (inside ? 0 : 10)};
        const bool centre = rng() % 4 != 0;
        const int state = int(rng() % 3);
        TItemSource item = Source(&t, 0);
        item.BorderIndex = 0;
        item.HasParent = rng() % 2 == 0;
        item.ParentColor = rng() & 0xFFFFFF;
        item.NeedsParentRepaint = rng() % 3 != 0;
        const TColor answer = rng() & 0xFFFFFF;
        if (rng() % 2) item.ParentControlColor = [answer] { return answer; };

        TBitmap24 want = a.Clone();
        {
            // PaintItem's steps, one after the other, as they are laid down for it.
            SharedColor = clNone;
            if (!bg.Ready && item.HasParent) SharedColor = GlobalFillColor = ColorToRgb(item.ParentColor);
            if (bg.Ready && !item.NeedsParentRepaint && SharedColor == clNone && item.ParentControlColor)
                SharedColor = item.ParentControlColor();
            PaintItemBackground(0, bg, clNone, -1, -1, &t, want, point, rect, state);
            TParentBackground moved = bg;
            moved.OffsetX += point.X;
            moved.OffsetY += point.Y;
            DrawSkinRectTileByTile(want, rect, centre, moved, state, t, t.Masks[0]);
            GlobalFillColor = SharedColor = clNone;
        }
        PaintItem(item, bg, centre, a, point, rect, state);
        ASSERT_TRUE(SamePixels(a, want)) << "round " << round << " " << rect.Width() << "x" << rect.Height();
    }
}

// Recolouring of a loaded skin by hue offset and saturation.
#include <gtest/gtest.h>

#include <climits>

#include "engine/bound_label.h"
#include "paint/color.h"
#include "engine/skin_recolour.h"

namespace korvel {
namespace {

TsSkinTables RedSkin() {
    TsSkinTables t;
    TsGeneralData s;
    s.SectionName = "PANEL";
    s.Color = MakeColor(255, 0, 0);
    s.HotColor = MakeColor(128, 128, 128);
    s.FontColor = {static_cast<std::int32_t>(MakeColor(255, 0, 0)), -1, -1, -1, -1};
    s.ShadowColor = MakeColor(255, 0, 0);
    s.BorderColor1 = MakeColor(255, 0, 0);
    s.GradientArray.push_back(TsGradientStop{MakeColor(255, 0, 0), MakeColor(0, 0, 255)});
    t.Sections.push_back(s);
    t.MasterBitmap = TBitmap24(3, 1);
    t.MasterBitmap.SetPixel(0, 0, MakeColor(255, 0, 0));
    t.MasterBitmap.SetPixel(1, 0, clNone);
    t.MasterBitmap.SetPixel(2, 0, MakeColor(77, 77, 77));
    TsMaskData own;
    own.Bmp = std::make_shared<TBitmap24>(1, 1);
    own.Bmp->SetPixel(0, 0, MakeColor(255, 0, 0));
    t.Masks.push_back(own);
    TsPatternData pattern;
    pattern.Img = std::make_shared<TBitmap24>(1, 1);
    pattern.Img->SetPixel(0, 0, MakeColor(255, 0, 0));
    t.Patterns.push_back(pattern);
    t.SkinData.Shadow1Color = static_cast<std::int32_t>(MakeColor(255, 0, 0));
    return t;
}

TEST(SkinRecolour, HueOffset120TurnsRedIntoGreenAndKeepsGreysKeysAndPatterns) {
    TsSkinTables t = RedSkin();
    RecolourSkin(t, 120, 0);
    const TColor green = MakeColor(0, 255, 0);
    const auto& s = t.Sections[0];
    EXPECT_EQ(s.Color, green);
    EXPECT_EQ(s.HotColor, MakeColor(128, 128, 128));
    EXPECT_EQ(static_cast<TColor>(s.FontColor[0]), green);
    EXPECT_EQ(s.FontColor[1], -1);
    EXPECT_EQ(s.GradientArray[0].Color1, green);
    EXPECT_EQ(s.GradientArray[0].Color2, MakeColor(255, 0, 0));   // blue turns to red
    EXPECT_EQ(s.ShadowColor, MakeColor(255, 0, 0));
    EXPECT_EQ(s.BorderColor1, MakeColor(255, 0, 0));
    EXPECT_EQ(t.MasterBitmap.Pixel(0, 0), green);
    EXPECT_EQ(t.MasterBitmap.Pixel(1, 0), clNone);
    EXPECT_EQ(t.MasterBitmap.Pixel(2, 0), MakeColor(77, 77, 77));
    EXPECT_EQ(t.Masks[0].Bmp->Pixel(0, 0), green);
    EXPECT_EQ(t.Patterns[0].Img->Pixel(0, 0), MakeColor(255, 0, 0));
    EXPECT_EQ(static_cast<TColor>(t.SkinData.Shadow1Color), green);
}

TEST(SkinRecolour, SaturationAmountIsTheTruncatedRemainderOfTheNegatedValue) {
    struct Case { int saturation, amount; };
    const Case cases[] = {{0, 0}, {1, -1}, {-1, 1}, {100, -100}, {101, 0}, {102, -1}, {-202, 0}, {-250, 48},
                          {INT_MIN, static_cast<int>(-static_cast<long long>(INT_MIN) % 101)}};
    for (const auto& c : cases) EXPECT_EQ(SaturationAmount(c.saturation), c.amount) << c.saturation;
}

TEST(SkinRecolour, Saturation101RunsAPassThatChangesNothing) {
    TsSkinTables t = RedSkin();
    RecolourSkin(t, 0, 101);
    EXPECT_EQ(t.Sections[0].Color, MakeColor(255, 0, 0));
    EXPECT_EQ(t.MasterBitmap.Pixel(0, 0), MakeColor(255, 0, 0));
    TsSkinTables u = RedSkin();
    RecolourSkin(u, 0, -100);   // amount 100: every colour becomes its grey
    const TColor grey = ChangeSaturation(MakeColor(255, 0, 0), 100);
    EXPECT_EQ(u.Sections[0].Color, grey);
    EXPECT_EQ(u.MasterBitmap.Pixel(0, 0), grey);
    EXPECT_EQ(u.MasterBitmap.Pixel(1, 0), clNone);
}

// The caption label an edit carries: placed from the edit's bounds.
TEST(BoundLabel, PlacementByLayout) {
    const TRect edit{100, 10, 221, 31};   // Left 100, Top 10, Width 121, Height 21
    struct Case { TsCaptionLayout layout; int indent, maxWidth, left, top, width, height; bool wrap; int align; };
    const Case cases[] = {
        {sclLeft, 0, 0, 66, 13, 30, 13, false, 1},       // 100 - 30 - 0 - 4; 10 + (21 - 13) / 2 - 1
        {sclLeft, 5, 0, 61, 13, 30, 13, false, 1},
        {sclTopLeft, 2, 0, 100, -5, 30, 13, false, 0},
        {sclTopCenter, 0, 0, 145, -3, 30, 13, false, 2}, // 100 + (121 - 30) / 2
        {sclTopRight, 0, 0, 191, -3, 30, 13, false, 1},
        {sclTopLeft, 0, 50, 100, -3, 50, 21, true, 0},   // word-wrapped, as high as the edit
    };
    for (const auto& c : cases) {
        const TBoundLabelPlace p = PlaceBoundLabel(c.layout, edit, 30, 13, c.indent, c.maxWidth);
        EXPECT_EQ(p.Left, c.left) << c.layout << "/" << c.indent;
        EXPECT_EQ(p.Top, c.top) << c.layout << "/" << c.indent;
        EXPECT_EQ(p.Width, c.width) << c.layout;
        EXPECT_EQ(p.Height, c.height) << c.layout;
        EXPECT_EQ(p.WordWrap, c.wrap) << c.layout;
        EXPECT_EQ(BoundLabelAlignment(c.layout), c.align) << c.layout;
    }
    // Truncation toward zero when the label is higher than the edit.
    EXPECT_EQ(PlaceBoundLabel(sclLeft, edit, 30, 26, 0, 0).Top, 10 + (21 - 26) / 2 - 1);
    EXPECT_EQ(PlaceBoundLabel(sclLeft, edit, 30, 26, 0, 0).Top, 7);
}

}  // namespace
}  // namespace korvel

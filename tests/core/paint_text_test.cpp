// Caption layout and colours on the software text canvas (a fixed-width stand-in
// font whose glyphs are blocks): the text box and the rectangle handed back, the
// contour passes, the disabled look, the underlined hot web button, cutting with
// an ellipsis and the dotted focus frame.
#include <gtest/gtest.h>

#include <climits>

#include "paint/text.h"
#include "tests/core/text_sections_support.h"
#include "gui/system_colors.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

constexpr int kW = TSoftTextCanvas::CellWidth, kH = TSoftTextCanvas::CellHeight;
constexpr TColor kBackground = 0x00808080;
constexpr TColor kCanvasColor = 0x00010101;


struct TPage {
    TBitmap24 Bitmap{90, 40};
    TSoftTextCanvas Canvas{Bitmap};
    TPage() {
        Bitmap.Fill(kBackground);
        Canvas.SetFontColor(kCanvasColor);
    }
    TColor At(int x, int y) const {
        if (x < 0 || y < 0 || x >= Bitmap.Width() || y >= Bitmap.Height()) return 0xFFFFFFFF;   // off the page
        return Bitmap.Pixel(x, y);
    }
};

bool Untouched(const TBitmap24& b, const TRect& inside) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const bool in = x >= inside.Left && x < inside.Right && y >= inside.Top && y < inside.Bottom;
            if (!in && b.Pixel(x, y) != kBackground) return false;
        }
    return true;
}

}  // namespace

TEST(WriteTextEx, TextBoxIsCentredVerticallyAndAlignedAndRectComesBackGrownByOne) {
    const TsSkinTables t = Sections();
    // "abc" is 18 x 10 in the stand-in font; the rectangle is 60 x 30 at (10, 5).
    struct Case { unsigned format; int boxLeft; } cases[] = {
        {dtLeft, 10}, {dtCenter, 10 + (60 - 18) / 2}, {dtRight, 70 - 18}, {dtCenter | dtVCenter | dtSingleLine, 31},
    };
    for (auto c : cases) {
        TPage page;
        TRect rect{10, 5, 70, 35};
        WriteTextEx(page.Canvas, "abc", true, false, {&t, 0, false}, c.format, rect);
        const TRect box = Bounds(c.boxLeft, 5 + (30 - kH) / 2, 18, kH);
        EXPECT_EQ(rect, (TRect{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1})) << c.format;
        EXPECT_EQ(page.At(box.Left, box.Top), kNormal.Text) << c.format;
        EXPECT_EQ(page.At(box.Right - 1, box.Bottom - 3), kNormal.Text) << c.format;
        EXPECT_TRUE(Untouched(page.Bitmap, rect)) << c.format;
    }
}

TEST(WriteTextEx, WordBreakLaysTextOutInRectAndLeavesRectAsItWas) {
    const TsSkinTables t = Sections();
    TPage page;
    TRect rect{4, 2, 4 + 5 * kW, 38};
    WriteTextEx(page.Canvas, "ab cd efg", true, false, {&t, 0, false}, dtWordBreak, rect);
    EXPECT_EQ(rect, (TRect{4, 2, 4 + 5 * kW, 38}));
    // Five cells per line: "ab cd" on the first line, "efg" on the second.
    EXPECT_EQ(page.At(4, 2), kNormal.Text);
    EXPECT_EQ(page.At(4 + 2 * kW + 1, 3), kBackground);   // the space
    EXPECT_EQ(page.At(4 + 4 * kW, 3), kNormal.Text);
    EXPECT_EQ(page.At(4 + 2 * kW, 2 + kH + 1), kNormal.Text);
    EXPECT_EQ(page.At(4 + 3 * kW + 2, 2 + kH + 1), kBackground);
}

TEST(WriteTextEx, ContourPassesShowOnePixelOutInEachSidesColourNormalAndHot) {
    const TsSkinTables t = Sections();
    for (bool hot : {false, true}) {
        const TColours& c = hot ? kHot : kNormal;
        TPage page;
        TRect rect{0, 0, 90, 40};
        WriteTextEx(page.Canvas, "abcd", true, hot, {&t, 0, false}, dtCenter, rect);
        const TRect box{rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
        EXPECT_EQ(page.At(box.Left + 3, box.Top + 3), c.Text) << hot;
        EXPECT_EQ(page.At(box.Left - 1, box.Top + 3), c.Left) << hot;
        EXPECT_EQ(page.At(box.Left + 3, box.Top - 1), c.Top) << hot;
        EXPECT_EQ(page.At(box.Right, box.Top + 3), c.Right) << hot;
        EXPECT_EQ(page.At(box.Left + 3, box.Top + kH - 2), c.Bottom) << hot;   // the glyphs leave that row free
        // The canvas gets its own colour back.
        EXPECT_EQ(page.Canvas.FontColor(), kCanvasColor);
    }
}

TEST(WriteTextEx, MissingContourColoursCustomFontAndNoSectionDrawOnlyTheText) {
    TsSkinTables t = Sections();
    t.Sections[0].FontColor[fcLeft] = -1;
    t.Sections[0].FontColor[fcBottom] = -1;
    struct Case { TTextSource source; TColor text; bool contour; } cases[] = {
        {{&t, 0, false}, kNormal.Text, true},
        {{&t, 0, true}, kCanvasColor, false},    // the control's own font colour, no contour
        {{&t, 7, false}, kCanvasColor, false},   // no valid section
        {{nullptr, 0, false}, kCanvasColor, false},
    };
    for (auto c : cases) {
        TPage page;
        TRect rect{0, 0, 90, 40};
        WriteTextEx(page.Canvas, "ab", true, false, c.source, dtCenter, rect);
        const TRect box{rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
        EXPECT_EQ(page.At(box.Left, box.Top), c.text);
        EXPECT_EQ(page.At(box.Left - 1, box.Top + 3), kBackground);
        EXPECT_EQ(page.At(box.Left + 3, box.Top + kH - 2), kBackground);
        EXPECT_EQ(page.At(box.Right, box.Top + 3), c.contour ? kNormal.Right : kBackground);
        EXPECT_EQ(page.At(box.Left + 3, box.Top - 1), c.contour ? kNormal.Top : kBackground);
    }
}

TEST(WriteTextEx, DisabledTextIsHighlightOffsetByOneUnderShadow) {
    const TsSkinTables t = Sections();
    const TColor highlight = ColorToRgb(clSystemColor | 20), shadow = ColorToRgb(clSystemColor | 16);
    ASSERT_NE(highlight, shadow);
    TPage page;
    TRect rect{5, 0, 90, 40};
    WriteTextEx(page.Canvas, "abc", false, true, {&t, 0, false}, dtLeft, rect);
    const TRect box{rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    EXPECT_EQ(page.At(box.Left, box.Top), shadow);
    EXPECT_EQ(page.At(box.Right, box.Top + 1), highlight);
    EXPECT_EQ(page.At(box.Left + 1, box.Top + kH - 2), highlight);
    EXPECT_EQ(page.At(box.Left - 1, box.Top + 3), kBackground);   // no contour
}

TEST(WriteTextEx, HotWebButtonIsUnderlinedAndTheCanvasFontIsGivenBack) {
    const TsSkinTables t = Sections();
    struct Case { int section; bool hot; bool underlined; } cases[] = {
        {1, true, true}, {1, false, false}, {0, true, false},
    };
    for (auto c : cases) {
        TPage page;
        TRect rect{0, 0, 90, 40};
        WriteTextEx(page.Canvas, "a b", true, c.hot, {&t, c.section, false}, dtLeft, rect);
        const TRect box{rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
        // The underline runs under the space too.
        const TColor under = page.At(box.Left + kW + 2, box.Top + kH - 1);
        EXPECT_EQ(under == (c.hot ? kHot : kNormal).Text, c.underlined) << c.section << c.hot;
        EXPECT_FALSE(page.Canvas.Underline());
    }
}

TEST(WriteTextEx, NothingIsDrawnOutsideTheRectGiven) {
    const TsSkinTables t = Sections();
    TPage page;
    TRect rect{10, 5, 22, 35};
    WriteTextEx(page.Canvas, "abcdef", true, false, {&t, 0, false}, dtLeft, rect);
    EXPECT_EQ(rect, (TRect{9, 14, 47, 26}));   // the whole text's box, wider than the rect
    EXPECT_EQ(page.At(21, 15), kNormal.Text);
    EXPECT_TRUE(Untouched(page.Bitmap, {10, 5, 22, 35}));
    // Empty text draws nothing; the rect still becomes the (empty) box grown by one.
    TPage empty;
    TRect r{10, 5, 70, 35};
    WriteSectionText(empty.Canvas, "", true, &t, false, 0, dtCenter, r);
    EXPECT_EQ(r, (TRect{39, 14, 41, 26}));
    EXPECT_TRUE(Untouched(empty.Bitmap, {}));
}

TEST(WriteSectionText, DrawsAsTheSectionsCaption) {
    const TsSkinTables t = Sections();
    TPage a, b;
    TRect ra{3, 3, 80, 30}, rb = ra;
    WriteSectionText(a.Canvas, "xyz", true, &t, true, 0, dtRight, ra);
    WriteTextEx(b.Canvas, "xyz", true, true, {&t, 0, false}, dtRight, rb);
    EXPECT_EQ(ra, rb);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 90; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    EXPECT_EQ(a.At(rb.Right - 2, rb.Top + 1), kHot.Text);
}

TEST(CutText, KeepsTheLongestStartThatFitsWithTheEllipsis) {
    TBitmap24 b(4, 4);
    TSoftTextCanvas canvas(b);
    // Six pixels per character.
    struct Case { const char* text; int maxWidth; const char* want; } cases[] = {
        {"Hello world", 66, "Hello world"},
        {"Hello world", 65, "Hello w..."},
        {"Hello world", 24, "H..."},
        {"Hello world", 23, ""},
        {"Hello world", 0, ""},
        {"Hello world", -5, ""},
        {"", 10, ""},
        {"Gr\xC3\xBC\xC3\x9F" "e!!", 29, "G..."},
        {"Gr\xC3\xBC\xC3\x9F" "e!!", 36, "Gr\xC3\xBC..."},   // a two-byte character is kept whole
        {"Gr\xC3\xBC\xC3\x9F" "e!!", 42, "Gr\xC3\xBC\xC3\x9F" "e!!"},
    };
    for (auto c : cases) EXPECT_EQ(CutText(canvas, c.text, c.maxWidth), c.want) << c.text << " " << c.maxWidth;
    const std::string longText(100000, 'x');
    EXPECT_EQ(CutText(canvas, longText, 60), "xxxxxxx...");
}

TEST(DrawDottedFrame, BlackDotsEveryThirdPixelOnTheEdgesWhiteOneUpAndLeft) {
    TBitmap24 b(14, 12);
    b.Fill(kBackground);
    TSoftTextCanvas canvas(b);
    DrawDottedFrame(canvas, {2, 2, 12, 9});   // edges: columns 2 and 11, rows 2 and 8
    int black = 0, white = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 14; ++x) {
            const TColor p = b.Pixel(x, y);
            const bool edgeDot = ((y == 2 || y == 8) && (x - 2) % 3 == 0 && x >= 2 && x <= 11) ||
                                 ((x == 2 || x == 11) && (y - 2) % 3 == 0 && y >= 2 && y <= 8);
            const bool partner = ((y == 1 || y == 7) && (x - 1) % 3 == 0 && x >= 1 && x <= 10) ||
                                 ((x == 1 || x == 10) && (y - 1) % 3 == 0 && y >= 1 && y <= 7);
            EXPECT_EQ(p, edgeDot ? 0u : partner ? 0xFFFFFFu : kBackground) << x << "," << y;
            black += p == 0;
            white += p == 0xFFFFFF;
        }
    EXPECT_EQ(black, 10);
    EXPECT_EQ(white, 10);
    // A frame far larger than the canvas is drawn only where it shows, and quickly.
    b.Fill(kBackground);
    DrawDottedFrame(canvas, {INT_MIN / 2, 1, INT_MAX / 2, 5});
    EXPECT_EQ(b.Pixel(2, 1), 0u);   // INT_MIN / 2 is a multiple of 3 away from 2
    DrawDottedFrame(canvas, {5, 5, 5, 9});
    EXPECT_EQ(b.Pixel(5, 5), kBackground);
}

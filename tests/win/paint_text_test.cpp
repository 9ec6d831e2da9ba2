// Captions through GDI with a real font: the text box and the rectangle handed
// back, contour colours, the disabled look, the underlined hot web button, the
// DC given back as it was, cutting with an ellipsis, measuring on the screen and
// the dotted focus frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "paint/text.h"
#include "tests/core/text_sections_support.h"
#include "paint/text_win.h"
#include "gui/system_colors.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

constexpr TColor kPaper = 0x00FFFFFF;
constexpr TColor kInk = 0x00000000;


// Crisp glyphs: every text pixel is exactly the text colour.
HFONT MakeFont() {
    return CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

// A working bitmap selected into a memory DC.
struct TSurface {
    TBitmap24 Bitmap;
    HDC Dc = CreateCompatibleDC(nullptr);
    HGDIOBJ Old;
    TSurface(int w, int h) : Bitmap(w, h) {
        Bitmap.Fill(kPaper);
        Old = SelectObject(Dc, static_cast<HBITMAP>(Bitmap.Handle()));
    }
    ~TSurface() {
        SelectObject(Dc, Old);
        DeleteDC(Dc);
    }
    TColor At(int x, int y) {
        GdiFlush();
        return Bitmap.Pixel(x, y);
    }
    int Count(TColor c) {
        GdiFlush();
        int n = 0;
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x) n += Bitmap.Pixel(x, y) == c;
        return n;
    }
    // The smallest rectangle holding every pixel of colour c (empty when none).
    TRect BoxOf(TColor c) {
        GdiFlush();
        TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x)
                if (Bitmap.Pixel(x, y) == c)
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1)};
        return r.Left == INT_MAX ? TRect{} : r;
    }
    // The smallest rectangle holding every pixel that is not paper.
    TRect Inked() {
        GdiFlush();
        TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x)
                if (Bitmap.Pixel(x, y) != kPaper)
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1)};
        return r.Left == INT_MAX ? TRect{} : r;
    }
};

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.IsEmpty() || (inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
                               inner.Bottom <= outer.Bottom);
}

TTextSize Extent(HDC dc, HFONT font, const wchar_t* text) {
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &s);
    SelectObject(dc, old);
    return {s.cx, s.cy};
}

class GdiText : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(font, nullptr); }
    void TearDown() override { DeleteObject(font); }
    HFONT font = MakeFont();
    TsSkinTables skin = Sections();
};

}  // namespace

TEST_F(GdiText, CaptionBoxIsTheTextExtentAlignedAndGrownByOne) {
    TSurface s(200, 60);
    const TTextSize size = Extent(s.Dc, font, L"Caption");
    ASSERT_GT(size.Width, 20);
    const TRect area{10, 5, 190, 55};
    struct Case { unsigned format; int left; } cases[] = {
        {dtLeft, 10}, {dtCenter, 10 + (180 - size.Width) / 2}, {dtRight, 190 - size.Width},
    };
    for (auto c : cases) {
        TSurface page(200, 60);
        TGdiTextCanvas canvas(page.Dc, font, kInk);
        TRect rect = area;
        WriteTextEx(canvas, "Caption", true, false, {&skin, 0, false}, c.format, rect);
        const TRect box = Bounds(c.left, 5 + (50 - size.Height) / 2, size.Width, size.Height);
        EXPECT_EQ(rect, (TRect{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1})) << c.format;
        EXPECT_GT(page.Count(kNormal.Text), 20) << c.format;
        EXPECT_TRUE(Inside(page.Inked(), rect)) << c.format;
    }
    // A text wider than its rectangle is cut at the rectangle; the box handed back is the whole text's.
    TSurface narrow(200, 60);
    TGdiTextCanvas canvas(narrow.Dc, font, kInk);
    TRect rect{10, 5, 40, 55};
    WriteTextEx(canvas, "Caption", true, false, {&skin, 0, false}, dtLeft, rect);
    EXPECT_EQ(rect.Width(), size.Width + 2);
    EXPECT_TRUE(Inside(narrow.Inked(), {10, 5, 40, 55}));
    EXPECT_GT(narrow.Count(kNormal.Text), 0);
}

TEST_F(GdiText, ContourColoursSurroundTheTextAndMissingOnesAreSkipped) {
    skin.Sections[0].FontColor[fcBottom] = -1;
    for (bool hot : {false, true}) {
        const TColours& c = hot ? kHot : kNormal;
        TSurface page(200, 60);
        TGdiTextCanvas canvas(page.Dc, font, kInk);
        TRect rect{0, 0, 200, 60};
        WriteTextEx(canvas, "Contour", true, hot, {&skin, 0, false}, dtCenter, rect);
        const TRect text = page.BoxOf(c.Text);
        ASSERT_FALSE(text.IsEmpty()) << hot;
        // Each side's colour shows one pixel beyond the text on its side.
        EXPECT_EQ(page.BoxOf(c.Left).Left, text.Left - 1) << hot;
        EXPECT_EQ(page.BoxOf(c.Top).Top, text.Top - 1) << hot;
        EXPECT_EQ(page.BoxOf(c.Right).Right, text.Right + 1) << hot;
        if (hot) EXPECT_EQ(page.BoxOf(c.Bottom).Bottom, text.Bottom + 1);
        else EXPECT_EQ(page.Count(kNormal.Bottom), 0);
    }
    // With the control's own font there is no contour and the canvas colour stays.
    TSurface page(200, 60);
    TGdiTextCanvas canvas(page.Dc, font, 0x00123456);
    TRect rect{0, 0, 200, 60};
    WriteTextEx(canvas, "Contour", true, false, {&skin, 0, true}, dtCenter, rect);
    EXPECT_GT(page.Count(0x00123456), 20);
    EXPECT_EQ(page.Count(kNormal.Left) + page.Count(kNormal.Top) + page.Count(kNormal.Right), 0);
}

TEST_F(GdiText, DisabledTextIsHighlightOneRightAndDownUnderShadow) {
    const TColor highlight = ColorToRgb(clSystemColor | 20), shadow = ColorToRgb(clSystemColor | 16);
    ASSERT_NE(highlight, shadow);
    TSurface page(200, 60);
    page.Bitmap.Fill(0x00808081);   // neither colour, nor white
    TGdiTextCanvas canvas(page.Dc, font, kInk);
    TRect rect{0, 0, 200, 60};
    WriteTextEx(canvas, "Disabled", false, false, {&skin, 0, false}, dtCenter, rect);
    const TRect light = page.BoxOf(highlight), dark = page.BoxOf(shadow);
    ASSERT_FALSE(dark.IsEmpty());
    ASSERT_FALSE(light.IsEmpty());
    EXPECT_EQ(light.Right, dark.Right + 1);
    EXPECT_EQ(light.Bottom, dark.Bottom + 1);
    EXPECT_EQ(page.Count(kNormal.Text), 0);
}

TEST_F(GdiText, HotWebButtonIsUnderlinedAndTheDcIsGivenBack) {
    auto longestRun = [](TSurface& page, TColor c) {
        GdiFlush();
        int best = 0;
        for (int y = 0; y < page.Bitmap.Height(); ++y)
            for (int x = 0, run = 0; x < page.Bitmap.Width(); ++x) {
                run = page.Bitmap.Pixel(x, y) == c ? run + 1 : 0;
                best = std::max(best, run);
            }
        return best;
    };
    TSurface measure(4, 4);
    const TTextSize size = Extent(measure.Dc, font, L"Web link");
    for (int section : {0, 1}) {
        for (bool hot : {false, true}) {
            TSurface page(200, 60);
            HFONT before = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
            SelectObject(page.Dc, before);
            SetTextColor(page.Dc, RGB(1, 2, 3));
            SetBkMode(page.Dc, OPAQUE);
            RECT clipBefore{};
            GetClipBox(page.Dc, &clipBefore);
            {
                TGdiTextCanvas canvas(page.Dc, font, kInk);
                TRect rect{0, 0, 200, 60};
                WriteTextEx(canvas, "Web link", true, hot, {&skin, section, false}, dtCenter, rect);
                EXPECT_FALSE(canvas.Underline());
                EXPECT_EQ(canvas.FontColor(), kInk);
            }
            const bool underlined = longestRun(page, (hot ? kHot : kNormal).Text) >= size.Width - 2;
            EXPECT_EQ(underlined, section == 1 && hot) << section << hot;
            EXPECT_EQ(GetCurrentObject(page.Dc, OBJ_FONT), before);
            EXPECT_EQ(GetTextColor(page.Dc), RGB(1, 2, 3));
            EXPECT_EQ(GetBkMode(page.Dc), OPAQUE);
            RECT clipAfter{};
            GetClipBox(page.Dc, &clipAfter);
            EXPECT_TRUE(EqualRect(&clipBefore, &clipAfter));
        }
    }
}

TEST_F(GdiText, CutTextKeepsTheLongestStartThatFitsWithAnEllipsis) {
    TSurface page(10, 10);
    TGdiTextCanvas canvas(page.Dc, font, kInk);
    const std::string text = "The quick brown fox jumps";
    const int whole = canvas.TextExtent(text).Width;
    EXPECT_EQ(CutText(canvas, text, whole), text);
    EXPECT_EQ(CutText(canvas, text, 0), "");
    for (int width : {whole - 1, whole / 2, 40, canvas.TextExtent("T...").Width}) {
        const std::string cut = CutText(canvas, text, width);
        ASSERT_GE(cut.size(), 4u) << width;
        EXPECT_EQ(cut.substr(cut.size() - 3), "...") << width;
        const std::string kept = cut.substr(0, cut.size() - 3);
        EXPECT_EQ(text.substr(0, kept.size()), kept) << width;
        EXPECT_LE(canvas.TextExtent(cut).Width, width) << width;
        EXPECT_GT(canvas.TextExtent(text.substr(0, kept.size() + 1) + "...").Width, width) << width;
    }
    EXPECT_EQ(CutText(canvas, text, canvas.TextExtent("T...").Width - 1), "");
    // Characters of several bytes are never split.
    const std::string umlauts = "Gr\xC3\xB6\xC3\x9F" "en\xC3\xA4nderung";
    for (int width = 1; width < canvas.TextExtent(umlauts).Width; width += 3) {
        const std::string cut = CutText(canvas, umlauts, width);
        if (cut.empty()) continue;
        EXPECT_GT(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, cut.data(), static_cast<int>(cut.size()), nullptr, 0), 0)
            << width;
    }
}

TEST_F(GdiText, GetTextSizeMeasuresInTheFontOnTheScreen) {
    HDC screen = GetDC(nullptr);
    const TTextSize want = Extent(screen, font, L"Measure me");
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetTextSize(font, "Measure me"), want);
    EXPECT_GT(want.Width, 0);
    EXPECT_EQ(GetTextSize(font, "").Width, 0);
    EXPECT_EQ(GetTextSize(nullptr, "Measure me"), (TTextSize{0, 0}));
}

TEST_F(GdiText, DottedFrameBlackOnTheEdgesWhiteOneUpAndLeft) {
    TSurface page(20, 16);
    page.Bitmap.Fill(0x00808080);
    {
        TGdiTextCanvas canvas(page.Dc, font, kInk);
        DrawDottedFrame(canvas, {2, 2, 15, 12});   // edges: columns 2 and 14, rows 2 and 11
    }
    struct Probe { int x, y; TColor want; } probes[] = {
        {2, 2, 0}, {5, 2, 0}, {14, 2, 0}, {2, 11, 0}, {14, 8, 0}, {11, 11, 0},
        {1, 1, 0xFFFFFF}, {4, 1, 0xFFFFFF}, {1, 4, 0xFFFFFF}, {13, 7, 0xFFFFFF}, {10, 10, 0xFFFFFF},
        {3, 2, 0x808080}, {2, 3, 0x808080}, {8, 6, 0x808080}, {15, 12, 0x808080},
    };
    for (auto p : probes) EXPECT_EQ(page.At(p.x, p.y), p.want) << p.x << "," << p.y;
    EXPECT_EQ(page.Count(0), 5 + 5 + 4 + 4 - 4);   // the corners belong to two edges
}

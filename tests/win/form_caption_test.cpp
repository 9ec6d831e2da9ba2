// The caption of a skinned form: shortened with "..." to the room between icon
// and buttons, empty without room, and never the system's own caption, neither
// when the text changes nor when the form is activated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_test_support.h"
#include "gui/text.h"

namespace korvel {
namespace {

using testing::StateWidth;
using testing::TFormSetup;
using testing::TFrameMetrics;
using testing::TSkinnedFormRig;

// Width of text in the caption font: the form's face at the height of the
// system's status font, bold, measured on the screen.
int CaptionTextWidth(const std::string& text) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW lf{};
    lf.lfHeight = metrics.lfStatusFont.lfHeight;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, L"MS Sans Serif");
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size.cx;
}

// The longest start of text that fits with "..." (the whole text when it fits).
std::string Shortened(const std::string& text, int room) {
    if (room <= 0) return "";
    if (CaptionTextWidth(text) <= room) return text;
    for (std::size_t n = text.size(); n > 0; --n) {
        const std::string candidate = text.substr(0, n - 1) + "...";
        if (CaptionTextWidth(candidate) <= room) return candidate;
    }
    return "";
}

TEST(FormCaption, TextIsShortenedToTheRoomBetweenIconAndButtonsAndEmptyWithoutRoom) {
    const std::string longText = "Korvel Pro 2007.1 - network administration launcher with a title far too long";
    struct TCase {
        int ClientWidth;
        std::string Caption;
        int IconWidth;   // 0: from the caption height; a wide title icon leaves no room
    };
    for (const TCase& c : {TCase{300, "Korvel Pro 2007.1", 0}, TCase{300, longText, 0}, TCase{140, longText, 0},
                           TCase{140, longText, 400}}) {
        SCOPED_TRACE(std::to_string(c.ClientWidth) + " " + std::to_string(c.IconWidth) + " " + c.Caption);
        TFormSetup setup;
        setup.ClientWidth = c.ClientWidth;
        setup.Caption = c.Caption;
        TSkinnedFormRig rig(setup);
        rig.Provider->TitleIcon().Width = c.IconWidth;
        rig.Show();
        const TFrameMetrics m = TFrameMetrics::Of(setup.BorderStyle);
        const RECT wr = rig.WindowRect();
        const int iconSize = c.IconWidth ? c.IconWidth : m.Caption <= 16 ? 8 : m.Caption <= 27 ? 16 : 32;
        const int buttons = StateWidth(rig.Mask("GLOBALINFO", "BICONCLOSE")) + StateWidth(rig.Mask("GLOBALINFO", "BICONMIN"));
        const int room = (wr.right - wr.left) - (m.FrameX + iconSize) - buttons - 6;
        const std::string expected = Shortened(c.Caption, room);
        EXPECT_EQ(rig.Provider->DrawnCaption, expected) << "room " << room;
        if (c.ClientWidth == 140 && !c.IconWidth) EXPECT_EQ(expected.substr(expected.size() - 3), "...");
        if (c.IconWidth) {
            EXPECT_LE(room, 0);
            EXPECT_EQ(rig.Provider->DrawnCaption, "");
        }
    }
}

// Points of the title strip, window coordinates.
std::vector<POINT> TitlePoints(const TSkinnedFormRig& rig) {
    const RECT wr = rig.WindowRect();
    const int w = wr.right - wr.left;
    const int top = rig.Provider->NonClientTopHeight();
    std::vector<POINT> points;
    for (int y = 0; y < top; y += 3)
        for (int x = 0; x < w; x += 7) points.push_back({x, y});
    return points;
}

// The system's own handling of a message runs below the provider; this records,
// at its end, whether any point of the title strip was still inside the window's region.
struct TTitleWatch {
    std::vector<POINT> Points;
    int Seen = 0;
    int Visible = 0;
    void Install(TForm* form, UINT watched) {
        form->HookWindowProc(this, [this, form, watched](TMessage& m, const TWndNext& next) {
            next(m);
            if (m.Msg != watched || Points.empty()) return;
            if (m.Msg == WM_NCACTIVATE && m.WParam == 0) return;
            ++Seen;
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            const bool hasRegion = GetWindowRgn(form->Handle(), region) != ERROR;
            for (const POINT& p : Points)
                if (!hasRegion || PtInRegion(region, p.x, p.y)) ++Visible;
            DeleteObject(region);
        });
    }
};

// Every title pixel on the screen is the provider's picture of it (or the root, in a corner hole).
void ExpectTitleFromCache(const TSkinnedFormRig& rig) {
    const TBitmap24& cache = *rig.Provider->SkinData().CacheBmp();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(rig.Handle(), region), ERROR);
    int compared = 0;
    for (const POINT& p : TitlePoints(rig)) {
        if (!PtInRegion(region, p.x, p.y)) {
            EXPECT_EQ(rig.Pixel(p.x, p.y), testing::kRootColour);
            continue;
        }
        EXPECT_EQ(rig.Pixel(p.x, p.y), cache.Pixel(p.x, p.y)) << p.x << "," << p.y;
        ++compared;
    }
    EXPECT_GT(compared, 100);
    DeleteObject(region);
}

TEST(FormCaption, SettingTheTextNeverShowsTheSystemsCaption) {
    TTitleWatch watch;
    TFormSetup setup;
    setup.BeforeProvider = [&watch](TForm* form) { watch.Install(form, WM_SETTEXT); };
    TSkinnedFormRig rig(setup);
    rig.Show();
    watch.Points = TitlePoints(rig);
    for (const char* text : {"First caption", "A second, longer caption", "3"}) {
        rig.Form->SetCaption(text);
        testing::PumpWhileNot([&] { return rig.Provider->DrawnCaption == text; });
        EXPECT_EQ(rig.Provider->DrawnCaption, text);
        ExpectTitleFromCache(rig);
    }
    EXPECT_EQ(watch.Seen, 3);
    EXPECT_EQ(watch.Visible, 0) << "the system drew its caption into a visible title strip";
}

TEST(FormCaption, ActivationNeverShowsTheSystemsCaptionAndPaintsTheActiveLook) {
    TTitleWatch watch;
    TFormSetup setup;
    setup.BeforeProvider = [&watch](TForm* form) { watch.Install(form, WM_NCACTIVATE); };
    TSkinnedFormRig rig(setup);
    rig.Show();
    watch.Points = TitlePoints(rig);
    TForm other(nullptr);
    other.SetBounds(700, 500, 200, 120);
    other.Show();
    std::vector<std::vector<COLORREF>> looks;
    const auto look = [&rig] {
        std::vector<COLORREF> pixels;
        for (const POINT& p : TitlePoints(rig)) pixels.push_back(rig.Pixel(p.x, p.y));
        return pixels;
    };
    for (int round = 0; round < 2; ++round) {
        SetForegroundWindow(other.Handle());
        testing::PumpWhileNot([&] { return !rig.Provider->FormActive; });
        Application().ProcessMessages();
        EXPECT_FALSE(rig.Provider->FormActive);
        ExpectTitleFromCache(rig);
        looks.push_back(look());
        SetForegroundWindow(rig.Handle());
        testing::PumpWhileNot([&] { return rig.Provider->FormActive; });
        Application().ProcessMessages();
        EXPECT_TRUE(rig.Provider->FormActive);
        ExpectTitleFromCache(rig);
        looks.push_back(look());
    }
    int differing = 0;
    for (std::size_t i = 0; i < looks[0].size(); ++i) differing += looks[0][i] != looks[1][i];
    EXPECT_GT(differing, static_cast<int>(looks[0].size()) / 3) << "the active title looks different";
    EXPECT_EQ(looks[0], looks[2]);
    EXPECT_EQ(looks[1], looks[3]);
    EXPECT_GE(watch.Seen, 2);
    EXPECT_EQ(watch.Visible, 0) << "the system drew its active caption into a visible title strip";
}

}  // namespace
}  // namespace korvel

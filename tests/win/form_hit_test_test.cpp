// The skinned hit test of a form's frame: every code at points computed from
// the system's metrics and the skin's button masks, hot tracking that follows
// it, disabled title buttons, a maximised form and a form without a border.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_test_support.h"

namespace korvel {
namespace {

using testing::StateWidth;
using testing::PartHeight;
using testing::TFormSetup;
using testing::TFrameMetrics;
using testing::TSkinnedFormRig;

struct TExpectedButton {
    const char* Name;
    TRect Rect;   // window coordinates, from the metrics and masks
};

// The caption buttons laid out right to left from the frame's right edge.
std::vector<TExpectedButton> LayOut(int windowWidth, const TFrameMetrics& m, int buttonHeight,
                                    const std::vector<std::pair<const char*, int>>& widths) {
    std::vector<TExpectedButton> out;
    int x = windowWidth - m.FrameX;
    const int top = (m.Caption + m.FrameY - buttonHeight) / 2 + (buttonHeight < 16 ? 2 : 0);
    for (const auto& [name, width] : widths) {
        out.push_back({name, {x - width, top, x, top + buttonHeight}});
        x -= width;
    }
    return out;
}

LRESULT FormsOwnAnswer(const TSkinnedFormRig& rig, int x, int y) {
    const POINT p = rig.Screen(x, y);
    return DefWindowProcW(rig.Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

TEST(FormHitTest, EveryCodeAtItsPlaceOnASizeableFormWithAllButtons) {
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsSizeable;
    setup.ProviderIcons = biSystemMenu | biMinimize | biMaximize | biHelp;
    TSkinnedFormRig rig(setup);
    rig.Provider->SetGripMode(TGripMode::gmRightBottom);
    rig.Provider->TitleButtons().Add().Name = "Pin";
    rig.Provider->TitleButtons().Add().Enabled = false;
    rig.Provider->Loaded();
    rig.Show();

    const TFrameMetrics m = TFrameMetrics::Of(setup.BorderStyle);
    const RECT wr = rig.WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int bh = PartHeight(rig.Mask("GLOBALINFO", "BICONCLOSE"));
    const int titleWidth = StateWidth(rig.Mask("GLOBALINFO", "TITLEBUTTON"));
    const auto buttons = LayOut(w, m, bh,
                                {{"close", StateWidth(rig.Mask("GLOBALINFO", "BICONCLOSE"))},
                                 {"maximise", StateWidth(rig.Mask("GLOBALINFO", "BICONMAX"))},
                                 {"minimise", StateWidth(rig.Mask("GLOBALINFO", "BICONMIN"))},
                                 {"help", StateWidth(rig.Mask("GLOBALINFO", "BICONHELP"))},
                                 {"title 0", titleWidth},
                                 {"title 1 (disabled)", titleWidth}});
    const int expectedCodes[] = {htsClose, htsMaximize, htsMinimize, htsHelp, htsTitleButton + 0, -2};
    const int iconSize = m.Caption <= 16 ? 8 : m.Caption <= 27 ? 16 : 32;

    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const TRect& r = buttons[i].Rect;
        for (int x : {r.Left + 1, (r.Left + r.Right) / 2, r.Right - 1}) {
            const int y = (r.Top + r.Bottom) / 2;
            const LRESULT expected = expectedCodes[i] == -2 ? FormsOwnAnswer(rig, x, y) : expectedCodes[i];
            EXPECT_EQ(rig.HitTest(x, y), expected) << buttons[i].Name << " at " << x << "," << y;
            const int hot = expectedCodes[i] == -2 ? 0 : expectedCodes[i];
            EXPECT_EQ(rig.Provider->CurrentButton, hot) << buttons[i].Name;
        }
    }
    EXPECT_EQ(rig.Provider->ButtonClose.State, 0);
    EXPECT_EQ(rig.Provider->TitleButtons().Items(1).State, 0) << "a disabled title button is never hot";

    // Above and below the button band the buttons do not answer.
    const TRect& close = buttons[0].Rect;
    const int bandTop = (m.FrameY + m.Caption - bh) / 2;
    EXPECT_NE(rig.HitTest((close.Left + close.Right) / 2, bandTop - 1), htsClose);
    EXPECT_EQ(rig.HitTest((close.Left + close.Right) / 2, bandTop), htsClose);
    EXPECT_EQ(rig.HitTest((close.Left + close.Right) / 2, bandTop + bh), htsClose);

    // The icon, from the frame's inner edge across the icon's width.
    const int bandY = bandTop + bh / 2;
    EXPECT_EQ(rig.HitTest(m.FrameX, bandY), htsIcon);
    EXPECT_EQ(rig.HitTest(m.FrameX + iconSize, bandY), htsIcon);
    EXPECT_EQ(rig.Provider->CurrentButton, htsIcon);
    // The caption between icon and buttons, and the client area: the form's own answers.
    const int captionX = m.FrameX + iconSize + 20;
    EXPECT_EQ(rig.HitTest(captionX, bandY), FormsOwnAnswer(rig, captionX, bandY));
    EXPECT_EQ(rig.HitTest(captionX, bandY), HTCAPTION);
    EXPECT_EQ(rig.Provider->CurrentButton, 0);
    EXPECT_EQ(rig.HitTest(w / 2, h / 2), HTCLIENT);
    // The grip: the 12 x 12 image inside the bottom-right frame corner.
    const TsMaskData& grip = rig.Mask("GLOBALINFO", "GRIPIMAGE");
    const int gripX = w - StateWidth(grip) - m.FrameX, gripY = h - PartHeight(grip) - m.FrameY;
    EXPECT_EQ(rig.HitTest(gripX, gripY), htsGrip);
    EXPECT_EQ(rig.HitTest(w - m.FrameX - 1, h - m.FrameY - 1), htsGrip);
    EXPECT_EQ(rig.HitTest(gripX - 1, gripY + 2), FormsOwnAnswer(rig, gripX - 1, gripY + 2));

    // Maximised: outside the inner rectangle is transparent.
    rig.Form->SetWindowState(TWindowState::wsMaximized);
    testing::PumpWhileNot([&] { return IsZoomed(rig.Handle()) != FALSE; });
    ASSERT_TRUE(IsZoomed(rig.Handle()));
    EXPECT_EQ(rig.HitTest(1, 1), htsTransparent);
    const RECT zoomed = rig.WindowRect();
    EXPECT_EQ(rig.HitTest(zoomed.right - zoomed.left - 2, (zoomed.bottom - zoomed.top) / 2), htsTransparent);
}

TEST(FormHitTest, SingleBorderWithMinimiseOnlyMapsTheSecondPlaceToMinimise) {
    TSkinnedFormRig rig;   // the launcher's settings: bsSingle, [biSystemMenu, biMinimize]
    rig.Show();
    const TFrameMetrics m = TFrameMetrics::Of(TFormBorderStyle::bsSingle);
    const RECT wr = rig.WindowRect();
    const int bh = PartHeight(rig.Mask("GLOBALINFO", "BICONCLOSE"));
    const auto buttons = LayOut(wr.right - wr.left, m, bh,
                                {{"close", StateWidth(rig.Mask("GLOBALINFO", "BICONCLOSE"))},
                                 {"minimise", StateWidth(rig.Mask("GLOBALINFO", "BICONMIN"))}});
    const int y = (buttons[0].Rect.Top + buttons[0].Rect.Bottom) / 2;
    EXPECT_EQ(rig.HitTest(buttons[0].Rect.Left + 2, y), htsClose);
    EXPECT_EQ(rig.HitTest(buttons[1].Rect.Left + 2, y), htsMinimize);
    EXPECT_EQ(rig.Provider->ButtonMin.Rect, buttons[1].Rect);
    // Left of the minimise button there is no maximise: caption.
    EXPECT_EQ(rig.HitTest(buttons[1].Rect.Left - 3, y), HTCAPTION);
    EXPECT_EQ(rig.Provider->VisibleButtonCount(), 2);
}

TEST(FormHitTest, FormWithoutBorderHasNoMetricsNoRegionAndItsOwnHitTest) {
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsNone;
    TSkinnedFormRig rig(setup);
    rig.Show();
    TsSkinProvider& p = *rig.Provider;
    EXPECT_EQ(p.CaptionHeight(), 0);
    EXPECT_EQ(p.FrameHeight(), 0);
    EXPECT_EQ(p.FrameWidth(), 0);
    EXPECT_EQ(p.IconWidth(), 0);
    EXPECT_EQ(p.IconRect(), (TRect{0, 0, 0, 0}));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(rig.Handle(), region), ERROR) << "a form without a border keeps its rectangle";
    DeleteObject(region);
    for (POINT at : {POINT{1, 1}, POINT{150, 5}, POINT{299, 159}}) {
        EXPECT_EQ(rig.HitTest(at.x, at.y), FormsOwnAnswer(rig, at.x, at.y));
    }
    // The client area shows the form section's colour: the skin paints it, not the system.
    const COLORREF formColour = rig.Tables().Sections.at(static_cast<std::size_t>(p.SkinData().SkinIndex)).HotColor;
    EXPECT_EQ(rig.Pixel(150, 80), formColour);
}

}  // namespace
}  // namespace korvel

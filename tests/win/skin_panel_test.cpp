// The skinned panel: its face painted from its section over its parent's
// pixels, its caption, its windowless children, the skin messages it answers
// and forwards, and the plain panel once the skin is gone. The grip paints as
// a panel of section "CHECKBOX".
#include <gtest/gtest.h>

#include "controls/label.h"
#include "controls/panel.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureControl;
using testing::Differences;
using testing::kFormColor;
using testing::kGradFontColor;

class PanelTest : public testing::SkinnedControlTest {
protected:
    TsPanel* AddPanel(TWinControl* parent, const std::string& section, RECT bounds) {
        auto* p = new TsPanel(form);
        p->SkinData().SetSkinSection(section);
        p->SetParent(parent);
        p->SetBoundsRect(bounds);
        return p;
    }
};

TEST_F(PanelTest, FacesAreTheirSectionsPaintedOverWhatLiesBehind) {
    TsPanel* outer = AddPanel(form, "GRADPANEL", {10, 12, 310, 262});
    TsPanel* inner = AddPanel(outer, "SEEPANEL", {40, 30, 190, 110});
    TsPanel* page = AddPanel(form, "PANEL", {320, 10, 410, 300});
    ShowForm();

    // Over the form (no cache of its own) the frame's corners show its colour.
    TBitmap24 outerFace = ExpectedFace("GRADPANEL", *outer, {}, kFormColor, false);
    const TBitmap24 pageFace = ExpectedFace("PANEL", *page, {}, kFormColor, false);
    // The see-through panel blends with the outer panel's pixels under it.
    const TParentBackground behind{&outerFace, 0, 0, true};
    const TBitmap24 innerFace = ExpectedFace("SEEPANEL", *inner, behind, kFormColor, true);

    struct Case { const char* name; TsPanel* panel; const TBitmap24* expected; std::vector<RECT> children; };
    const Case cases[] = {
        {"outer", outer, &outerFace, {inner->BoundsRect()}},
        {"inner", inner, &innerFace, {}},
        {"page", page, &pageFace, {}},
    };
    for (const Case& c : cases) {
        std::string first;
        EXPECT_EQ(Differences(CaptureControl(*c.panel), *c.expected, first, c.children), 0) << c.name << ": " << first;
        EXPECT_FALSE(c.panel->SkinData().BackgroundChanged) << c.name;
    }
    // The gradient really runs from blue at the top to red at the bottom.
    const TBitmap24 shot = CaptureControl(*outer);
    EXPECT_GT(BlueOf(shot.Pixel(150, 10)), RedOf(shot.Pixel(150, 10)));
    EXPECT_GT(RedOf(shot.Pixel(150, 240)), BlueOf(shot.Pixel(150, 240)));
}

TEST_F(PanelTest, CaptionIsOneCentredLineInTheSectionsFontColour) {
    TsPanel* panel = AddPanel(form, "GRADPANEL", {10, 10, 310, 130});
    panel->SetCaption("Wide && plain");   // no prefix processing: both ampersands are drawn
    ShowForm();
    const TBitmap24 shot = CaptureControl(*panel);
    TFont font;
    font.Assign(panel->Font());
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font.Handle());
    SIZE w{}, text{};
    GetTextExtentPoint32W(screen, L"W", 1, &w);
    GetTextExtentPoint32W(screen, L"Wide && plain", 13, &text);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int top = (0 + panel->Height() - w.cy) / 2;
    const int left = (panel->Width() - text.cx) / 2;
    int inside = 0, outside = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.Pixel(x, y) != kGradFontColor) continue;
            const bool inBox = y >= top && y < top + w.cy && x >= left - 1 && x <= left + text.cx + 1;
            (inBox ? inside : outside)++;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

TEST_F(PanelTest, WindowlessChildrenArePaintedOverTheFace) {
    TsPanel* panel = AddPanel(form, "GRADPANEL", {10, 10, 310, 200});
    auto* label = new TsLabel(form);
    label->SetParent(panel);
    label->SetBounds(30, 40, 10, 10);
    label->SetCaption("Label over the face");
    ShowForm();
    const TBitmap24 face = ExpectedFace("GRADPANEL", *panel, {}, kFormColor, false);
    const TBitmap24 shot = CaptureControl(*panel);
    // Around the text the label shows the panel's face (it is transparent), and the text is there.
    const RECT r = label->BoundsRect();
    int text = 0, background = 0, other = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            if (shot.Pixel(x, y) == face.Pixel(x, y)) ++background;
            else if (shot.Pixel(x, y) == label->Font().Color()) ++text;
            else ++other;
        }
    EXPECT_GT(background, (r.right - r.left) * (r.bottom - r.top) / 2);
    EXPECT_GT(text, 20);
    std::string first;
    EXPECT_EQ(Differences(shot, face, first, {r}), 0) << first;
}

TEST_F(PanelTest, OnPaintDrawsIntoTheCacheWhenSkinnedAndOverTheWindowWhenPlain) {
    TsPanel* panel = AddPanel(form, "GRADPANEL", {10, 10, 210, 110});
    const RECT mark{20, 20, 40, 30};
    constexpr TColor markColor = 0x00123456;
    int calls = 0;
    panel->OnPaint = [&](TObject*, TCanvas& canvas) {
        ++calls;
        canvas.Brush().SetColor(markColor);
        canvas.FillRect(mark);
    };
    ShowForm();
    EXPECT_GE(calls, 1);
    ASSERT_NE(panel->SkinData().CacheBmp(), nullptr);
    EXPECT_EQ(panel->SkinData().CacheBmp()->Pixel(25, 25), markColor);
    EXPECT_EQ(CaptureControl(*panel).Pixel(25, 25), markColor);

    manager->SetActive(false);
    calls = 0;
    ShowForm();
    EXPECT_GE(calls, 1);
    const TBitmap24 plain = CaptureControl(*panel);
    EXPECT_EQ(plain.Pixel(25, 25), markColor);
    EXPECT_EQ(plain.Pixel(100, 60), ColorToRGB(panel->Color()));   // the framework's own face
}

TEST_F(PanelTest, RemovedSkinLeavesThePlainPanelAndItComesBack) {
    TsPanel* panel = AddPanel(form, "GRADPANEL", {10, 10, 210, 110});
    ShowForm();
    manager->SetActive(false);
    ShowForm();
    EXPECT_FALSE(panel->SkinData().IsSkinned(false));
    EXPECT_EQ(CaptureControl(*panel).Pixel(100, 60), ColorToRGB(panel->Color()));
    manager->SetActive(true);
    ShowForm();
    ASSERT_TRUE(panel->SkinData().IsSkinned(true));
    const TBitmap24 face = ExpectedFace("GRADPANEL", *panel, {}, kFormColor, false);
    std::string first;
    EXPECT_EQ(Differences(CaptureControl(*panel), face, first, {}), 0) << first;
}

TEST_F(PanelTest, SkinMessagesAreAnsweredAndThoseOfAnotherManagerIgnored) {
    TsPanel* panel = AddPanel(form, "GRADPANEL", {10, 10, 210, 110});
    auto* child = new TsPanel(form);
    child->SetParent(panel);
    child->SetBounds(10, 10, 50, 30);
    ShowForm();

    EXPECT_TRUE(QuerySkinCommand(panel, SMC_ISSKINNED));
    ParentBackground.Ready = false;
    SkinCommandToControl(panel, SMC_GETCACHE);
    EXPECT_TRUE(ParentBackground.Ready);
    EXPECT_EQ(ParentBackground.Bitmap, panel->SkinData().CacheBmp());
    ParentBackground = {};

    // Another manager's change reaches neither the panel nor, through it, the child.
    TsSkinManager other(nullptr);
    panel->SkinData().Updating = child->SkinData().Updating = false;
    panel->Perform(SM_ALPHACMD, PackSkinCommand(SMC_SKINCHANGED), reinterpret_cast<LPARAM>(&other));
    EXPECT_FALSE(panel->SkinData().Updating);
    EXPECT_FALSE(child->SkinData().Updating);
    // The own manager's change goes to the children too.
    panel->Perform(SM_ALPHACMD, PackSkinCommand(SMC_SKINCHANGED), reinterpret_cast<LPARAM>(manager));
    EXPECT_TRUE(panel->SkinData().Updating);
    EXPECT_TRUE(child->SkinData().Updating);
    // The parent's paint ends the children's update.
    panel->Perform(SM_ALPHACMD, PackSkinCommand(SMC_SKINAPPLIED), reinterpret_cast<LPARAM>(manager));
    Application().ProcessMessages();
    EXPECT_FALSE(panel->SkinData().Updating);
    EXPECT_FALSE(child->SkinData().Updating);
    EXPECT_FALSE(child->SkinData().BackgroundChanged);

    // Asked whether it is updating, a panel answers with a stale cache too.
    panel->SkinData().BackgroundChanged = true;
    EXPECT_TRUE(QuerySkinCommand(panel, SMC_QUERYUPDATING));
    panel->SkinData().BackgroundChanged = false;
    EXPECT_FALSE(QuerySkinCommand(panel, SMC_QUERYUPDATING));
}

TEST_F(PanelTest, APanelSticksOutOfItsParentRebuildsUntilItIsInsideAgain) {
    TsPanel* host = AddPanel(form, "GRADPANEL", {10, 10, 210, 160});
    TsPanel* see = AddPanel(host, "SEEPANEL", {20, 20, 80, 60});
    ShowForm();
    struct Case { RECT bounds; bool partlyHidden; };
    const Case cases[] = {
        {{150, 20, 250, 60}, true},    // beyond the right edge
        {{-10, 20, 50, 60}, true},     // beyond the left edge
        {{20, 130, 80, 170}, true},    // beyond the bottom
        {{20, 20, 80, 60}, false},     // wholly inside
    };
    for (const Case& c : cases) {
        see->SetBoundsRect(c.bounds);
        see->Repaint();
        Application().ProcessMessages();
        EXPECT_EQ(see->SkinData().PartlyHidden, c.partlyHidden) << c.bounds.left << "," << c.bounds.top;
    }
}

TEST_F(PanelTest, GripIsASpaceCaptionedTwentyPixelSquareOfTheCheckBoxSection) {
    TsPanel* host = AddPanel(form, "GRADPANEL", {10, 10, 210, 160});
    auto* grip = new TsGrip(form);
    grip->LinkedControl = host;
    grip->SetParent(host);
    grip->SetBounds(170, 120, grip->Width(), grip->Height());
    EXPECT_EQ(grip->Caption(), " ");
    EXPECT_EQ(grip->SkinData().SkinSection(), "CHECKBOX");
    EXPECT_EQ(grip->Width(), 20);
    EXPECT_EQ(grip->Height(), 20);
    EXPECT_EQ(grip->Align(), TAlign::alNone);
    ShowForm();
    // The internal skin's CHECKBOX section is wholly see-through: the host's face shows.
    ASSERT_EQ(Section("CHECKBOX").Transparency, 100);
    TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
    const TParentBackground behind{&hostFace, 0, 0, true};
    const TBitmap24 face = ExpectedFace("CHECKBOX", *grip, behind, kFormColor, true);
    std::string first;
    EXPECT_EQ(Differences(CaptureControl(*grip), face, first, {}), 0) << first;
}

TEST(PanelDefinition, StoredSettingsReachTheSkinState) {
    RegisterPanelClasses();
    TForm form(nullptr);
    form.ReadDefinition(
        "object Form1: TForm\n"
        "  object pnl: TsPanel\n"
        "    Caption = 'Page'\n"
        "    SkinData.SkinSection = 'PANEL_LOW'\n"
        "    SkinData.CustomColor = True\n"
        "    SkinData.CustomFont = True\n"
        "  end\n"
        "  object plain: TsPanel\n"
        "  end\n"
        "end\n");
    auto* pnl = dynamic_cast<TsPanel*>(form.FindComponent("pnl"));
    auto* plain = dynamic_cast<TsPanel*>(form.FindComponent("plain"));
    ASSERT_NE(pnl, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(pnl->SkinData().SkinSection(), "PANEL_LOW");
    EXPECT_TRUE(pnl->SkinData().CustomColor());
    EXPECT_TRUE(pnl->SkinData().CustomFont());
    EXPECT_EQ(pnl->SkinData().ControlCode, ccPanel);
    EXPECT_EQ(plain->SkinData().SkinSection(), "PANEL");   // the default for a panel
    EXPECT_TRUE(plain->ControlStyle() & csOpaque);
}

}  // namespace
}  // namespace korvel

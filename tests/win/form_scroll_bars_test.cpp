// The skinned scroll bars a provider gives a form whose content reaches beyond
// its client area: where they go, what range they get, how scrolling moves the
// form's children and how enlarging the form or switching the skin off takes
// them back. Expected values come from the content's extent and the metrics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/panel.h"
#include "controls/scroll_bar.h"
#include "form_test_support.h"
#include "gui/std_controls.h"
#include "gui_input_support.h"

namespace korvel {
namespace {

using testing::AddControl;
using testing::PumpWhileNot;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

TFormSetup ScrollingSetup() {
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsSizeable;
    setup.ClientWidth = 300;
    setup.ClientHeight = 160;
    setup.BeforeProvider = [](TForm* form) { form->SetAutoScroll(true); };
    return setup;
}

RECT BoundsOf(const TControl* c) { return c->BoundsRect(); }

void ExpectRect(const RECT& actual, const RECT& expected) {
    SCOPED_TRACE(std::to_string(actual.left) + "," + std::to_string(actual.top) + "," + std::to_string(actual.right) + "," +
                 std::to_string(actual.bottom));
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

struct TContent {
    TButton* First;
    TButton* Second;
    TPanel* Header;   // aligned to the top: scrolls with the content, aligned again afterwards
};

TContent AddContent(TForm* form) {
    TContent c;
    c.Header = AddControl<TPanel>(form, 0, 0, 10, 30);
    c.Header->SetAlign(TAlign::alTop);
    c.First = AddControl<TButton>(form, 10, 40, 80, 25);
    c.Second = AddControl<TButton>(form, 10, 100, 80, 25);
    return c;
}

TEST(FormScrollBars, ContentBeyondTheClientGetsABarThatScrollsTheChildrenAndGoesWhenTheFormIsEnlarged) {
    TSkinnedFormRig rig(ScrollingSetup());
    TsSkinProvider& p = *rig.Provider;
    EXPECT_TRUE(p.SavedAutoScroll);
    EXPECT_FALSE(rig.Form->AutoScroll()) << "the provider's bars replace the form's own";
    const TContent c = AddContent(rig.Form);
    rig.Show();
    EXPECT_EQ(p.VScrollBar, nullptr);   // everything fits
    EXPECT_EQ(p.HScrollBar, nullptr);

    // The content grows beyond the client area.
    c.Second->SetTop(300);
    PumpWhileNot([&] { return p.VScrollBar != nullptr; });
    const int cw = rig.Form->ClientWidth(), ch = rig.Form->ClientHeight();
    const int content = 300 + 25 + 2;
    EXPECT_EQ(p.ContentHeight, content);
    ASSERT_NE(p.VScrollBar, nullptr);
    EXPECT_EQ(p.HScrollBar, nullptr);
    EXPECT_EQ(p.FormGrip, nullptr);
    TsScrollBar& bar = *p.VScrollBar;
    EXPECT_EQ(bar.Kind(), sbVertical);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(bar.Max(), content - ch + 4);
    EXPECT_EQ(bar.PageSize(), ch - 4);
    EXPECT_EQ(bar.SmallChange(), rig.Form->VertScrollBar().Increment());
    EXPECT_EQ(bar.LargeChange(), 80);
    ExpectRect(BoundsOf(&bar), {cw - GetSystemMetrics(SM_CXVSCROLL), 0, cw, ch});

    // Scrolling moves every child but the bar by the change, the aligned header too.
    bar.SetPosition(50);
    PumpWhileNot([&] { return p.ScrollOffsetV == -50; });
    EXPECT_EQ(p.ScrollOffsetV, -50);
    EXPECT_EQ(c.First->Top(), 40 - 50);
    EXPECT_EQ(c.Second->Top(), 300 - 50);
    EXPECT_EQ(c.Header->Top(), 0 - 50);
    EXPECT_EQ(c.First->Left(), 10);
    EXPECT_EQ(bar.Top(), 0);

    // A real click on the bar's lower arrow scrolls one line further.
    const RECT arrow = bar.SecondButtonRect();
    const POINT at = bar.ClientToScreen({(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2});
    testing::ClickAt(at);
    const int line = rig.Form->VertScrollBar().Increment();
    EXPECT_EQ(bar.Position(), 50 + line);
    EXPECT_EQ(c.Second->Top(), 300 - 50 - line);
    EXPECT_EQ(c.Header->Top(), -50 - line);

    // Enlarged so that everything fits: the children go back and the bar goes.
    rig.Form->SetClientSize(300, 400);
    PumpWhileNot([&] { return p.VScrollBar == nullptr; });
    EXPECT_EQ(p.VScrollBar, nullptr);
    EXPECT_EQ(p.ScrollOffsetV, 0);
    EXPECT_EQ(c.First->Top(), 40);
    EXPECT_EQ(c.Second->Top(), 300);
    EXPECT_EQ(c.Header->Top(), 0);
    EXPECT_EQ(c.Header->Width(), rig.Form->ClientWidth());
}

TEST(FormScrollBars, BothDirectionsShareTheCornerWithAGripAndARangeWidensTheContent) {
    const int liveBefore = TControl::LiveControls();
    {
        TSkinnedFormRig rig(ScrollingSetup());
        TsSkinProvider& p = *rig.Provider;
        AddContent(rig.Form);
        TButton* distant = AddControl<TButton>(rig.Form, 420, 260, 60, 20);
        rig.Show();
        // Each extent counts the other bar's thickness once that bar stands: a size change measures again.
        rig.Form->SetClientSize(310, 170);
        PumpWhileNot([&] { return p.VScrollBar && p.HScrollBar && p.FormGrip; });
        const int cw = rig.Form->ClientWidth(), ch = rig.Form->ClientHeight();
        const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
        ASSERT_NE(p.VScrollBar, nullptr);
        ASSERT_NE(p.HScrollBar, nullptr);
        ASSERT_NE(p.FormGrip, nullptr);
        SCOPED_TRACE("client " + std::to_string(cw) + "x" + std::to_string(ch));
        {
            SCOPED_TRACE("vertical");
            ExpectRect(BoundsOf(p.VScrollBar), {cw - cx, 0, cw, ch - cy});
        }
        {
            SCOPED_TRACE("horizontal");
            ExpectRect(BoundsOf(p.HScrollBar), {0, ch - cy, cw - cx, ch});
        }
        {
            SCOPED_TRACE("grip");
            ExpectRect(BoundsOf(p.FormGrip), {cw - cx, ch - cy, cw, ch});
        }
        EXPECT_EQ(p.ContentHeight, 260 + 20 + cy + 2);
        EXPECT_EQ(p.ContentWidth, 420 + 60 + cx + 2);
        EXPECT_EQ(p.VScrollBar->Max(), p.ContentHeight - ch + 4);
        EXPECT_EQ(p.HScrollBar->Max(), p.ContentWidth - cw + 4);

        p.HScrollBar->SetPosition(30);
        EXPECT_EQ(distant->Left(), 420 - 30);
        EXPECT_EQ(p.ScrollOffsetH, -30);

        // The form's own range is content too when it is the larger.
        rig.Form->VertScrollBar().SetRange(900);
        rig.Form->SetClientSize(cw, ch + 1);
        PumpWhileNot([&] { return p.VScrollBar && p.VScrollBar->Max() == 900 - (ch + 1) + 4; });
        ASSERT_NE(p.VScrollBar, nullptr);
        EXPECT_EQ(p.VScrollBar->Max(), 900 - (ch + 1) + 4);

        // A direction whose own bar is hidden never scrolls.
        rig.Form->HorzScrollBar().SetVisible(false);
        rig.Form->SetClientSize(cw, ch);
        PumpWhileNot([&] { return p.HScrollBar == nullptr && p.FormGrip == nullptr; });
        EXPECT_EQ(p.HScrollBar, nullptr);
        EXPECT_EQ(p.FormGrip, nullptr);
        EXPECT_EQ(distant->Left(), 420);
        ExpectRect(BoundsOf(p.VScrollBar), {cw - cx, 0, cw, ch});

        // The form goes with both bars and the grip standing: nothing stays behind.
        rig.Form->HorzScrollBar().SetVisible(true);
        rig.Form->SetClientSize(cw, ch + 2);
        PumpWhileNot([&] { return p.FormGrip != nullptr; });
        ASSERT_NE(p.FormGrip, nullptr);
    }
    EXPECT_EQ(TControl::LiveControls(), liveBefore);
}

TEST(FormScrollBars, SwitchingTheSkinOffGivesTheFormItsOwnScrollingBack) {
    TSkinnedFormRig rig(ScrollingSetup());
    TsSkinProvider& p = *rig.Provider;
    const TContent c = AddContent(rig.Form);
    c.Second->SetTop(300);
    rig.Show();
    ASSERT_NE(p.VScrollBar, nullptr);
    p.VScrollBar->SetPosition(40);
    EXPECT_EQ(c.Second->Top(), 260);
    const auto ownBar = [&rig] { return (GetWindowLongPtrW(rig.Handle(), GWL_STYLE) & WS_VSCROLL) != 0; };
    EXPECT_FALSE(ownBar());

    rig.Manager->SetActive(false);
    PumpWhileNot([&] { return p.VScrollBar == nullptr && ownBar(); });
    EXPECT_EQ(p.VScrollBar, nullptr);
    EXPECT_TRUE(rig.Form->AutoScroll());
    EXPECT_EQ(c.Second->Top(), 300) << "the content is back where it started";
    EXPECT_EQ(c.Header->Top(), 0);
    ASSERT_TRUE(ownBar());
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(rig.Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax - info.nMin + 1, 300 + 25);
    EXPECT_EQ(static_cast<int>(info.nPage), rig.Form->ClientHeight());
    // The form's own bar scrolls the children by its increment.
    SendMessageW(rig.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    const int line = rig.Form->VertScrollBar().Increment();
    EXPECT_EQ(c.Second->Top(), 300 - line);
    EXPECT_EQ(c.Header->Top(), -line);

    rig.Manager->SetActive(true);
    PumpWhileNot([&] { return p.VScrollBar != nullptr && !ownBar(); });
    EXPECT_FALSE(rig.Form->AutoScroll());
    EXPECT_FALSE(ownBar());
    EXPECT_EQ(c.Second->Top(), 300);
    ASSERT_NE(p.VScrollBar, nullptr) << "the skinned bar takes over at once";
    EXPECT_EQ(p.VScrollBar->Position(), 0);
}

}  // namespace
}  // namespace korvel

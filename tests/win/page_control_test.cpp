// The skinned page control, driven by the real pointer and keyboard: clicks on
// tabs and Ctrl+Tab change the page (OnChange, the right page shown), the tab
// under the pointer is hot, the tabs and the page area on every side in every
// listed skin are the painting core's pictures of the skin's sections (a skin
// without a side's tab section lends TABTOP's turned to the side), the plain
// native control without a section, and a soak that leaves the counts flat.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/label.h"
#include "controls/page_control.h"
#include "engine/skin_message.h"
#include "gui/page_controls.h"
#include "gui_input_support.h"
#include "live_counts_support.h"
#include "skin_list_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureScreen;
using testing::Hex;
using testing::ClickPointer;
using testing::Differences;
using testing::kFormColor;
using testing::MovePointer;
using testing::PumpUntil;
using testing::ScreenRectOf;

struct TSide {
    TTabPosition Position;
    const char* Name;
    const char* OwnSection;   // the side's own tab section
};

const TSide kSides[] = {
    {TTabPosition::tpTop, "top", "TABTOP"},
    {TTabPosition::tpBottom, "bottom", "TABBOTTOM"},
    {TTabPosition::tpLeft, "left", "TABLEFT"},
    {TTabPosition::tpRight, "right", "TABRIGHT"},
};

// Which upright pixel (u, v) a pixel (x, y) of a w x h place shows, turned as
// the rule says: bottom tabs are top tabs upside down (left and right kept); a
// left tab is a top tab turned a quarter anticlockwise (its bottom edge, the
// one joined to the page, goes right; its caption reads upward); a right tab
// the same clockwise (bottom edge left, caption reading downward).
enum class TWay { Upright, UpsideDown, Anticlockwise, Clockwise };

POINT UprightPixel(TWay way, int w, int h, int x, int y) {
    switch (way) {
    case TWay::Upright:       return {x, y};
    case TWay::UpsideDown:    return {x, h - 1 - y};
    case TWay::Anticlockwise: return {h - 1 - y, x};
    case TWay::Clockwise:     return {y, w - 1 - x};
    }
    return {x, y};
}

bool Quarter(TWay way) { return way == TWay::Anticlockwise || way == TWay::Clockwise; }

TBitmap24 TakeBack(const TBitmap24& picture, const RECT& r, TWay way) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    TBitmap24 upright(Quarter(way) ? h : w, Quarter(way) ? w : h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const POINT u = UprightPixel(way, w, h, x, y);
            upright.SetPixel(u.x, u.y, picture.Pixel(r.left + x, r.top + y));
        }
    return upright;
}

void PutBack(const TBitmap24& upright, TBitmap24& picture, const RECT& r, TWay way) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const POINT u = UprightPixel(way, w, h, x, y);
            picture.SetPixel(r.left + x, r.top + y, upright.Pixel(u.x, u.y));
        }
}

TWay LentWay(TTabPosition p) {
    switch (p) {
    case TTabPosition::tpTop:    return TWay::Upright;
    case TTabPosition::tpBottom: return TWay::UpsideDown;
    case TTabPosition::tpLeft:   return TWay::Anticlockwise;
    case TTabPosition::tpRight:  return TWay::Clockwise;
    }
    return TWay::Upright;
}

TWay CaptionWay(TTabPosition p) {
    return p == TTabPosition::tpLeft ? TWay::Anticlockwise : p == TTabPosition::tpRight ? TWay::Clockwise : TWay::Upright;
}

// The native control's own answers, asked directly.
RECT NativeTabRect(TPageControl* pc, int index) {
    RECT r{};
    SendMessageW(pc->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

class PageControlTest : public testing::SkinnedControlTest {
protected:
    void SetUp() override {
        SkinnedControlTest::SetUp();
        manager->SetSkinDirectory(testing::SourcePath("skins"));
        manager->SetSkinName("Elegant (internal)");
    }

    // A page control with three pages: the first empty, a button on the second, a label on the third.
    template <class Control = TsPageControl, class Sheet = TsTabSheet>
    Control* AddPages(TTabPosition side, int left, int top, int width = 200, int height = 150,
                      std::function<void(Control*)> prepare = nullptr) {
        auto* pc = new Control(form);
        pc->SetParent(form);
        pc->SetBounds(left, top, width, height);
        pc->SetTabPosition(side);
        if (prepare) prepare(pc);
        const char* captions[] = {"One", "Two", "Three"};
        for (const char* caption : captions) {
            auto* sheet = new Sheet(pc);   // the control frees its pages, and they their children
            sheet->SetCaption(caption);
            sheet->SetPageControl(pc);
        }
        auto* button = new TsButton(pc->Pages(1));
        button->SetParent(pc->Pages(1));
        button->SetBounds(8, 8, 75, 25);
        button->SetCaption("Go");
        button->SkinData.SetSkinSection("BUTTON");
        auto* label = new TsLabel(pc->Pages(2));
        label->SetParent(pc->Pages(2));
        label->SetBounds(8, 8, 60, 13);
        label->SetCaption("Third");
        pc->OnChange = [this](TObject*) { ++changes; };
        return pc;
    }

    POINT TabCentre(TPageControl* pc, int index) {
        const RECT r = NativeTabRect(pc, index);
        return pc->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    // Section index over what picture holds at r, turned way.
    void PaintOver(TBitmap24& picture, int section, const RECT& r, int state, TWay way) {
        TBitmap24 backdrop = TakeBack(picture, r, way);
        TBitmap24 look(backdrop.Width(), backdrop.Height());
        PaintSection(section, TParentBackground{&backdrop, 0, 0, true}, &Tables(), look, {0, 0},
                     {0, 0, look.Width(), look.Height()}, state, true);
        PutBack(look, picture, r, way);
    }

    // The whole control as the rule composes it over the plain form: the page
    // area (the client rectangle less the band of tabs) from PAGECONTROL, then
    // each tab from its side's section (or TABTOP turned), the selected one last
    // and reaching two pixels into the page, each caption centred along its tab.
    TBitmap24 Expected(TsPageControl* pc, int hot, bool focused = false) {
        const TTabPosition side = pc->TabPosition();
        const int w = pc->Width(), h = pc->Height();
        TBitmap24 picture(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) picture.SetPixel(x, y, kFormColor);
        RECT page{0, 0, w, h};
        for (int i = 0; i < pc->PageCount(); ++i) {
            const RECT t = NativeTabRect(pc, i);
            if (side == TTabPosition::tpTop) page.top = std::max(page.top, t.bottom);
            if (side == TTabPosition::tpBottom) page.bottom = std::min(page.bottom, t.top);
            if (side == TTabPosition::tpLeft) page.left = std::max(page.left, t.right);
            if (side == TTabPosition::tpRight) page.right = std::min(page.right, t.left);
        }
        PaintOver(picture, SectionIndex("PAGECONTROL"), page, 0, TWay::Upright);

        int section = SectionIndex(kSides[static_cast<int>(side)].OwnSection);
        TWay way = TWay::Upright;
        if (section < 0) {
            section = SectionIndex("TABTOP");
            way = LentWay(side);
        }
        const int selected = static_cast<int>(SendMessageW(pc->Handle(), TCM_GETCURSEL, 0, 0));
        std::vector<int> order;
        for (int i = 0; i < pc->PageCount(); ++i)
            if (i != selected) order.push_back(i);
        order.push_back(selected);
        for (int i : order) {
            RECT r = NativeTabRect(pc, i);
            const RECT place = r;
            if (i == selected) {
                if (side == TTabPosition::tpTop) r.bottom += 2;
                if (side == TTabPosition::tpBottom) r.top -= 2;
                if (side == TTabPosition::tpLeft) r.right += 2;
                if (side == TTabPosition::tpRight) r.left -= 2;
            }
            const int state = i == selected ? 2 : i == hot ? 1 : 0;
            PaintOver(picture, section, r, state, way);
            TBitmap24 upright = TakeBack(picture, place, CaptionWay(side));
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(upright.Handle()));
            {
                TGdiTextCanvas canvas(dc, pc->Font().Handle(), ColorToRGB(pc->Font().Color()));
                TRect text{0, 0, upright.Width(), upright.Height()};
                WriteSectionText(canvas, pc->Pages(i)->Caption(), true, &Tables(), state != 0, section,
                                 dtCenter | dtSingleLine | dtVCenter | dtNoPrefix, text);
                // The focused control's selected tab has the dotted frame around its caption.
                if (focused && i == selected) DrawDottedFrame(canvas, text);
            }
            SelectObject(dc, old);
            DeleteDC(dc);
            GdiFlush();
            PutBack(upright, picture, place, CaptionWay(side));
        }
        return picture;
    }

    void ExpectLook(TsPageControl* pc, int hot, const std::string& what) {
        const TBitmap24 expected = Expected(pc, hot);
        testing::PumpWhileNot([&] {
            std::string ignored;
            return Differences(CaptureScreen(ScreenRectOf(pc)), expected, ignored) == 0;
        }, 3000);
        std::string where;
        EXPECT_EQ(Differences(CaptureScreen(ScreenRectOf(pc)), expected, where), 0) << what << ":" << where;
    }

    void ExpectOnlyPageShown(TPageControl* pc, int index) {
        for (int i = 0; i < pc->PageCount(); ++i)
            EXPECT_EQ(IsWindowVisible(pc->Pages(i)->Handle()) != FALSE, i == index) << "page " << i;
        EXPECT_EQ(pc->ActivePageIndex(), index);
        EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETCURSEL, 0, 0), index);
    }

    int changes = 0;
};

TEST_F(PageControlTest, ClicksOnTabsAndCtrlTabChangeThePageOnEverySide) {
    for (const TSide& s : kSides) {
        SCOPED_TRACE(s.Name);
        auto* pc = AddPages(s.Position, 20, 20);
        ShowForm();
        changes = 0;
        ExpectOnlyPageShown(pc, 0);

        ClickPointer(TabCentre(pc, 2));
        PumpUntil([&] { return pc->ActivePageIndex() == 2; }, "a click on the third tab");
        ExpectOnlyPageShown(pc, 2);
        EXPECT_EQ(changes, 1);

        // From a control on a page, Ctrl+Tab goes forward (wrapping) and Ctrl+Shift+Tab back.
        ClickPointer(TabCentre(pc, 1));
        PumpUntil([&] { return pc->ActivePageIndex() == 1; }, "a click on the second tab");
        auto* button = dynamic_cast<TWinControl*>(pc->Pages(1)->Controls(0));
        ASSERT_NE(button, nullptr);
        button->SetFocus();
        testing::PressChord(VK_TAB, {VK_CONTROL});
        ExpectOnlyPageShown(pc, 2);
        testing::PressChord(VK_TAB, {VK_CONTROL});
        ExpectOnlyPageShown(pc, 0);
        testing::PressChord(VK_TAB, {VK_CONTROL, VK_SHIFT});
        ExpectOnlyPageShown(pc, 2);
        EXPECT_EQ(changes, 5);

        // With the tabs focused the native control's arrow keys move the selection.
        pc->SetFocus();
        testing::PressChord(VK_LEFT);
        PumpUntil([&] { return pc->ActivePageIndex() == 1; }, "the arrow key to select the previous tab");
        ExpectOnlyPageShown(pc, 1);
        EXPECT_EQ(changes, 6);

        // Assistive technology reads the tabs' names from the native control.
        for (int i = 0; i < pc->PageCount(); ++i) {
            wchar_t text[32] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 32;
            SendMessageW(pc->Handle(), TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(Narrow(text), pc->Pages(i)->Caption());
        }

        // Moved to another side, the window is made again with its tabs, the same page and the pages in its display area.
        const TTabPosition other = kSides[(static_cast<int>(s.Position) + 1) % 4].Position;
        pc->SetTabPosition(other);
        Application().ProcessMessages();
        EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
        ExpectOnlyPageShown(pc, 1);
        const RECT display = pc->DisplayRect();
        EXPECT_EQ(pc->Pages(1)->Left(), display.left);
        EXPECT_EQ(pc->Pages(1)->Top(), display.top);
        EXPECT_EQ(pc->Pages(1)->Width(), display.right - display.left);
        ClickPointer(TabCentre(pc, 0));
        PumpUntil([&] { return pc->ActivePageIndex() == 0; }, "a click on the first tab after the move");
        EXPECT_EQ(changes, 7);
        delete pc;
    }
}

TEST_F(PageControlTest, TabsAndPagesAreTheSkinsSectionsOnEverySideInEveryListedSkin) {
    std::vector<TsPageControl*> controls;
    const POINT places[] = {{4, 4}, {212, 4}, {4, 164}, {212, 164}};
    for (int i = 0; i < 4; ++i) controls.push_back(AddPages(kSides[i].Position, places[i].x, places[i].y, 200, 150));
    ShowForm();
    for (const testing::TListedSkin& skin : testing::ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        manager->SetSkinName(skin.Name);
        ASSERT_EQ(manager->SkinName(), skin.Name);
        ASSERT_GE(SectionIndex("TABTOP"), 0) << "every listed skin has TABTOP";
        for (int i = 0; i < 4; ++i) {
            TsPageControl* pc = controls[static_cast<std::size_t>(i)];
            SCOPED_TRACE(kSides[i].Name);
            ExpectLook(pc, -1, "normal");
            MovePointer(TabCentre(pc, 2));
            PumpUntil([&] { return pc->HotTab() == 2; }, "the third tab to be hot");
            ExpectLook(pc, 2, "third tab hot");
            // Into the page: no tab is under the pointer.
            const RECT display = pc->DisplayRect();
            MovePointer(pc->ClientToScreen({(display.left + display.right) / 2, (display.top + display.bottom) / 2}));
            PumpUntil([&] { return pc->HotTab() == -1; }, "no hot tab over the page");
            ExpectLook(pc, -1, "pointer over the page");
            ClickPointer(TabCentre(pc, 1));
            PumpUntil([&] { return pc->ActivePageIndex() == 1; }, "the second page");
            MovePointer({5, 5});
            PumpUntil([&] { return pc->HotTab() == -1; }, "no hot tab once the pointer left");
            // The page shows the page area's pixels around its button; the clicked
            // control has the focus.
            ASSERT_TRUE(pc->Focused());
            const RECT button = pc->Pages(1)->Controls(0)->BoundsRect();
            const TBitmap24 expected = Expected(pc, -1, true);
            std::string where;
            const RECT skip{display.left + button.left, display.top + button.top, display.left + button.right,
                            display.top + button.bottom};
            testing::PumpWhileNot([&] { std::string w; return Differences(CaptureScreen(ScreenRectOf(pc)), expected, w, {skip}) == 0; }, 3000);
            EXPECT_EQ(Differences(CaptureScreen(ScreenRectOf(pc)), expected, where, {skip}), 0)
                << "second page selected:" << where;
            pc->SetActivePageIndex(0);
        }
    }
}

TEST_F(PageControlTest, WithoutItsSectionOrWithTheSkinRemovedItIsThePlainNativeControl) {
    // The controls on the pages keep their own sections: only the page control and its pages are plain.
    struct TCase {
        const char* What;
        std::function<void(TsPageControl*)> Section;   // before the pages are added
        std::function<void()> Unskin;                  // once shown
    };
    const TCase cases[] = {
        {"no such section", [](TsPageControl* pc) { pc->SkinData().SetSkinSection("NOPAGES"); }, [] {}},
        {"manager inactive", nullptr, [this] { manager->SetActive(false); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        auto* skinned = AddPages(TTabPosition::tpBottom, 10, 10, 200, 150, c.Section);
        auto* plain = AddPages<TPageControl, TTabSheet>(TTabPosition::tpBottom, 10, 165);
        ShowForm();
        EXPECT_EQ(skinned->Skinned(), c.Section == nullptr);
        c.Unskin();
        EXPECT_FALSE(skinned->Skinned());
        ClickPointer(TabCentre(skinned, 1));
        ClickPointer(TabCentre(plain, 1));
        PumpUntil([&] { return skinned->ActivePageIndex() == 1 && plain->ActivePageIndex() == 1; }, "both on page two");
        MovePointer({5, 5});
        ::SetFocus(form->Handle());   // neither shows a focus frame
        ExpectOnlyPageShown(skinned, 1);
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application().ProcessMessages();
        // Pixel for pixel what the framework's plain page control shows.
        const TBitmap24 want = CaptureScreen(ScreenRectOf(plain));
        std::string where;
        testing::PumpWhileNot([&] { std::string w; return Differences(CaptureScreen(ScreenRectOf(skinned)), want, w) == 0; }, 3000);
        EXPECT_EQ(Differences(CaptureScreen(ScreenRectOf(skinned)), want, where), 0) << where;
        EXPECT_EQ(skinned->HotTab(), -1);
        // A plain page gives its children its own colour, not the page area's.
        TTabSheet* page = skinned->Pages(1);
        EXPECT_EQ(Hex(GetControlColor(page)), Hex(ColorToRGB(page->Color())));
        delete skinned;
        delete plain;
        manager->SetActive(true);
    }
}

TEST_F(PageControlTest, HoverSwitchingSkinChangesAndCreationLeaveTheCountsFlat) {
    const std::vector<testing::TListedSkin> skins = testing::ListedSkins();
    ShowForm();
    auto round = [&](int n) {
        auto* pc = AddPages(kSides[n % 4].Position, 20, 20);
        pc->Show();
        Application().ProcessMessages();
        for (int i = 0; i < 3; ++i) MovePointer(TabCentre(pc, i));
        ClickPointer(TabCentre(pc, 2));
        testing::PressChord(VK_TAB, {VK_CONTROL});
        manager->SetSkinName(skins[static_cast<std::size_t>(n) % skins.size()].Name);
        Application().ProcessMessages();
        MovePointer({5, 5});
        delete pc;
        Application().ProcessMessages();
    };
    round(0);   // the first round loads what stays loaded (skins, the tab control's class)
    manager->SetSkinName(skins[0].Name);
    const testing::TCounts before = testing::Count();
    for (int n = 0; n < 8; ++n) round(n);
    manager->SetSkinName(skins[0].Name);
    Application().ProcessMessages();
    const testing::TCounts after = testing::Count();
    testing::PrintCounts("page controls", before, after);
    testing::ExpectSameCounts(before, after);
}

}  // namespace
}  // namespace korvel

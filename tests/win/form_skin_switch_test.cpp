// Switching the skin off gives the form back the system's frame, its own
// border icons and a rectangular window; switching it on takes them away again.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/check_box.h"
#include "controls/edit.h"
#include "controls/panel.h"
#include "engine/skin_message.h"
#include "form_test_support.h"
#include "gui_input_support.h"
#include "mdi_frame_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::kRootColour;
using testing::PumpUntil;
using testing::PumpWhileNot;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

constexpr LONG_PTR kIconStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

bool HasRegion(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(window, region) != ERROR;
    DeleteObject(region);
    return has;
}

TEST(FormSkinSwitch, OffGivesBackTheSystemFrameAndOnTakesItAwayAgain) {
    TFormSetup setup;
    setup.FormIcons = biSystemMenu | biMinimize | biMaximize;
    TSkinnedFormRig rig(setup);
    rig.Show();
    const HWND window = rig.Handle();
    const TsSkinProvider& p = *rig.Provider;
    const TsMaskData& corner = rig.Mask("FORM", "BORDERSMASK");
    ASSERT_EQ(rig.Tables().MasterBitmap.Pixel(corner.R.Left, corner.R.Top), 0xFF00FFu) << "the corner's first pixel is cut";
    const POINT client = {rig.Provider->ClientOffsetX() + 150, rig.Provider->ClientOffsetY() + 80};
    const TColor formColour = rig.Tables().Sections.at(static_cast<std::size_t>(p.SkinData().SkinIndex)).HotColor;
    const POINT caption = {p.IconRect().Right + 60, p.FrameHeight() + p.CaptionHeight() / 2};

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // Skinned: no icons of the form's own, a shaped window, the skin's client colour.
        EXPECT_EQ(rig.Form->BorderIcons(), 0);
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & kIconStyles, 0);
        EXPECT_TRUE(HasRegion(window));
        EXPECT_EQ(rig.Pixel(0, 0), kRootColour);
        EXPECT_EQ(rig.Pixel(client.x, client.y), formColour);

        rig.Manager->SetActive(false);
        PumpWhileNot([&] {   // unskinned, and the system's frame and the form's colour on the screen
            return !rig.Provider->SkinData().IsSkinned(false) && rig.Pixel(0, 0) != kRootColour &&
                   rig.Pixel(client.x, client.y) == GetSysColor(COLOR_BTNFACE);
        });
        EXPECT_FALSE(rig.Provider->SkinData().IsSkinned(false));
        EXPECT_EQ(rig.Form->BorderIcons(), setup.FormIcons);
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & kIconStyles, kIconStyles);
        EXPECT_FALSE(HasRegion(window)) << "a plain rectangle again";
        EXPECT_NE(rig.Pixel(0, 0), kRootColour) << "the system's frame fills the corner";
        EXPECT_EQ(rig.Pixel(client.x, client.y), GetSysColor(COLOR_BTNFACE)) << "the form's own colour";
        // Every hit is the system's own, whatever lies under the old skinned buttons.
        const POINT at = rig.Screen(caption.x, caption.y);
        EXPECT_EQ(rig.HitTest(caption.x, caption.y), DefWindowProcW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
        EXPECT_TRUE(IsWindowVisible(window));

        rig.Manager->SetActive(true);
        PumpWhileNot([&] { return rig.Provider->SkinData().IsSkinned(true); });
        EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true));
    }
    EXPECT_EQ(rig.Form->BorderIcons(), 0);
    EXPECT_TRUE(HasRegion(window));
    EXPECT_EQ(rig.Pixel(0, 0), kRootColour);
}

// Every region the window is given, as the kind of region it has right after:
// SetWindowRgn ends in a frame-changing SetWindowPos that neither moves nor sizes.
class TRegionLog {
public:
    explicit TRegionLog(HWND window) : hook_(SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId())) {
        window_ = window;
        kinds_ = &Kinds;
    }
    ~TRegionLog() {
        UnhookWindowsHookEx(hook_);
        kinds_ = nullptr;
    }
    TRegionLog(const TRegionLog&) = delete;
    TRegionLog& operator=(const TRegionLog&) = delete;
    std::vector<int> Kinds;   // NULLREGION (hidden), SIMPLEREGION or COMPLEXREGION, ERROR (none)

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
        if (code == HC_ACTION && kinds_ && sent->hwnd == window_ && sent->message == WM_WINDOWPOSCHANGED) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
            constexpr UINT kRegionFlags = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE;
            if ((pos->flags & kRegionFlags) == kRegionFlags) {
                HRGN region = CreateRectRgn(0, 0, 0, 0);
                kinds_->push_back(GetWindowRgn(window_, region));
                DeleteObject(region);
            }
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    HHOOK hook_;
    static inline HWND window_ = nullptr;
    static inline std::vector<int>* kinds_ = nullptr;
};

// While a skin changes, the window keeps showing its old picture, whole (no
// flash of what lies behind it, no new frame over the old client); it is given
// a region only when its shape changes; afterwards it shows the new cache:
// title, frame and client.
TEST(FormSkinSwitch, ChangeKeepsTheOldPictureUntilTheNewOneAndShapesOnlyANewShape) {
    TSkinnedFormRig rig;
    // A child of the form hears the skin-applied command in the middle of the
    // change, when the frame's new picture is already in the cache.
    auto* page = new TsPanel(rig.Form);
    page->SetParent(rig.Form);
    page->SetBoundsRect({200, 100, 290, 150});
    rig.Show();
    const HWND window = rig.Handle();
    TsSkinProvider& p = *rig.Provider;
    const RECT wr = rig.WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int titleY = p.FrameHeight() + p.CaptionHeight() / 2;
    const int frameX = p.FrameWidth() / 2;
    const int clientY = p.ClientOffsetY() + 40;
    const int middleY = h / 2;
    const int bottomY = h - 1 - p.FrameHeight() / 2;
    // Points inside the title, the left and bottom frame and the client, clear of the cut corners.
    std::vector<POINT> points;
    for (int x = 12; x < w - 12; x += 9) points.push_back({x, titleY});
    for (int x = 12; x < w - 12; x += 17) points.push_back({x, bottomY});
    for (int x = p.ClientOffsetX() + 3; x < w - p.FrameWidth() - 3; x += 23) points.push_back({x, clientY});
    points.push_back({frameX, middleY});
    points.push_back({w - 1 - frameX, middleY});
    auto screen = [&] {
        std::vector<COLORREF> shown;
        for (const POINT& at : points) shown.push_back(rig.Pixel(at.x, at.y));
        return shown;
    };
    std::vector<COLORREF> midway;
    int cacheChangedMidway = -1;
    TColor cacheBefore = clNone;
    page->HookWindowProc(&midway, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINAPPLIED) {
            midway = screen();
            cacheChangedMidway = p.SkinData().CacheBmp()->Pixel(w / 2, titleY) != cacheBefore;
        }
        next(m);
    });

    // Whether every one of the points shows the root's colour: what a scribble or a cut shows.
    auto black = [&](const std::vector<POINT>& at) {
        for (const POINT& q : at)
            if (rig.Pixel(q.x, q.y) != kRootColour) return false;
        return true;
    };
    std::vector<POINT> titlePoints, clientPoints;
    for (const POINT& at : points) {
        if (at.y == titleY) titlePoints.push_back(at);
        if (at.y == clientY) clientPoints.push_back(at);
    }
    struct TStep {
        const char* Name;
        std::function<void()> Before;
        std::function<bool()> BeforeShown;   // what Before did is on the screen
        std::function<void()> Change;
        bool NewColours;   // the hue turns the frame's colours
        std::vector<int> Regions;
    };
    const std::vector<int> none, shapedOnce{COMPLEXREGION};
    const TStep steps[] = {
        {"hue 120 (skin applied only)", [] {}, [] { return true; }, [&] { rig.Manager->SetHueOffset(120); }, true, none},
        // Nothing changes its colour, and something else was drawn over the
        // client meanwhile: the change still paints the whole picture again.
        {"the same skin again (changed, then applied), over a scribbled client",
         [&] {
             HDC dc = GetDC(window);
             RECT client{};
             GetClientRect(window, &client);
             FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
             ReleaseDC(window, dc);
         },
         [&] { return black(clientPoints); }, [&] { rig.Manager->SetSkinName(testing::kElegant); }, false, none},
        {"hue 0 after the title strip was cut away", [&] { p.SuppressCaption(); }, [&] { return black(titlePoints); },
         [&] { rig.Manager->SetHueOffset(0); }, true, shapedOnce},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Name);
        step.Before();
        PumpUntil(step.BeforeShown, "the screen to show the step's preparation");
        const std::vector<COLORREF> before = screen();
        cacheBefore = p.SkinData().CacheBmp()->Pixel(w / 2, titleY);
        midway.clear();
        std::vector<int> kinds;
        {
            TRegionLog log(window);
            step.Change();
            kinds = log.Kinds;
        }
        EXPECT_EQ(kinds, step.Regions) << "a region for a new shape only";
        EXPECT_EQ(midway, before) << "midway the window still shows its old picture";
        if (step.NewColours) EXPECT_EQ(cacheChangedMidway, 1) << "while the new one is in the cache";
        const TBitmap24& cache = *p.SkinData().CacheBmp();
        // The new picture is on the screen once the idle pass has put the window's surface there.
        PumpWhileNot([&] {
            for (const POINT& at : points)
                if (rig.Pixel(at.x, at.y) != cache.Pixel(at.x, at.y)) return false;
            return rig.Pixel(0, 0) == kRootColour;
        });
        if (step.NewColours) EXPECT_NE(cache.Pixel(w / 2, titleY), cacheBefore) << "the title takes the new colours";
        for (const POINT& at : points) EXPECT_EQ(rig.Pixel(at.x, at.y), cache.Pixel(at.x, at.y)) << at.x << "," << at.y;
        EXPECT_EQ(rig.Pixel(0, 0), kRootColour) << "the corner is cut";
        EXPECT_TRUE(IsWindowVisible(window));
    }
    page->UnhookWindowProc(&midway);
}

// What each watched control hears through its window procedure slot, in order:
// 'A' for the skin-applied command, 'P' for a paint that painted (the control
// did not leave it to its parent: it is not updating when its WM_PAINT returns).
class TSkinPaintLog {
public:
    ~TSkinPaintLog() {
        for (TWinControl* c : watched_) c->UnhookWindowProc(this);
    }
    void Watch(TWinControl* control, TsCommonData& data) {
        control->HookWindowProc(this, [this, control, &data](TMessage& m, const TWndNext& next) {
            const bool changed = m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINCHANGED;
            const bool applied = m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINAPPLIED;
            const bool paint = m.Msg == WM_PAINT;
            next(m);
            if (changed) events_[control] += 'C';
            if (applied) events_[control] += 'A';
            if (paint && !data.Updating) events_[control] += 'P';
        });
        watched_.push_back(control);
    }
    std::string Events(TWinControl* control) { return events_[control]; }
    void Clear() { events_.clear(); }

private:
    std::vector<TWinControl*> watched_;
    std::map<TWinControl*, std::string> events_;
};

// A skin change announces itself to every windowed control once and paints it once, after it has
// the new skin, and leaves nothing to paint afterwards: the controls on the
// form, on a page and on a panel inside the page.
TEST(FormSkinSwitch, ChangePaintsEachControlOnceAfterItHasTheNewSkin) {
    TFormSetup setup;
    setup.ClientWidth = 320;
    setup.ClientHeight = 230;
    TSkinnedFormRig rig(setup);
    auto add = [&](auto* control, TWinControl* parent, RECT bounds) {
        control->SetParent(parent);
        control->SetBoundsRect(bounds);
        return control;
    };
    auto* page = add(new TsPanel(rig.Form), rig.Form, RECT{8, 8, 312, 180});
    auto* inner = add(new TsPanel(rig.Form), page, RECT{160, 10, 296, 120});
    auto* onForm = add(new TsButton(rig.Form), rig.Form, RECT{8, 190, 100, 215});
    auto* onPage = add(new TsButton(rig.Form), page, RECT{10, 10, 100, 35});
    auto* edit = add(new TsEdit(rig.Form), page, RECT{10, 50, 140, 71});
    auto* box = add(new TsCheckBox(rig.Form), page, RECT{10, 90, 140, 110});
    auto* deep = add(new TsButton(rig.Form), inner, RECT{10, 10, 110, 40});
    auto* deepEdit = add(new TsEdit(rig.Form), inner, RECT{10, 60, 120, 81});
    onForm->SetCaption("Form");
    onPage->SetCaption("Page");
    deep->SetCaption("Inner");
    edit->SetText("192.168.100.1");
    deepEdit->SetText("public");
    box->SetCaption("Step");
    rig.Show();
    const HWND window = rig.Handle();

    TSkinPaintLog log;
    struct TWatched {
        const char* Name;
        TWinControl* Control;
        TsCommonData* Data;
    };
    const TWatched watched[] = {
        {"page", page, &page->SkinData()},       {"inner panel", inner, &inner->SkinData()},
        {"button on the form", onForm, &onForm->SkinData}, {"button on the page", onPage, &onPage->SkinData},
        {"edit", edit, &edit->SkinData},         {"check box", box, &box->SkinData()},
        {"button on the inner panel", deep, &deep->SkinData}, {"edit on the inner panel", deepEdit, &deepEdit->SkinData},
    };
    for (const TWatched& w : watched) log.Watch(w.Control, *w.Data);

    const struct {
        const char* name;
        std::function<void()> change;
        const char* events;   // each announcement heard once (C changed, A applied), then one paint (P)
    } changes[] = {
        {"the skin set again (changed, then applied)", [&] { rig.Manager->SetSkinName(testing::kElegant); }, "CAP"},
        {"hue 200 (applied only)", [&] { rig.Manager->SetHueOffset(200); }, "AP"},
        {"hue 0", [&] { rig.Manager->SetHueOffset(0); }, "AP"},
    };
    for (const auto& [name, change, events] : changes) {
        SCOPED_TRACE(name);
        log.Clear();
        change();
        for (const TWatched& w : watched) {
            EXPECT_EQ(log.Events(w.Control), events) << w.Name << ": each announcement once, then one paint";
        }
        // Nothing is left for later: finishing every pending paint paints nothing more.
        log.Clear();
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Application().ProcessMessages();
        for (const TWatched& w : watched) EXPECT_EQ(log.Events(w.Control), "") << w.Name;
        // And what shows is each control's new picture: its cache (the whole
        // window's), along the middle row of its face.
        for (const TWatched& w : watched) {
            const TBitmap24& cache = *w.Data->CacheBmp();
            const RECT r = testing::ScreenRectOf(w.Control);
            const int y = (r.bottom - r.top) / 2;
            const TBitmap24 shot = testing::CaptureScreen({r.left, r.top + y, r.right, r.top + y + 1});
            ASSERT_EQ(cache.Width(), shot.Width()) << w.Name;
            int differ = 0;
            for (int x = 0; x < shot.Width(); ++x) {
                bool underChild = false;   // a panel's children show themselves there
                for (int i = 0; i < w.Control->ControlCount(); ++i) {
                    const RECT c = w.Control->Controls(i)->BoundsRect();
                    underChild = underChild || (x >= c.left && x < c.right && y >= c.top && y < c.bottom);
                }
                if (!underChild) differ += shot.Pixel(x, 0) != cache.Pixel(x, y);
            }
            EXPECT_EQ(differ, 0) << w.Name;
        }
    }
}

// A window the user can still use: shown, found under its own centre, and a
// real click on its button runs the button's handler.
void ExpectUsable(TForm* form, TsButton* button, int& clicks, const std::string& what) {
    SCOPED_TRACE(what);
    const HWND window = form->Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(window, region), NULLREGION) << "not hidden behind an empty region";
    DeleteObject(region);
    RECT r{};
    GetWindowRect(window, &r);
    const HWND atCentre = WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_TRUE(atCentre == window || IsChild(window, atCentre)) << "the window answers at its centre";
    const POINT centre = button->ClientToScreen({button->Width() / 2, button->Height() / 2});
    EXPECT_EQ(WindowFromPoint(centre), button->Handle());
    const int before = clicks;
    testing::ClickAt(centre);
    PumpWhileNot([&] { return clicks > before; });
    EXPECT_EQ(clicks, before + 1) << "the click reached the button";
}

// A skin folder without the section the form's frame is painted from: the form
// takes the system's frame and stays usable, its controls keep the skin's look;
// the skinned frame comes back with a skin that has the section.
TEST(FormSkinSwitch, SkinWithoutTheFormsSectionLeavesTheSystemFrameAndAUsableWindow) {
    const std::string directory = testing::WriteFolderSkin(
        "nosection", "NoForm", {"[GLOBALINFO]", "VERSION=3", "[BUTTON]", "COLOR=3381759", "HOTCOLOR=3381759"});
    testing::WriteFolderSkin("nosection", "FormOnly", {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=10079487",
                                                       "HOTCOLOR=10079487", "[BUTTON]", "COLOR=3381759"});
    struct TCase {
        const char* What;
        const char* Section;   // the provider's section
        const char* Skin;      // a skin without that section
    };
    const TCase cases[] = {{"no FORM section", "FORM", "NoForm"}, {"a section the skin lacks", "DIALOG", "FormOnly"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TSkinnedFormRig rig;
        rig.Manager->SetSkinDirectory(directory);
        rig.Provider->SkinData().SetSkinSection(c.Section);
        int clicks = 0;
        auto* button = testing::AddControl<TsButton>(rig.Form, 20, 20, 90, 28);
        button->OnClick = [&](TObject*) { ++clicks; };
        rig.Show();
        ASSERT_TRUE(rig.Provider->SkinData().IsSkinned(true)) << "the internal skin has the section";

        rig.Manager->SetSkinName(c.Skin);
        Application().ProcessMessages();   // what the change posted
        EXPECT_FALSE(rig.Provider->SkinData().IsSkinned(false));
        EXPECT_TRUE(button->SkinData.IsSkinned(true)) << "the controls keep the skin";
        EXPECT_EQ(rig.Form->BorderIcons(), biSystemMenu | biMinimize | biMaximize) << "the form's own icons";
        ExpectUsable(rig.Form, button, clicks, std::string("in ") + c.Skin);
        // Once more into a skin without the section: nothing is held that never comes back.
        rig.Manager->SetSkinName(c.Skin);
        Application().ProcessMessages();
        ExpectUsable(rig.Form, button, clicks, std::string("again in ") + c.Skin);

        rig.Manager->SetSkinName(testing::kElegant);
        Application().ProcessMessages();
        EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true));
        EXPECT_EQ(rig.Form->BorderIcons(), 0) << "the skinned frame is back";
        ExpectUsable(rig.Form, button, clicks, "back in the internal skin");
    }
}

TEST(FormSkinSwitch, MDIFrameAndChildStayVisibleInASkinWithoutTheFormsSection) {
    const std::string directory = testing::WriteFolderSkin(
        "nosection", "NoForm", {"[GLOBALINFO]", "VERSION=3", "[BUTTON]", "COLOR=3381759", "HOTCOLOR=3381759"});
    testing::TMDIFrameRig rig;
    TForm* child = rig.AddChild(20, 20, 260, 160);
    int clicks = 0;
    auto* button = testing::AddControl<TsButton>(child, 20, 20, 90, 28);
    button->OnClick = [&](TObject*) { ++clicks; };
    rig.Settle();
    rig.Manager->SetSkinDirectory(directory);
    rig.Manager->SetSkinName("NoForm");
    rig.Settle();
    EXPECT_FALSE(rig.Provider->SkinData().IsSkinned(false));
    ExpectUsable(child, button, clicks, "the child in NoForm");
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(rig.Frame->Handle(), region), NULLREGION) << "the frame is not hidden";
    DeleteObject(region);
    EXPECT_TRUE(IsWindowVisible(rig.Frame->Handle()));

    rig.Manager->SetSkinName(testing::kElegant);
    rig.Settle();
    EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true));
    ExpectUsable(child, button, clicks, "the child back in the internal skin");
}

}  // namespace
}  // namespace korvel

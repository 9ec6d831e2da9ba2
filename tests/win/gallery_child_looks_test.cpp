// The gallery's child windows on the screen, as a user opens and switches them:
// only the active child shows the active title bar, a child opened into the
// shown frame appears with its skinned frame at once, and every child's scroll
// bars show the new skin right after a switch between any two listed skins.
#include "gallery/gallery_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/scroll_bar.h"
#include "engine/skin_manager.h"
#include "gui/cache_dc.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "gui_input_support.h"
#include "skin_list_support.h"

using namespace korvel;

namespace {

// The screen's pixels of a rectangle, read in one copy.
TBitmap24 ScreenArea(const RECT& r) {
    TBitmap24 picture(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    {
        TCacheDC dc(picture);
        BitBlt(dc.Handle(), 0, 0, picture.Width(), picture.Height(), screen, r.left, r.top, SRCCOPY);
    }
    ReleaseDC(nullptr, screen);
    return picture;
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The whole window as a complete repaint of its provider's picture paints it,
// in the active or the inactive look; the provider is left as it was.
TBitmap24 CompleteRepaint(TsSkinProvider& p, bool active) {
    const bool was = p.FormActive;
    const auto paint = [&p](bool look) {
        p.FormActive = look;
        p.MenuLineChanged = true;
        p.SkinData().BackgroundChanged = true;
        p.RepaintCache();
    };
    paint(active);
    const TBitmap24& cache = *p.SkinData().CacheBmp();
    TBitmap24 copy = cache.Clone();
    paint(was);
    return copy;
}

struct TComparison {
    int Compared = 0;   // pixels inside the window's shape
    int Differing = 0;
    int Outside = 0;    // pixels of the part the window's shape leaves out
};

// The window's pixels on the screen within Part (window coordinates) against
// Expected (a picture of the whole window), where the window's shape has them.
TComparison CompareWindowPart(HWND window, const TBitmap24& expected, const RECT& part) {
    const RECT w = WindowRectOf(window);
    const TBitmap24 shown = ScreenArea({w.left + part.left, w.top + part.top, w.left + part.right, w.top + part.bottom});
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const bool shaped = GetWindowRgn(window, shape) != ERROR;
    TComparison result;
    for (int y = part.top; y < part.bottom; ++y) {
        for (int x = part.left; x < part.right; ++x) {
            if (shaped && !PtInRegion(shape, x, y)) {
                ++result.Outside;
                continue;
            }
            ++result.Compared;
            if (shown.Pixel(x - part.left, y - part.top) != expected.Pixel(x, y)) ++result.Differing;
        }
    }
    DeleteObject(shape);
    return result;
}

// How many pixels of Part two pictures of the whole window differ in.
int DifferingPixels(const TBitmap24& a, const TBitmap24& b, const RECT& part) {
    int n = 0;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) n += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
    return n;
}

// Every control below a container, depth first.
void ForEachControl(TWinControl& parent, const std::function<void(TControl&)>& visit) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* control = parent.Controls(i);
        visit(*control);
        if (auto* container = dynamic_cast<TWinControl*>(control)) ForEachControl(*container, visit);
    }
}

// What the bar paints now, off the screen, from its skin.
TBitmap24 PaintedOffScreen(TsScrollBar& bar) {
    TBitmap24 picture(bar.Width(), bar.Height());
    TCacheDC dc(picture);
    bar.SkinData.BackgroundChanged = true;
    bar.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.Handle()), 0);
    GdiFlush();
    return picture;
}

// The bar's pixels on the screen where the screen shows the bar itself.
struct TBarPixels {
    TBitmap24 Picture;
    std::vector<bool> Visible;
};

TBarPixels BarOnScreen(TsScrollBar& bar) {
    const RECT r = WindowRectOf(bar.Handle());
    TBarPixels result{ScreenArea(r), std::vector<bool>(static_cast<std::size_t>(bar.Width() * bar.Height()))};
    HWND parent = GetParent(bar.Handle());
    for (int y = 0; y < bar.Height(); ++y) {
        for (int x = 0; x < bar.Width(); ++x) {
            const POINT p{r.left + x, r.top + y};
            HWND top = WindowFromPoint(p);
            if (top == parent) {   // a disabled window is found through its parent
                POINT inParent = p;
                ScreenToClient(parent, &inParent);
                top = ChildWindowFromPointEx(parent, inParent, CWP_SKIPINVISIBLE);
            }
            result.Visible[static_cast<std::size_t>(y * bar.Width() + x)] = top == bar.Handle();
        }
    }
    return result;
}

class GalleryChildLooks : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new TGalleryFrame(nullptr);
        Application().SetMainForm(frame);
        frame->Show();
        korvel::testing::BringToFront(frame->Handle());
    }
    void TearDown() override {
        korvel::testing::MovePointer({2, 2});
        while (frame->MDIChildCount() > 0) delete frame->MDIChildren(0);
        Application().SetMainForm(nullptr);
        delete frame;
        Application().ProcessMessages();
    }

    // Opens a child the way a user does: Alt+F, then the item's key in the File menu
    // (Return takes the first item, the controls window, whose letter Close shares).
    TGalleryChild& OpenByKeys(WORD itemKey) {
        const int before = frame->MDIChildCount();
        korvel::testing::BringToFront(frame->Handle());
        {
            korvel::testing::TMenuWatcher watcher([itemKey](HWND) { korvel::testing::SendChord(itemKey); });
            korvel::testing::PressChord('F', {VK_MENU});
            korvel::testing::PumpWhileNot([&] { return frame->MDIChildCount() == before + 1; });
            EXPECT_TRUE(watcher.Seen()) << "the File menu did not open";
        }
        Application().ProcessMessages();
        EXPECT_EQ(frame->MDIChildCount(), before + 1);
        return dynamic_cast<TGalleryChild&>(*frame->ActiveMDIChild());
    }
    TGalleryChild* ChildOfKind(TGalleryChildKind kind) {
        for (int i = 0; i < frame->MDIChildCount(); ++i)
            if (auto* child = dynamic_cast<TGalleryChild*>(frame->MDIChildren(i)); child && child->Kind() == kind) return child;
        return nullptr;
    }
    static TsSkinProvider& ProviderOf(TForm& form) {
        TsSkinProvider* p = FindSkinProvider(&form);
        if (!p) throw std::runtime_error("no provider");
        return *p;
    }

    TGalleryFrame* frame = nullptr;
};

// The title strip of a child on the screen is its provider's complete repaint in
// the look its activation asks for, and not the other look.
void ExpectTitleLook(TForm& child, bool active) {
    SCOPED_TRACE(child.Caption() + (active ? " (active)" : " (inactive)"));
    TsSkinProvider& p = *FindSkinProvider(&child);
    EXPECT_EQ(p.FormActive, active);
    const RECT strip{0, 0, child.Width(), p.FrameHeight() + p.CaptionHeight()};
    const TBitmap24 expected = CompleteRepaint(p, active);
    const TBitmap24 other = CompleteRepaint(p, !active);
    ASSERT_GT(DifferingPixels(expected, other, strip), strip.right * strip.bottom / 4) << "the two looks differ";
    const TComparison c = CompareWindowPart(child.Handle(), expected, strip);
    EXPECT_GT(c.Compared, strip.right * strip.bottom * 9 / 10) << "the title strip is on the screen";
    EXPECT_EQ(c.Differing, 0) << "of " << c.Compared << " title pixels";
}

TEST_F(GalleryChildLooks, OnlyTheActiveChildShowsTheActiveTitleBar) {
    TGalleryChild& controls = *ChildOfKind(TGalleryChildKind::Controls);
    ExpectTitleLook(controls, true);
    // Sizeable and Scrolling lie clear of each other; Sizeable clear of Controls.
    TGalleryChild& sizeable = OpenByKeys('Z');
    ASSERT_EQ(sizeable.Kind(), TGalleryChildKind::Sizeable);
    ExpectTitleLook(sizeable, true);
    ExpectTitleLook(controls, false);
    TGalleryChild& scrolling = OpenByKeys('S');
    ASSERT_EQ(scrolling.Kind(), TGalleryChildKind::Scrolling);
    ExpectTitleLook(scrolling, true);
    ExpectTitleLook(sizeable, false);
    // A click on the inactive Sizeable window's title activates it: the looks change places.
    const RECT s = WindowRectOf(sizeable.Handle());
    korvel::testing::ClickAt({s.left + sizeable.Width() / 2, s.top + ProviderOf(sizeable).FrameHeight() + 4});
    korvel::testing::PumpWhileNot([&] { return frame->ActiveMDIChild() == &sizeable; });
    ASSERT_EQ(frame->ActiveMDIChild(), &sizeable);
    ExpectTitleLook(sizeable, true);
    ExpectTitleLook(scrolling, false);
}

TEST_F(GalleryChildLooks, AChildOpenedIntoTheShownFrameAppearsWithItsSkinnedFrame) {
    for (auto [kind, key] : {std::pair{TGalleryChildKind::Sizeable, WORD('Z')}, std::pair{TGalleryChildKind::Scrolling, WORD('S')},
                             std::pair{TGalleryChildKind::Controls, WORD(VK_RETURN)}}) {
        TGalleryChild& child = OpenByKeys(key);
        ASSERT_EQ(child.Kind(), kind);
        SCOPED_TRACE(child.Caption());
        TsSkinProvider& p = ProviderOf(child);
        const int w = child.Width(), h = child.Height();
        const int top = p.FrameHeight() + p.CaptionHeight(), side = p.FrameWidth(), bottom = p.FrameHeight();
        const TBitmap24 expected = CompleteRepaint(p, true);
        // Title, left, right and bottom frame: every pixel of the window's shape.
        const RECT parts[] = {{0, 0, w, top}, {0, top, side, h}, {w - side, top, w, h}, {side, h - bottom, w - side, h}};
        for (const RECT& part : parts) {
            const TComparison c = CompareWindowPart(child.Handle(), expected, part);
            const int area = (part.right - part.left) * (part.bottom - part.top);
            EXPECT_GT(c.Compared, area * 8 / 10) << part.left << "," << part.top;
            EXPECT_EQ(c.Differing, 0) << "of " << c.Compared << " pixels at " << part.left << "," << part.top;
        }
    }
}

TEST_F(GalleryChildLooks, EveryChildsScrollBarsShowTheNewSkinRightAfterASwitch) {
    TsSkinManager& manager = frame->SkinManager();
    manager.SetSkinDirectory("Z:" + (std::filesystem::path(KORVEL_SOURCE_DIR) / "skins").string());
    OpenByKeys('Z');   // the Controls window, with its bars, becomes inactive
    std::vector<TsScrollBar*> bars;
    for (int i = 0; i < frame->MDIChildCount(); ++i)
        ForEachControl(*frame->MDIChildren(i), [&](TControl& c) {
            if (auto* bar = dynamic_cast<TsScrollBar*>(&c); bar && bar->Visible()) bars.push_back(bar);
        });
    ASSERT_GE(bars.size(), 4u);
    // Every ordered pair of the listed skins (tests/data/skins.list), from the internal one.
    const std::vector<korvel::testing::TListedSkin> skins = korvel::testing::ListedSkins();
    const std::vector<int> chain = korvel::testing::EveryOrderedPairChain(static_cast<int>(skins.size()));
    ASSERT_EQ(manager.SkinName(), skins[static_cast<std::size_t>(chain[0])].Name);
    for (std::size_t step = 1; step < chain.size(); ++step) {
        const std::string& skin = skins[static_cast<std::size_t>(chain[step])].Name;
        SCOPED_TRACE(skins[static_cast<std::size_t>(chain[step - 1])].Name + " to " + skin);
        std::vector<TBitmap24> before;
        for (TsScrollBar* bar : bars) before.push_back(BarOnScreen(*bar).Picture.Clone());
        manager.SetSkinName(skin);
        Application().ProcessMessages();   // what the switch posted
        ASSERT_EQ(manager.SkinName(), skin);
        // Every bar's new picture is on the screen once the idle pass has put the
        // windows' surfaces there (bounded); the checks below say where it is not.
        std::vector<TBitmap24> painted;
        std::vector<std::vector<bool>> visibleAt;
        for (TsScrollBar* bar : bars) {
            painted.push_back(PaintedOffScreen(*bar));
            visibleAt.push_back(BarOnScreen(*bar).Visible);
        }
        korvel::testing::PumpWhileNot([&] {
            for (std::size_t i = 0; i < bars.size(); ++i) {
                const TBitmap24 picture = ScreenArea(WindowRectOf(bars[i]->Handle()));
                for (int y = 0; y < picture.Height(); ++y)
                    for (int x = 0; x < picture.Width(); ++x)
                        if (visibleAt[i][static_cast<std::size_t>(y * picture.Width() + x)] &&
                            picture.Pixel(x, y) != painted[i].Pixel(x, y))
                            return false;
            }
            return true;
        });
        for (std::size_t i = 0; i < bars.size(); ++i) {
            TsScrollBar& bar = *bars[i];
            SCOPED_TRACE(bar.Name());
            const TBarPixels shown = BarOnScreen(bar);
            const TBitmap24& expected = painted[i];
            int visible = 0, wrong = 0, changed = 0, stale = 0;
            for (int y = 0; y < bar.Height(); ++y) {
                for (int x = 0; x < bar.Width(); ++x) {
                    if (!shown.Visible[static_cast<std::size_t>(y * bar.Width() + x)]) continue;
                    ++visible;
                    wrong += shown.Picture.Pixel(x, y) != expected.Pixel(x, y) ? 1 : 0;
                    changed += before[i].Pixel(x, y) != expected.Pixel(x, y) ? 1 : 0;
                    stale += shown.Picture.Pixel(x, y) == before[i].Pixel(x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(visible, bar.Width() * bar.Height()) << "nothing covers the bar";
            EXPECT_GT(changed, visible / 4) << "the skins paint the bar differently";
            EXPECT_EQ(wrong, 0) << "of " << visible << " pixels (" << stale << " as before the switch)";
        }
    }
}

}  // namespace

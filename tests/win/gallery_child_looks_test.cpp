// The gallery's child windows on the screen, as a user opens and switches them:
// only the active child shows the active title bar, and a child opened into the
// shown frame appears with its skinned frame at once.
#include "gallery/gallery_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/skin_manager.h"
#include "forms/cache_dc.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "gui_input_support.h"

using namespace korvel;
using korvel::testing::Pump;

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

class GalleryChildLooks : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new TGalleryFrame(nullptr);
        Application().SetMainForm(frame);
        frame->Show();
        SetForegroundWindow(frame->Handle());
        Pump(400);
    }
    void TearDown() override {
        korvel::testing::MovePointer({2, 2});
        while (frame->MDIChildCount() > 0) delete frame->MDIChildren(0);
        Application().SetMainForm(nullptr);
        delete frame;
        Pump(50);
    }

    // Opens a child the way a user does: Alt+F, then the item's key in the File menu
    // (Return takes the first item, the controls window, whose letter Close shares).
    TGalleryChild& OpenByKeys(WORD itemKey) {
        const int before = frame->MDIChildCount();
        SetForegroundWindow(frame->Handle());
        Pump(50);
        {
            korvel::testing::TMenuWatcher watcher([itemKey](HWND) { korvel::testing::SendChord(itemKey); });
            korvel::testing::PressChord('F', {VK_MENU});
            Pump(400);
            EXPECT_TRUE(watcher.Seen()) << "the File menu did not open";
        }
        Pump(300);
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
    Pump(300);
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

}  // namespace

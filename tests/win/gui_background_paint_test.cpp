// Our own windows paint into any DC they are handed: WM_PRINTCLIENT (a
// PrintWindow capture), WM_ERASEBKGND from someone else (a child drawing its
// parent's background); a panel repaints all of itself when it is resized;
// and a change of the system colours reaches cached brushes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::PumpWhileNot;
using testing::ScreenPixel;

constexpr TColor kFormColor = 0x00406080;
constexpr TColor kLabelColor = 0x0020C040;
constexpr TColor kPanelColor = 0x00A03010;
constexpr TColor kUntouched = 0x00FF00FF;

// A memory bitmap filled with kUntouched, the DC handed to a window.
struct TCapture {
    TBitmap bitmap;
    TCapture(int width, int height) : bitmap(width, height) {
        TCanvas& canvas = bitmap.Canvas();
        canvas.Brush().SetColor(kUntouched);
        canvas.FillRect({0, 0, width, height});
    }
    HDC Dc() { return bitmap.Canvas().Handle(); }
    TColor Pixel(int x, int y) {
        const std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
        return TColor(p[2]) | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
    }
};

class BackgroundPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(180, 160, 320, 220);
        form->SetColor(kFormColor);
        label = testing::AddControl<TLabel>(form, 20, 20, 60, 30);
        label->SetAutoSize(false);
        label->SetCaption("");
        label->SetBounds(20, 20, 60, 30);   // after its font came from the form
        label->SetColor(kLabelColor);
        panel = testing::AddControl<TPanel>(form, 120, 20, 100, 80);
        panel->SetColor(kPanelColor);
        panel->SetCaption("");
        form->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
    }
    TForm* form = nullptr;
    TLabel* label = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(BackgroundPaintTest, PrintWindowCapturesTheFormAndItsWindowlessChildren) {
    TCapture capture(form->Width(), form->Height());
    ASSERT_TRUE(PrintWindow(form->Handle(), capture.Dc(), 0));
    struct {
        const char* where;
        POINT p;
        TColor expected;
    } const points[] = {
        {"form", {5, 5}, kFormColor},
        {"form right of the label", {90, 30}, kFormColor},
        {"label", {25, 25}, kLabelColor},
        {"label's far corner", {79, 49}, kLabelColor},
        {"form below", {300, 200}, kFormColor},
    };
    for (const auto& pt : points) EXPECT_EQ(capture.Pixel(pt.p.x, pt.p.y), pt.expected) << pt.where;
}

TEST_F(BackgroundPaintTest, AChildWindowDrawsIntoAnyDcItIsGiven) {
    // Inside the raised bevel (one pixel on each side) the panel is its colour.
    struct {
        const char* message;
        UINT msg;
        LPARAM flags;
    } const requests[] = {
        {"WM_PRINTCLIENT", WM_PRINTCLIENT, PRF_CLIENT},
        {"WM_ERASEBKGND", WM_ERASEBKGND, 0},
    };
    for (const auto& r : requests) {
        TCapture capture(panel->Width(), panel->Height());
        LRESULT result = SendMessageW(panel->Handle(), r.msg, reinterpret_cast<WPARAM>(capture.Dc()), r.flags);
        if (r.msg == WM_ERASEBKGND) {
            EXPECT_NE(result, 0) << r.message;
        }
        for (POINT p : {POINT{2, 2}, POINT{50, 40}, POINT{97, 77}})
            EXPECT_EQ(capture.Pixel(p.x, p.y), kPanelColor) << r.message << " at " << p.x << "," << p.y;
        EXPECT_EQ(capture.Pixel(99, 50), r.msg == WM_PRINTCLIENT ? ColorToRGB(clBtnShadow) : kPanelColor)
            << r.message << ": the bevel is painting, not erasing";
    }
}

TEST_F(BackgroundPaintTest, AResizedPanelRepaintsItsWholeFace) {
    POINT oldEdge = panel->ClientToScreen({panel->Width() - 1, panel->Height() / 2});
    ASSERT_EQ(ScreenPixel(oldEdge.x, oldEdge.y), ColorToRGB(clBtnShadow));   // the raised bevel's shadow
    panel->SetWidth(panel->Width() + 60);
    testing::PumpWhileNot([&] { return ScreenPixel(oldEdge.x, oldEdge.y) == kPanelColor; });
    EXPECT_EQ(ScreenPixel(oldEdge.x, oldEdge.y), kPanelColor) << "the old right edge is gone";
    POINT newEdge = panel->ClientToScreen({panel->Width() - 1, panel->Height() / 2});
    EXPECT_EQ(ScreenPixel(newEdge.x, newEdge.y), ColorToRGB(clBtnShadow));
}

TEST_F(BackgroundPaintTest, AControlRecolouredWhileHiddenShowsItsNewColourWhenShown) {
    auto* inner = new TPanel(form);
    inner->SetParent(panel);
    inner->SetBounds(10, 10, 60, 50);
    inner->SetBevelOuter(TBevelCut::bvNone);
    inner->SetCaption("");
    inner->SetColor(kLabelColor);
    form->Repaint();
    Application().ProcessMessages();
    struct {
        const char* what;
        TControl* hidden;   // the control hidden around the change
        TColor color;
    } const cases[] = {
        {"under a hidden panel", panel, 0x00C08040},
        {"on a hidden form", form, 0x004080C0},
    };
    for (const auto& c : cases) {
        c.hidden->SetVisible(false);
        Application().ProcessMessages();
        inner->SetColor(c.color);
        // Nothing was marked for painting while hidden: the show paints the window whole.
        c.hidden->SetVisible(true);
        const POINT centre = inner->ClientToScreen({30, 25});
        testing::PumpWhileNot([&] { return ScreenPixel(centre.x, centre.y) == c.color; });
        EXPECT_EQ(ScreenPixel(centre.x, centre.y), c.color) << c.what;
    }
}

TEST_F(BackgroundPaintTest, ASystemColourChangeReachesCachedBrushes) {
    form->SetColor(clBtnFace);
    auto* edit = testing::AddControl<TEdit>(form, 20, 150, 120, 24);
    edit->SetText("");
    form->Repaint();
    Application().ProcessMessages();
    struct {
        const char* what;
        int index;
        TControl* control;
        POINT at;
        TColor changed;
    } const cases[] = {
        {"form in the button face colour", COLOR_BTNFACE, form, {5, 5}, 0x00305070},
        {"edit in the window colour", COLOR_WINDOW, edit, {60, 12}, 0x0070A0C0},
    };
    INT indexes[2];
    COLORREF saved[2], changed[2];
    for (int i = 0; i < 2; ++i) {
        indexes[i] = cases[i].index;
        saved[i] = GetSysColor(cases[i].index);
        changed[i] = cases[i].changed;
    }
    for (const auto& c : cases) {
        POINT p = c.control->ClientToScreen(c.at);
        ASSERT_EQ(ScreenPixel(p.x, p.y), GetSysColor(c.index)) << c.what;
    }
    // Shows what every case's point shows once the repaints the change asked for are on the screen.
    auto shows = [&](auto colourOf) {
        for (const auto& c : cases) {
            POINT p = c.control->ClientToScreen(c.at);
            if (ScreenPixel(p.x, p.y) != colourOf(c)) return false;
        }
        return true;
    };
    ASSERT_TRUE(SetSysColors(2, indexes, changed));
    PumpWhileNot([&] { return shows([](const auto& c) { return static_cast<COLORREF>(c.changed); }); });
    for (const auto& c : cases) {
        POINT p = c.control->ClientToScreen(c.at);
        EXPECT_EQ(ScreenPixel(p.x, p.y), c.changed) << c.what;
    }
    SetSysColors(2, indexes, saved);
    PumpWhileNot([&] { return shows([](const auto& c) { return GetSysColor(c.index); }); });
    for (const auto& c : cases) {
        POINT p = c.control->ClientToScreen(c.at);
        EXPECT_EQ(ScreenPixel(p.x, p.y), GetSysColor(c.index)) << c.what << " after the colours came back";
    }
}

}  // namespace
}  // namespace korvel

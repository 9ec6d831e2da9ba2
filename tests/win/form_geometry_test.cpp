// Where a skinned form goes: the maximised place and tracking size from the
// work area and the frame, snapping to the work area's edges, and moving and
// sizing by an outline with real pointer drags.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "form_test_support.h"
#include "gui/class_registry.h"
#include "gui_input_support.h"

namespace korvel {
namespace {

using testing::PumpUntil;
using testing::PointerTo;
using testing::TFormSetup;
using testing::TPlaceCounter;
using testing::TFrameMetrics;
using testing::TSkinnedFormRig;

RECT WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// The record the system would send, filled with values no rule gives.
MINMAXINFO AskMinMax(HWND window) {
    MINMAXINFO info{};
    info.ptMaxSize = {7001, 7002};
    info.ptMaxPosition = {7003, 7004};
    info.ptMinTrackSize = {11, 12};
    info.ptMaxTrackSize = {7005, 7006};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

TEST(FormGeometry, MaximisedPlaceAndTrackingSizeComeFromTheWorkAreaAndTheFrame) {
    const RECT work = WorkArea();
    for (TFormBorderStyle style : {TFormBorderStyle::bsSizeable, TFormBorderStyle::bsSingle, TFormBorderStyle::bsNone}) {
        SCOPED_TRACE(static_cast<int>(style));
        TFormSetup setup;
        setup.BorderStyle = style;
        TSkinnedFormRig rig(setup);
        rig.Show();
        // The frame hangs outside the work area by one frame width on every side.
        const int b = TFrameMetrics::Of(style).FrameX;
        const MINMAXINFO info = AskMinMax(rig.Handle());
        EXPECT_EQ(info.ptMaxTrackSize.x, work.right - work.left + 2 * b);
        EXPECT_EQ(info.ptMaxTrackSize.y, work.bottom - work.top + 2 * b);
        EXPECT_EQ(info.ptMaxPosition.x, work.left - b);
        EXPECT_EQ(info.ptMaxPosition.y, work.top - b);
        // The maximised size stays the form's own (the system's value here).
        EXPECT_EQ(info.ptMaxSize.x, 7001);
        EXPECT_EQ(info.ptMaxSize.y, 7002);

        ShowWindow(rig.Handle(), SW_MAXIMIZE);
        ASSERT_TRUE(PumpUntil([&] { return IsZoomed(rig.Handle()); }, "the window to be maximised"));
        Application().ProcessMessages();   // what the maximising posted
        const RECT r = rig.WindowRect();
        EXPECT_EQ(r.left, work.left - b);
        EXPECT_EQ(r.top, work.top - b);
        EXPECT_LE(r.right - r.left, work.right - work.left + 2 * b);
        EXPECT_LE(r.bottom - r.top, work.bottom - work.top + 2 * b);
    }
}

TEST(FormGeometry, MinMaxInfoKeepsWhatTheFormsOwnHandlerSet) {
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsSizeable;
    TSkinnedFormRig rig(setup);
    rig.Form->Constraints().SetMaxWidth(345);   // the form's own handler sets the tracking width
    rig.Show();
    const RECT work = WorkArea();
    const int b = TFrameMetrics::Of(setup.BorderStyle).FrameX;
    const MINMAXINFO info = AskMinMax(rig.Handle());
    EXPECT_EQ(info.ptMaxTrackSize.x, 345);
    EXPECT_EQ(info.ptMaxTrackSize.y, work.bottom - work.top + 2 * b);
    EXPECT_EQ(info.ptMaxPosition.x, work.left - b);

    // Without the skin the provider adds nothing: the system's values stand.
    rig.Manager->SetActive(false);
    Application().ProcessMessages();
    const MINMAXINFO plain = AskMinMax(rig.Handle());
    EXPECT_EQ(plain.ptMaxTrackSize.x, 345);
    EXPECT_EQ(plain.ptMaxTrackSize.y, 7006);
    EXPECT_EQ(plain.ptMaxPosition.x, 7003);
}

TEST(FormGeometry, ScreenSnapPullsAnEdgeWithinTheBufferAndNotOnePixelBeyond) {
    TSkinnedFormRig rig;
    rig.Provider->SetScreenSnap(true);
    rig.Provider->SetSnapBuffer(10);
    rig.Show();
    const RECT work = WorkArea();
    const RECT wr = rig.WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int midX = (work.left + work.right - w) / 2, midY = (work.top + work.bottom - h) / 2;
    // The window's edges when it lies flush with the work area's edges.
    const int flushLeft = work.left, flushTop = work.top, flushRight = work.right - w, flushBottom = work.bottom - h;
    struct TCase {
        const char* Edge;
        int X, Y;                   // where the window is asked to go
        int ExpectedX, ExpectedY;   // where it ends up
    } cases[] = {
        // 9 pixels away (inside the buffer of 10) snaps, from either side; 10 away stays put.
        {"right, 9 inside", flushRight - 9, midY, flushRight, midY},
        {"right, 9 beyond", flushRight + 9, midY, flushRight, midY},
        {"right, 10 inside", flushRight - 10, midY, flushRight - 10, midY},
        {"right, 10 beyond", flushRight + 10, midY, flushRight + 10, midY},
        {"bottom, 9 inside", midX, flushBottom - 9, midX, flushBottom},
        {"bottom, 9 beyond", midX, flushBottom + 9, midX, flushBottom},
        {"bottom, 10 inside", midX, flushBottom - 10, midX, flushBottom - 10},
        {"bottom, 10 beyond", midX, flushBottom + 10, midX, flushBottom + 10},
        {"left, 9 inside", flushLeft + 9, midY, flushLeft, midY},
        {"left, 9 beyond", flushLeft - 9, midY, flushLeft, midY},
        {"left, 10 inside", flushLeft + 10, midY, flushLeft + 10, midY},
        {"left, 10 beyond", flushLeft - 10, midY, flushLeft - 10, midY},
        {"top, 9 inside", midX, flushTop + 9, midX, flushTop},
        {"top, 9 beyond", midX, flushTop - 9, midX, flushTop},
        {"top, 10 inside", midX, flushTop + 10, midX, flushTop + 10},
        {"top, 10 beyond", midX, flushTop - 10, midX, flushTop - 10},
        // Near two edges at once, both snap.
        {"bottom-right corner", flushRight - 3, flushBottom + 4, flushRight, flushBottom},
        {"top-left corner", flushLeft + 2, flushTop + 7, flushLeft, flushTop},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Edge) + " " + std::to_string(c.X) + "," + std::to_string(c.Y));
        SetWindowPos(rig.Handle(), nullptr, c.X, c.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT r = rig.WindowRect();
        EXPECT_EQ(r.left, c.ExpectedX);
        EXPECT_EQ(r.top, c.ExpectedY);
        EXPECT_EQ(r.right - r.left, w);
    }
}

TEST(FormGeometry, NoSnapAtTheOriginWhenMaximisedOrWithScreenSnapOff) {
    const RECT work = WorkArea();
    {   // A window nearly as large as the work area, put at (0, 0): its far edges are within the buffer.
        TFormSetup setup;
        setup.BorderStyle = TFormBorderStyle::bsSizeable;
        TSkinnedFormRig rig(setup);
        rig.Provider->SetScreenSnap(true);
        rig.Show();
        SetWindowPos(rig.Handle(), nullptr, 0, 0, work.right - work.left - 4, work.bottom - work.top - 4, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r = rig.WindowRect();
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        // Maximised: the frame sits outside the work area, within the buffer, and stays there.
        ShowWindow(rig.Handle(), SW_MAXIMIZE);
        ASSERT_TRUE(PumpUntil([&] { return IsZoomed(rig.Handle()); }, "the window to be maximised"));
        Application().ProcessMessages();
        const int b = TFrameMetrics::Of(setup.BorderStyle).FrameX;
        r = rig.WindowRect();
        EXPECT_EQ(r.left, work.left - b);
        EXPECT_EQ(r.top, work.top - b);
    }
    {
        TSkinnedFormRig rig;
        rig.Show();   // ScreenSnap is off by default
        const RECT wr = rig.WindowRect();
        const int w = wr.right - wr.left;
        SetWindowPos(rig.Handle(), nullptr, work.right - w - 5, work.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT r = rig.WindowRect();
        EXPECT_EQ(r.left, work.right - w - 5);
        EXPECT_EQ(r.top, work.top + 5);
    }
}

TEST(FormGeometry, SnapSettingsAreReadFromAWindowDefinition) {
    RegisterSkinProviderClass();
    TForm form(&Application());
    form.ReadDefinition(
        "object Form1: TForm\n"
        "  object P: TsSkinProvider\n"
        "    ScreenSnap = True\n"
        "    SnapBuffer = 17\n"
        "    ResizeMode = rmBorder\n"
        "  end\n"
        "end\n");
    TsSkinProvider* provider = FindSkinProvider(&form);
    ASSERT_NE(provider, nullptr);
    EXPECT_TRUE(provider->ScreenSnap());
    EXPECT_EQ(provider->SnapBuffer(), 17);
    EXPECT_EQ(provider->ResizeMode(), TResizeMode::rmBorder);
}

void PointerButton(bool down) {
    testing::SendMouseButton(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

TEST(FormGeometry, OutlineMoveChangesTheWindowOnceAtTheRelease) {
    TPlaceCounter counter;
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsSizeable;
    setup.BeforeProvider = [&counter](TForm* form) { counter.Hook(form); };
    TSkinnedFormRig rig(setup);
    rig.Provider->SetResizeMode(TResizeMode::rmBorder);
    rig.Show();
    const RECT before = rig.WindowRect();
    const TFrameMetrics m = TFrameMetrics::Of(setup.BorderStyle);
    // A caption point clear of the icon and the buttons.
    const POINT press = rig.Screen(m.FrameX + 60, m.FrameY + m.Caption / 2);
    ASSERT_EQ(rig.HitTest(m.FrameX + 60, m.FrameY + m.Caption / 2), HTCAPTION);
    PointerTo(press);
    counter.Changes = 0;
    PointerButton(true);
    const std::vector<POINT> steps{{15, 4}, {40, 25}, {70, 33}};
    // A point of the first outline's bottom edge on the bare root, outside the window before and after.
    const POINT onFirstOutline{before.left + steps[0].x + 5, before.bottom + steps[0].y - 1};
    ASSERT_EQ(testing::ScreenPixel(onFirstOutline.x, onFirstOutline.y), testing::kRootColour);
    for (POINT s : steps) {
        PointerTo({press.x + s.x, press.y + s.y});
        // The inverting pen shows the outline over the black root in white, and takes it away again.
        const COLORREF expected = s.x == steps[0].x ? RGB(255, 255, 255) : testing::kRootColour;
        EXPECT_EQ(testing::ScreenPixel(onFirstOutline.x, onFirstOutline.y), expected) << s.x;
    }
    EXPECT_TRUE(rig.Provider->OutlineDragging());
    EXPECT_EQ(counter.Changes, 0) << "the window moved during the drag";
    const RECT during = rig.WindowRect();
    EXPECT_TRUE(EqualRect(&before, &during));
    PointerButton(false);
    testing::PumpWhileNot([&] { return !rig.Provider->OutlineDragging(); });
    EXPECT_FALSE(rig.Provider->OutlineDragging());
    EXPECT_EQ(counter.Changes, 1);
    const RECT after = rig.WindowRect();
    EXPECT_EQ(after.left, before.left + steps.back().x);
    EXPECT_EQ(after.top, before.top + steps.back().y);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST(FormGeometry, AnOutlineDragThatLosesTheMouseIsErasedAndMovesNothing) {
    TPlaceCounter counter;
    TFormSetup setup;
    setup.BeforeProvider = [&counter](TForm* form) { counter.Hook(form); };
    TSkinnedFormRig rig(setup);
    rig.Provider->SetResizeMode(TResizeMode::rmBorder);
    rig.Show();
    const RECT before = rig.WindowRect();
    const TFrameMetrics m = TFrameMetrics::Of(setup.BorderStyle);
    const POINT press = rig.Screen(m.FrameX + 60, m.FrameY + m.Caption / 2);
    PointerTo(press);
    counter.Changes = 0;
    PointerButton(true);
    PointerTo({press.x + 20, press.y + 30});
    ASSERT_TRUE(rig.Provider->OutlineDragging());
    const POINT onOutline{before.left + 25, before.bottom + 30 - 1};   // its bottom edge, on the bare root
    EXPECT_EQ(testing::ScreenPixel(onOutline.x, onOutline.y), RGB(255, 255, 255));
    ReleaseCapture();
    testing::PumpWhileNot([&] {
        return !rig.Provider->OutlineDragging() && testing::ScreenPixel(onOutline.x, onOutline.y) == testing::kRootColour;
    });
    EXPECT_FALSE(rig.Provider->OutlineDragging());
    EXPECT_EQ(testing::ScreenPixel(onOutline.x, onOutline.y), testing::kRootColour);
    PointerTo({press.x + 40, press.y + 50});
    PointerButton(false);
    EXPECT_EQ(counter.Changes, 0);
    const RECT after = rig.WindowRect();
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(FormGeometry, OutlineSizingFollowsTheEdgeAndStopsAtTheMinimum) {
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsSizeable;
    const TFrameMetrics m = TFrameMetrics::Of(setup.BorderStyle);
    const int minW = 260, minH = 140;
    ASSERT_GT(minW, GetSystemMetrics(SM_CXMINTRACK));
    ASSERT_GT(minH, GetSystemMetrics(SM_CYMINTRACK));
    for (const auto& [edge, code, grow, shrinkBeyond] :
         std::vector<std::tuple<const char*, int, POINT, POINT>>{
             {"right", HTRIGHT, {30, 0}, {-200, 0}},
             {"bottom", HTBOTTOM, {0, 25}, {0, -200}},
             {"bottom-right", HTBOTTOMRIGHT, {20, 15}, {-200, -200}},
             {"left", HTLEFT, {-30, 0}, {200, 0}},
             {"top", HTTOP, {0, -20}, {0, 200}}}) {
        SCOPED_TRACE(edge);
        TPlaceCounter counter;
        setup.BeforeProvider = [&counter](TForm* form) { counter.Hook(form); };
        TSkinnedFormRig rig(setup);
        rig.Form->Constraints().SetMinWidth(minW);
        rig.Form->Constraints().SetMinHeight(minH);
        rig.Provider->SetResizeMode(TResizeMode::rmBorder);
        rig.Show();
        const RECT before = rig.WindowRect();
        const int w = before.right - before.left, h = before.bottom - before.top;
        const int half = m.FrameX / 2;
        POINT local{w / 2, h / 2};
        if (code == HTRIGHT || code == HTBOTTOMRIGHT) local.x = w - 1 - half;
        if (code == HTLEFT) local.x = half;
        if (code == HTBOTTOM || code == HTBOTTOMRIGHT) local.y = h - 1 - half;
        if (code == HTTOP) local.y = half;
        ASSERT_EQ(rig.HitTest(local.x, local.y), code);
        const POINT press = rig.Screen(local.x, local.y);

        // Grow by the first drag: one change, at the release.
        PointerTo(press);
        counter.Changes = 0;
        PointerButton(true);
        PointerTo({press.x + 1, press.y + 1});   // the first move sets where the edges follow from
        const POINT anchor{press.x + 1, press.y + 1};
        PointerTo({anchor.x + grow.x / 2, anchor.y + grow.y / 2});
        PointerTo({anchor.x + grow.x, anchor.y + grow.y});
        EXPECT_EQ(counter.Changes, 0);
        PointerButton(false);
        EXPECT_EQ(counter.Changes, 1);
        RECT expected = before;
        if (code == HTLEFT) expected.left += grow.x;
        if (code == HTTOP) expected.top += grow.y;
        if (code == HTRIGHT || code == HTBOTTOMRIGHT) expected.right += grow.x;
        if (code == HTBOTTOM || code == HTBOTTOMRIGHT) expected.bottom += grow.y;
        RECT r = rig.WindowRect();
        EXPECT_EQ(r.left, expected.left);
        EXPECT_EQ(r.top, expected.top);
        EXPECT_EQ(r.right, expected.right);
        EXPECT_EQ(r.bottom, expected.bottom);

        // Shrink far beyond the minimum: the outline stops there, the moving edge's opposite stays.
        const POINT press2{press.x + (code == HTLEFT ? grow.x : 0) + (code == HTRIGHT || code == HTBOTTOMRIGHT ? grow.x : 0),
                           press.y + (code == HTTOP ? grow.y : 0) + (code == HTBOTTOM || code == HTBOTTOMRIGHT ? grow.y : 0)};
        const RECT grown = rig.WindowRect();
        PointerTo(press2);
        PointerButton(true);
        PointerTo({press2.x + 1, press2.y + 1});
        PointerTo({press2.x + 1 + shrinkBeyond.x, press2.y + 1 + shrinkBeyond.y});
        PointerButton(false);
        r = rig.WindowRect();
        const bool horizontal = shrinkBeyond.x != 0, vertical = shrinkBeyond.y != 0;
        EXPECT_EQ(r.right - r.left, horizontal ? minW : grown.right - grown.left);
        EXPECT_EQ(r.bottom - r.top, vertical ? minH : grown.bottom - grown.top);
        EXPECT_EQ(code == HTLEFT ? r.right : r.left, code == HTLEFT ? grown.right : grown.left);
        EXPECT_EQ(code == HTTOP ? r.bottom : r.top, code == HTTOP ? grown.bottom : grown.top);
    }
}

TEST(FormGeometry, OutlineSizingStopsAtTheConstraintOrWithoutOneAtTheSystemsSmallestTrackingSize) {
    const int trackW = GetSystemMetrics(SM_CXMINTRACK), trackH = GetSystemMetrics(SM_CYMINTRACK);
    ASSERT_GT(trackW, 40);
    ASSERT_GT(trackH, 20);
    struct TCase {
        const char* What;
        int MinWidth, MinHeight;       // the form's constraints (0: none)
        int ExpectedW, ExpectedH;
    };
    const TCase cases[] = {
        {"no constraint", 0, 0, trackW, trackH},
        {"constraints below the system's size", trackW - 30, trackH - 10, trackW - 30, trackH - 10},
        {"a width constraint only", trackW - 30, 0, trackW - 30, trackH},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TFormSetup setup;
        setup.BorderStyle = TFormBorderStyle::bsSizeable;
        TSkinnedFormRig rig(setup);
        rig.Form->Constraints().SetMinWidth(c.MinWidth);
        rig.Form->Constraints().SetMinHeight(c.MinHeight);
        rig.Provider->SetResizeMode(TResizeMode::rmBorder);
        rig.Show();
        const RECT before = rig.WindowRect();
        const int w = before.right - before.left, h = before.bottom - before.top;
        const int half = TFrameMetrics::Of(setup.BorderStyle).FrameX / 2;
        ASSERT_EQ(rig.HitTest(w - 1 - half, h - 1 - half), HTBOTTOMRIGHT);
        const POINT press = rig.Screen(w - 1 - half, h - 1 - half);
        PointerTo(press);
        PointerButton(true);
        PointerTo({press.x - 1, press.y - 1});
        PointerTo({press.x - 1 - w, press.y - 1 - h});   // past the left and top edges
        PointerButton(false);
        const RECT r = rig.WindowRect();
        EXPECT_EQ(r.left, before.left);
        EXPECT_EQ(r.top, before.top);
        EXPECT_EQ(r.right - r.left, c.ExpectedW);
        EXPECT_EQ(r.bottom - r.top, c.ExpectedH);
    }
}

}  // namespace
}  // namespace korvel

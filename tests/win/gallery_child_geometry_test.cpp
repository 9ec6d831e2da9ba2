// The gallery's Sizeable window, an MDI child with outline moving and sizing and
// screen snapping, dragged with the real pointer: the inverted outline shows
// where the window will go, on the screen over the frame, the window goes there
// once, at the release, in the coordinates of the MDI client it lives in, and it
// snaps to the screen's edges, not to where the client's coordinates put them.
#include "gallery/gallery_frame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "forms/skin_provider.h"
#include "gui/application.h"
#include "form_test_support.h"
#include "gui_input_support.h"

using namespace korvel;
using korvel::testing::ScreenPixel;
using korvel::testing::PointerTo;
using korvel::testing::TPlaceCounter;

namespace {

void PointerButton(bool down) {
    korvel::testing::SendMouseButton(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// The inverting pen turns a pixel into its complement.
COLORREF Inverted(COLORREF c) { return ~c & 0x00FFFFFF; }

class GalleryChildGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new TGalleryFrame(nullptr);
        Application().SetMainForm(frame);
        frame->Show();
        korvel::testing::BringToFront(frame->Handle());
        dynamic_cast<TMenuItem&>(*frame->FindComponent("mnuNewSizeable")).Click();
        korvel::testing::PumpWhileNot([&] { return frame->ActiveMDIChild() != nullptr; });
        child = dynamic_cast<TGalleryChild*>(frame->ActiveMDIChild());
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(child->Kind(), TGalleryChildKind::Sizeable);
        provider = FindSkinProvider(child);
        ASSERT_NE(provider, nullptr);
        ASSERT_EQ(provider->ResizeMode(), TResizeMode::rmBorder);
        counter.Hook(child);
    }
    void TearDown() override {
        if (child) child->UnhookWindowProc(&counter);
        korvel::testing::MovePointer({2, 2});
        while (frame->MDIChildCount() > 0) delete frame->MDIChildren(0);
        Application().SetMainForm(nullptr);
        delete frame;
        Application().ProcessMessages();
    }
    // The screen position of the MDI client's client area: where child positions count from.
    POINT ClientOrigin() const {
        POINT origin{0, 0};
        ClientToScreen(frame->ClientHandle(), &origin);
        return origin;
    }
    LRESULT HitTest(POINT screen) const { return SendMessageW(child->Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)); }

    TGalleryFrame* frame = nullptr;
    TGalleryChild* child = nullptr;
    TsSkinProvider* provider = nullptr;
    TPlaceCounter counter;
};

TEST_F(GalleryChildGeometry, AnOutlineMoveShowsOverTheFrameAndMovesTheChildOnceInClientCoordinates) {
    const RECT before = WindowRectOf(child->Handle());
    const POINT origin = ClientOrigin();
    ASSERT_EQ(before.left - origin.x, child->Left());
    ASSERT_EQ(before.top - origin.y, child->Top());
    const int w = before.right - before.left, h = before.bottom - before.top;
    const POINT press{before.left + w / 2, before.top + provider->FrameHeight() + provider->CaptionHeight() / 2};
    ASSERT_EQ(HitTest(press), HTCAPTION);
    // Up and to the left, so the outline's left edge runs over the frame's MDI area. For
    // each step a point of that outline's left edge, left of the window, and the screen
    // there before the drag (the window does not move until the release).
    const std::vector<POINT> steps{{-25, -15}, {-40, -35}, {-60, -50}};
    std::vector<POINT> onOutline;
    std::vector<COLORREF> under;
    for (POINT s : steps) {
        onOutline.push_back({before.left + s.x, before.top + s.y + h * 3 / 4});
        under.push_back(ScreenPixel(onOutline.back().x, onOutline.back().y));
    }
    PointerTo(press);
    counter.Changes = 0;
    PointerButton(true);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        PointerTo({press.x + steps[i].x, press.y + steps[i].y});
        for (std::size_t j = 0; j < steps.size(); ++j) {
            // Only the outline of the pointer's place is drawn; the earlier ones were taken away.
            const COLORREF expected = i == j ? Inverted(under[j]) : under[j];
            EXPECT_EQ(ScreenPixel(onOutline[j].x, onOutline[j].y), expected) << "step " << i << ", outline " << j;
        }
    }
    EXPECT_TRUE(provider->OutlineDragging());
    EXPECT_EQ(counter.Changes, 0) << "the window moved during the drag";
    const RECT during = WindowRectOf(child->Handle());
    EXPECT_TRUE(EqualRect(&before, &during));
    PointerButton(false);
    EXPECT_FALSE(provider->OutlineDragging());
    EXPECT_EQ(counter.Changes, 1);
    const RECT after = WindowRectOf(child->Handle());
    EXPECT_EQ(after.left, before.left + steps.back().x);
    EXPECT_EQ(after.top, before.top + steps.back().y);
    EXPECT_EQ(after.right - after.left, w);
    EXPECT_EQ(after.bottom - after.top, h);
    EXPECT_EQ(child->Left(), after.left - origin.x);
    EXPECT_EQ(child->Top(), after.top - origin.y);
}

TEST_F(GalleryChildGeometry, OutlineSizingFollowsTheEdgesAndStopsAtTheChildsMinimum) {
    const int minW = child->Constraints().MinWidth(), minH = child->Constraints().MinHeight();
    ASSERT_EQ(minW, 240);
    ASSERT_EQ(minH, 160);
    const POINT origin = ClientOrigin();
    RECT before = WindowRectOf(child->Handle());
    const int half = provider->FrameWidth() / 2;
    // The left border's middle: the left edge follows the pointer, the right one stays.
    const POINT press{before.left + half, (before.top + before.bottom) / 2};
    ASSERT_EQ(HitTest(press), HTLEFT);
    const int grow = 45;
    // The outline's left edge, left of the window, over the frame's MDI area: the screen there before the drag.
    const POINT onLeft{before.left - grow, before.top + 12};
    const COLORREF under = ScreenPixel(onLeft.x, onLeft.y);
    PointerTo(press);
    counter.Changes = 0;
    PointerButton(true);
    PointerTo({press.x + 1, press.y + 1});   // the first move sets where the edges follow from
    const POINT anchor{press.x + 1, press.y + 1};
    PointerTo({anchor.x - grow / 2, anchor.y});
    EXPECT_EQ(ScreenPixel(onLeft.x, onLeft.y), under) << "the outline has not reached it yet";
    PointerTo({anchor.x - grow, anchor.y + 7});
    EXPECT_TRUE(provider->OutlineDragging());
    EXPECT_EQ(ScreenPixel(onLeft.x, onLeft.y), Inverted(under)) << "the outline's left edge";
    EXPECT_EQ(counter.Changes, 0);
    PointerButton(false);
    EXPECT_EQ(counter.Changes, 1);
    RECT r = WindowRectOf(child->Handle());
    EXPECT_EQ(r.left, before.left - grow);
    EXPECT_EQ(r.top, before.top);
    EXPECT_EQ(r.right, before.right);
    EXPECT_EQ(r.bottom, before.bottom);
    EXPECT_EQ(child->Left(), r.left - origin.x);
    EXPECT_EQ(child->Width(), r.right - r.left);

    // The top-left corner far down and right: the outline and the window stop at the
    // minimum, the right and bottom edges stay where they were.
    before = r;
    const POINT corner{before.left + half, before.top + half};
    ASSERT_EQ(HitTest(corner), HTTOPLEFT);
    PointerTo(corner);
    PointerButton(true);
    PointerTo({corner.x + 1, corner.y + 1});
    PointerTo({corner.x + 1 + 400, corner.y + 1 + 300});
    EXPECT_TRUE(provider->OutlineDragging());
    PointerButton(false);
    r = WindowRectOf(child->Handle());
    EXPECT_EQ(r.right, before.right);
    EXPECT_EQ(r.bottom, before.bottom);
    EXPECT_EQ(r.right - r.left, minW);
    EXPECT_EQ(r.bottom - r.top, minH);
    EXPECT_EQ(child->Left(), r.left - origin.x);
    EXPECT_EQ(child->Top(), r.top - origin.y);
}

TEST_F(GalleryChildGeometry, TheChildSnapsToTheScreensEdgesSeenOnTheScreen) {
    ASSERT_TRUE(provider->ScreenSnap());
    const int buffer = provider->SnapBuffer();
    const RECT work = WorkArea();
    const POINT origin = ClientOrigin();
    ASSERT_GT(origin.x - work.left, buffer) << "the client's corner lies clear of the screen's";
    ASSERT_GT(origin.y - work.top, buffer);
    const int w = child->Width(), h = child->Height();
    const int midX = origin.x + 60, midY = origin.y + 90;
    // The child's edges when it lies flush with the work area's edges.
    const int flushLeft = work.left, flushTop = work.top, flushRight = work.right - w, flushBottom = work.bottom - h;
    struct TCase {
        const char* Edge;
        int X, Y;                   // where the child is asked to go, on the screen
        int ExpectedX, ExpectedY;   // where it ends up
    };
    const TCase cases[] = {
        {"left, inside the buffer", flushLeft + buffer - 1, midY, flushLeft, midY},
        {"left, at the buffer", flushLeft + buffer, midY, flushLeft + buffer, midY},
        {"top, inside the buffer", midX, flushTop + buffer - 3, midX, flushTop},
        {"top, at the buffer", midX, flushTop + buffer, midX, flushTop + buffer},
        {"right, inside the buffer", flushRight - 5, midY, flushRight, midY},
        {"right, at the buffer", flushRight - buffer, midY, flushRight - buffer, midY},
        {"bottom, inside the buffer", midX, flushBottom + 4, midX, flushBottom},
        {"bottom, at the buffer", midX, flushBottom + buffer, midX, flushBottom + buffer},
        // Near the client's corner, far from the screen's: the child stays where it was put.
        {"the client's left edge", origin.x + 5, midY, origin.x + 5, midY},
        {"the client's top edge", midX, origin.y + 3, midX, origin.y + 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Edge) + " " + std::to_string(c.X) + "," + std::to_string(c.Y));
        SetWindowPos(child->Handle(), nullptr, c.X - origin.x, c.Y - origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Application().ProcessMessages();
        const POINT expected{c.ExpectedX, c.ExpectedY};
        const RECT r = WindowRectOf(child->Handle());
        EXPECT_EQ(r.left, expected.x);
        EXPECT_EQ(r.top, expected.y);
        EXPECT_EQ(child->Left(), expected.x - origin.x);
        EXPECT_EQ(child->Top(), expected.y - origin.y);
        EXPECT_EQ(r.right - r.left, w);
    }

    // An outline move that ends 4 pixels from the screen's left edge: the child lands on it.
    SetWindowPos(child->Handle(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Application().ProcessMessages();
    const RECT before = WindowRectOf(child->Handle());
    const POINT press{before.left + w / 2, before.top + provider->FrameHeight() + provider->CaptionHeight() / 2};
    ASSERT_EQ(HitTest(press), HTCAPTION);
    const int dx = work.left + 4 - before.left;
    PointerTo(press);
    PointerButton(true);
    PointerTo({press.x + dx / 2, press.y});
    PointerTo({press.x + dx, press.y + 10});
    PointerButton(false);
    const RECT after = WindowRectOf(child->Handle());
    EXPECT_EQ(after.left, work.left);
    EXPECT_EQ(after.top, before.top + 10);
    EXPECT_EQ(child->Left(), work.left - origin.x);
}

}  // namespace

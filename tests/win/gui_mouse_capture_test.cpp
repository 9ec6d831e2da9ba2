// A press on a windowless control holds the mouse until its release, or until
// someone takes the mouse away (capture changed, WM_CANCELMODE): then the
// control hears CM_CANCELMODE, the release is no click, and the pointer is
// tracked again. The second press of a double-click is held the same way.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui_input_support.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::MovePointer;

const int kHookOwner = 0;

void Button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

class MouseCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(200, 180, 320, 200);
        label = testing::AddControl<TLabel>(form, 20, 20, 100, 30);
        label->SetAutoSize(false);
        label->OnClick = [this](TObject*) { ++clicks; };
        label->HookWindowProc(&kHookOwner, [this](TMessage& m, const TWndNext& next) {
            if (m.Msg == CM_CANCELMODE) log.push_back("cancel");
            if (m.Msg == WM_LBUTTONDBLCLK) log.push_back("double");
            if (m.Msg == WM_LBUTTONDOWN) log.push_back("down");
            if (m.Msg == WM_LBUTTONUP) log.push_back("up");
            next(m);
        });
        edit = testing::AddControl<TEdit>(form, 20, 100, 120, 24);
        other = new TForm(nullptr);
        other->SetBorderStyle(TFormBorderStyle::bsNone);
        other->SetBounds(600, 180, 100, 100);
        form->Show();
        other->Show();
        MovePointer({5, 5});
    }
    void TearDown() override {
        Button(MOUSEEVENTF_LEFTUP);
        ReleaseCapture();
        MovePointer({5, 5});
        delete other;
        delete form;
        Application().ProcessMessages();
    }
    POINT On(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

    TForm* form = nullptr;
    TForm* other = nullptr;
    TLabel* label = nullptr;
    TEdit* edit = nullptr;
    int clicks = 0;
    std::vector<std::string> log;
};

TEST_F(MouseCaptureTest, APressThatLosesTheMouseIsCancelledAndClicksNothing) {
    struct {
        const char* how;
        std::function<void()> take;
    } const ways[] = {
        {"ReleaseCapture", [] { ReleaseCapture(); }},
        {"WM_CANCELMODE", [this] { SendMessageW(form->Handle(), WM_CANCELMODE, 0, 0); }},
        {"another window captures", [this] { SetCapture(other->Handle()); }},
    };
    for (const auto& way : ways) {
        clicks = 0;
        MovePointer(On(label));
        Button(MOUSEEVENTF_LEFTDOWN);
        ASSERT_EQ(GetCapture(), form->Handle()) << way.how;
        log.clear();
        way.take();
        Application().ProcessMessages();
        EXPECT_EQ(log, std::vector<std::string>{"cancel"}) << way.how;
        ReleaseCapture();   // the other window lets go too
        MovePointer(On(edit));
        EXPECT_EQ(TControl::MouseControl(), edit) << way.how << ": the pointer is tracked again";
        MovePointer(On(label));
        EXPECT_EQ(TControl::MouseControl(), label) << way.how;
        Button(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(clicks, 0) << way.how << ": a cancelled press is no click";
        // A whole press and release still clicks (after the double-click time, so
        // the press is a first one however fast the lines above ran).
        testing::PassDoubleClickTime();
        Button(MOUSEEVENTF_LEFTDOWN);
        Button(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(clicks, 1) << way.how;
        testing::PassDoubleClickTime();   // the next press starts no double-click
    }
}

TEST_F(MouseCaptureTest, TheSecondPressOfADoubleClickReachesTheControlAndHoldsTheMouse) {
    struct {
        const char* control;
        bool doubleClicks;
        std::vector<std::string> messages;
        int clicks;
    } const cases[] = {
        // A double-click is a click and a double press; without csDoubleClicks it is two clicks.
        {"wants double-clicks", true, {"down", "up", "double", "up"}, 1},
        {"takes no double-clicks", false, {"down", "up", "down", "up"}, 2},
    };
    for (const auto& c : cases) {
        TControlStyle style = label->ControlStyle();
        label->SetControlStyle(c.doubleClicks ? style | csDoubleClicks : style & ~csDoubleClicks);
        clicks = 0;
        MovePointer(On(label));
        log.clear();
        Button(MOUSEEVENTF_LEFTDOWN);
        Button(MOUSEEVENTF_LEFTUP);
        Button(MOUSEEVENTF_LEFTDOWN);
        EXPECT_EQ(GetCapture(), form->Handle()) << c.control << ": the second press holds the mouse";
        Button(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(GetCapture(), nullptr) << c.control;
        EXPECT_EQ(log, c.messages) << c.control;
        EXPECT_EQ(clicks, c.clicks) << c.control;
        label->SetControlStyle(style);
        testing::PassDoubleClickTime();
    }
}

}  // namespace
}  // namespace korvel

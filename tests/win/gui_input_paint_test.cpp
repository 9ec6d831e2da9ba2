// Real pointer, real pixels: mouse entered/left pairs as the pointer moves,
// windowless children painted into their parent's pixels, clicks routed to
// them, and an exception escaping a click handler.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/shell.h"
#include "gui/std_controls.h"
#include "gui/timer.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

// The owner of the hooks these tests put in window procedure chains.
const int kHookOwner = 0;

using testing::MovePointer;
using testing::Pump;
using testing::ScreenPixel;

constexpr TColor kFormColor = 0x00408060;
constexpr TColor kLabelColor = 0x000000FF;

class InputPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(200, 200, 400, 300);
        form->SetColor(kFormColor);
        button = Add<TButton>(20, 20, 100, 30);
        button->SetCaption("Button");
        label = Add<TLabel>(20, 80, 100, 30);
        label->SetAutoSize(false);
        label->SetColor(kLabelColor);
        label->SetCaption("");
        edit = Add<TEdit>(20, 140, 120, 24);
        image = Add<TImage>(200, 20, 40, 20);
        image->Picture().SetSize(40, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) image->Picture().Pixels().SetPixel(x, y, x < 20 ? 0x00FF0000 : 0x0000FF00);
        image->Picture().OnChange();
        form->Show();
        Application().SetMainForm(form);
        MovePointer({5, 5});
        testing::BringToFront(form->Handle());
    }
    void TearDown() override {
        MovePointer({5, 5});
        delete form;
        Application().ProcessMessages();
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        return testing::AddControl<T>(form, left, top, width, height);
    }
    POINT Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
    POINT Corner(TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }

    TForm* form = nullptr;
    TButton* button = nullptr;
    TLabel* label = nullptr;
    TEdit* edit = nullptr;
    TImage* image = nullptr;
};

TEST_F(InputPaintTest, MouseEnteredAndLeftFollowTheRealPointer) {
    std::vector<std::string> log;
    for (TControl* c : std::vector<TControl*>{button, label, edit}) {
        std::string name = c->ClassName();
        c->HookWindowProc(&kHookOwner, [&log, name](TMessage& m, const TWndNext& next) {
            if (m.Msg == CM_MOUSEENTER) log.push_back(name + " entered");
            if (m.Msg == CM_MOUSELEAVE) log.push_back(name + " left");
            next(m);
        });
    }
    MovePointer(Center(button));
    MovePointer(Center(label));
    MovePointer(Center(edit));
    MovePointer({5, 5});
    // Leaving every window of ours is noticed by Win32's leave tracking, which polls.
    testing::PumpWhileNot([&] { return log.size() >= 6; });
    EXPECT_EQ(log, (std::vector<std::string>{"TButton entered", "TButton left", "TLabel entered", "TLabel left",
                                             "TEdit entered", "TEdit left"}));
    EXPECT_EQ(TControl::MouseControl(), nullptr);
    for (TControl* c : std::vector<TControl*>{button, label, edit}) c->UnhookWindowProc(&kHookOwner);
}

TEST_F(InputPaintTest, WindowlessChildrenArePaintedIntoTheParentsPixels) {
    form->Repaint();
    Application().ProcessMessages();
    EXPECT_EQ(ScreenPixel(Corner(label, 2, 2).x, Corner(label, 2, 2).y), kLabelColor);
    POINT outside = form->ClientToScreen({10, 75});
    EXPECT_EQ(ScreenPixel(outside.x, outside.y), kFormColor);
    EXPECT_EQ(ScreenPixel(Corner(image, 5, 5).x, Corner(image, 5, 5).y), 0x00FF0000u);
    EXPECT_EQ(ScreenPixel(Corner(image, 35, 15).x, Corner(image, 35, 15).y), 0x0000FF00u);

    label->SetTransparent(true);   // the form shows through
    label->Update();
    Application().ProcessMessages();
    EXPECT_EQ(ScreenPixel(Corner(label, 2, 2).x, Corner(label, 2, 2).y), kFormColor);
    label->SetTransparent(false);
    label->SetVisible(false);
    label->Update();
    Application().ProcessMessages();
    EXPECT_EQ(ScreenPixel(Corner(label, 2, 2).x, Corner(label, 2, 2).y), kFormColor);
}

TEST_F(InputPaintTest, ClicksReachTheControlUnderThePointer) {
    int labelClicks = 0, buttonClicks = 0;
    label->OnClick = [&](TObject*) { ++labelClicks; };
    button->OnClick = [&](TObject*) { ++buttonClicks; };
    testing::ClickPointer(Center(label));
    testing::ClickPointer(Center(button));
    testing::ClickPointer(form->ClientToScreen({300, 250}));   // empty form area
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(buttonClicks, 1);
}

TEST_F(InputPaintTest, ExceptionInAClickHandlerIsShownAndTheWindowKeepsWorking) {
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        if (clicks == 1) throw EInOutError(3);
    };
    {
        testing::TMessageBoxAnswerer answer;
        testing::ClickPointer(Center(button));
        ASSERT_TRUE(answer.WaitAnswered(5000));
        EXPECT_EQ(answer.Text(), "Invalid filename");
        EXPECT_EQ(answer.Owner(), form->Handle());
        EXPECT_EQ(answer.Caption(), Application().Title());
    }
    Application().ProcessMessages();
    testing::ClickPointer(Center(button));
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    edit->SetText("still here");
    EXPECT_EQ(edit->Text(), "still here");
}

TEST_F(InputPaintTest, TimerTicksThroughTheMessageLoopUntilDisabled) {
    auto* timer = new TTimer(form);
    int ticks = 0;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TObject*) {   // enabled by default: the handler starts it
        if (++ticks == 3) timer->SetEnabled(false);
    });
    testing::PumpUntil([&] { return ticks >= 3; }, "three timer ticks", 3000);
    Pump(testing::NothingHappensMillis);   // no tick after the timer was switched off
    EXPECT_EQ(ticks, 3);
}

TEST_F(InputPaintTest, ShellOpenStartsAProgramWithTheParameterLineAsGiven) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::string marker = Narrow(dir) + "korvel_gui_shell.txt";
    DeleteFileW(Widen(marker).c_str());
    // cmd writes its own command line out, which shows how the line arrived.
    INT_PTR result = ShellOpen(form->Handle(), "open", "cmd.exe", "/c echo a  b> \"" + marker + "\"");
    EXPECT_GT(result, 32);
    std::string content;
    for (int i = 0; i < 100 && content.empty(); ++i) {
        Pump(50);
        HANDLE f = CreateFileW(Widen(marker).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) continue;
        char buffer[64];
        DWORD got = 0;
        ReadFile(f, buffer, sizeof(buffer), &got, nullptr);
        CloseHandle(f);
        content.assign(buffer, got);
    }
    EXPECT_EQ(content.substr(0, 4), "a  b");
    testing::TMessageBoxAnswerer anyShellMessage;   // the shell may explain the failure in a box
    EXPECT_LE(ShellOpen(form->Handle(), "open", "c:\\korvel\\no_such_tool.exe", "x"), 32);
    DeleteFileW(Widen(marker).c_str());
}

}  // namespace
}  // namespace korvel

// Handlers reached from the message loop rather than from a window procedure
// (keys the loop gives a form, timers, enumeration callbacks): an exception
// goes to the application's handler and the program goes on; a form released
// inside such a handler, even one running a nested message loop, is freed only
// after the handler has returned.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui/timer.h"
#include "gui_input_support.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::PressChord;

// Tells when the form that owns it is freed.
class TFreeProbe : public TComponent {
public:
    TFreeProbe(TComponent* owner, bool& freed) : TComponent(owner), freed_(freed) {}
    ~TFreeProbe() override { freed_ = true; }

private:
    bool& freed_;
};

class HandlerEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [this](const std::exception& e) { reports.push_back(e.what()); };
        form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsSingle);
        form->SetBounds(160, 140, 360, 200);
        edit = testing::AddControl<TEdit>(form, 10, 10, 150, 21);
        save = testing::AddControl<TButton>(form, 200, 10, 120, 25);
        save->SetCaption("&Rootgen");
        save->SetDefault(true);
        cancel = testing::AddControl<TButton>(form, 200, 50, 120, 25);
        cancel->SetCaption("Cancel");
        cancel->SetCancel(true);
        form->Show();
        testing::BringToFront(form->Handle());
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
        Application().OnException = nullptr;
    }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TButton* save = nullptr;
    TButton* cancel = nullptr;
    std::vector<std::string> reports;
};

TEST_F(HandlerEntryTest, AnExceptionFromAKeyboardClickIsReportedAndTheProgramGoesOn) {
    struct {
        const char* path;
        std::function<void()> press;
        TButton* button;
        TWinControl* focus;
    } const paths[] = {
        {"Enter on the default button", [] { PressChord(VK_RETURN); }, save, edit},
        {"Escape on the cancel button", [] { PressChord(VK_ESCAPE); }, cancel, edit},
        {"Alt and the accelerator", [] { PressChord('R', {VK_MENU}); }, save, edit},
        {"Enter on the focused button", [] { PressChord(VK_RETURN); }, cancel, cancel},
        {"Space on the focused button", [] { PressChord(VK_SPACE); }, save, save},
    };
    for (const auto& path : paths) {
        TButton* button = path.button;
        button->OnClick = [](TObject*) { throw EFOpenError("c:\\no such folder\\site.cfg", ERROR_PATH_NOT_FOUND); };
        path.focus->SetFocus();
        Application().ProcessMessages();
        reports.clear();
        path.press();
        ASSERT_EQ(reports.size(), 1u) << path.path;
        EXPECT_NE(reports[0].find("site.cfg"), std::string::npos) << path.path << ": " << reports[0];
        button->OnClick = nullptr;
        // Still running: the form takes typing as before.
        edit->SetText("");
        edit->SetFocus();
        testing::TypeText(L"ok");
        EXPECT_EQ(edit->Text(), "ok") << path.path;
    }
}

TEST_F(HandlerEntryTest, AnExceptionFromATimerOrAnEnumerationCallbackIsReported) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(30);
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        throw Exception("tick " + std::to_string(ticks));
    });
    testing::PumpWhileNot([&] { return ticks >= 2; }, 2000);
    timer.SetEnabled(false);
    ASSERT_GE(reports.size(), 2u);   // the timer kept running after the first failure
    EXPECT_EQ(reports[0], "tick 1");
    EXPECT_EQ(reports[1], "tick 2");

    reports.clear();
    struct TWalk {
        int visited = 0;
    } walk;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND, LPARAM data) -> BOOL {
        auto* w = reinterpret_cast<TWalk*>(data);
        GuardedEntry([w] {
            if (++w->visited == 1) throw Exception("first window");
        });
        return TRUE;   // the walk goes on after a failing callback
    }, reinterpret_cast<LPARAM>(&walk));
    EXPECT_EQ(reports, std::vector<std::string>{"first window"});
    EXPECT_GE(walk.visited, 2);
}

TEST_F(HandlerEntryTest, AFormReleasedInAKeyboardOrTimerHandlerOutlivesTheHandler) {
    for (bool viaTimer : {false, true}) {
        const char* path = viaTimer ? "a timer" : "Enter on the default button";
        bool dialogFreed = false;
        auto* dialog = new TForm(nullptr);
        dialog->SetBounds(220, 200, 300, 150);
        new TFreeProbe(dialog, dialogFreed);
        auto* field = testing::AddControl<TEdit>(dialog, 10, 10, 150, 21);
        auto* ok = testing::AddControl<TButton>(dialog, 180, 10, 90, 25);
        ok->SetDefault(true);
        dialog->Show();
        testing::BringToFront(dialog->Handle());
        bool handled = false, freedInside = true;
        auto handler = [&] {
            handled = true;
            dialog->Release();
            Application().ProcessMessages();   // a nested message loop: the release message arrives in it
            freedInside = dialogFreed;
            if (!dialogFreed) dialog->SetCaption("still here");   // the handler goes on using its form
        };
        TTimer timer(nullptr);
        if (viaTimer) {
            timer.SetInterval(20);
            timer.SetOnTimer([&](TObject*) {
                timer.SetEnabled(false);
                handler();
            });
            testing::PumpWhileNot([&] { return handled; }, 2000);
        } else {
            ok->OnClick = [&](TObject*) { handler(); };
            field->SetFocus();
            Application().ProcessMessages();
            PressChord(VK_RETURN);
        }
        ASSERT_TRUE(handled) << path;
        EXPECT_FALSE(freedInside) << path << ": freed while its handler ran";
        Application().ProcessMessages();
        EXPECT_TRUE(dialogFreed) << path << ": a released form goes once the handler has returned";
        EXPECT_TRUE(reports.empty()) << path << ": " << (reports.empty() ? "" : reports[0]);
        if (!dialogFreed) delete dialog;
    }
}

}  // namespace
}  // namespace korvel

// Where the keyboard focus goes when a form is shown and when it is activated
// again, with real clicks and real typing; the activation notifications; and
// a form whose window is recreated at run time (border icons, border style,
// form style) staying shown, where the user put it, at the size the user gave it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::ClickPointer;

const int kHookOwner = 0;

TForm* NewForm(int left, int top, const char* caption) {
    auto* form = new TForm(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBounds(left, top, 300, 200);
    form->SetCaption(caption);
    return form;
}

TEST(FormActivation, FirstShowFocusesTheFirstTabStopOrTheActiveControl) {
    struct {
        const char* name;
        int firstInTabOrder;   // which edit is moved to the front of the tab order (-1: none)
        int active;            // which edit is named ActiveControl before the show (-1: none)
        int skipped;           // an edit that takes no tab stop (-1: none)
        int expected;
    } const cases[] = {
        {"index order", -1, -1, -1, 0},
        {"tab order", 2, -1, -1, 2},
        {"tab stops only", -1, -1, 0, 1},
        {"active control", -1, 1, -1, 1},
        {"active control without tab stop", 2, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TForm* form = NewForm(140, 140, c.name);
        TEdit* edits[3];
        for (int i = 0; i < 3; ++i) edits[i] = testing::AddControl<TEdit>(form, 20, 20 + 30 * i, 120, 21);
        if (c.firstInTabOrder >= 0) edits[c.firstInTabOrder]->SetTabOrder(0);
        if (c.skipped >= 0) edits[c.skipped]->SetTabStop(false);
        if (c.active >= 0) form->SetActiveControl(edits[c.active]);
        form->Show();
        testing::PumpWhileNot([&] { return GetFocus() == edits[c.expected]->Handle(); });
        EXPECT_EQ(GetFocus(), edits[c.expected]->Handle()) << c.name;
        EXPECT_EQ(form->ActiveControl(), edits[c.expected]) << c.name;
        delete form;
        Application().ProcessMessages();
    }
}

TEST(FormActivation, ActiveControlMustBeOnTheForm) {
    TForm* form = NewForm(140, 140, "one");
    TForm* other = NewForm(460, 140, "two");
    auto* foreign = testing::AddControl<TEdit>(other, 10, 10, 100, 21);
    EXPECT_THROW(form->SetActiveControl(foreign), EInvalidOperation);
    EXPECT_THROW(form->SetActiveControl(form), EInvalidOperation);
    auto* own = testing::AddControl<TEdit>(form, 10, 10, 100, 21);
    form->SetActiveControl(own);
    EXPECT_EQ(form->ActiveControl(), own);
    delete own;   // a freed control is forgotten
    EXPECT_EQ(form->ActiveControl(), nullptr);
    delete other;
    delete form;
}

TEST(FormActivation, ReactivationGivesTheFocusBackToTheControlThatHadIt) {
    TForm* first = NewForm(100, 120, "first");
    TForm* second = NewForm(460, 120, "second");
    TEdit* edits[2];
    for (int i = 0; i < 2; ++i) edits[i] = testing::AddControl<TEdit>(first, 20, 20 + 40 * i, 150, 21);
    auto* otherEdit = testing::AddControl<TEdit>(second, 20, 20, 150, 21);
    std::vector<std::string> log;
    first->HookWindowProc(&kHookOwner, [&log](TMessage& m, const TWndNext& next) {
        if (m.Msg == CM_ACTIVATE) log.push_back("activate");
        if (m.Msg == CM_DEACTIVATE) log.push_back("deactivate");
        next(m);
    });
    first->Show();
    second->Show();
    testing::PumpUntil([&] { return GetActiveWindow() == second->Handle(); }, "the second form to become active");
    auto empty = [](TForm* f) { return f->ClientToScreen({f->ClientWidth() - 20, f->ClientHeight() - 20}); };

    ClickPointer(empty(first));
    ClickPointer(edits[1]->ClientToScreen({5, 5}));   // the user puts the caret in the second field
    ASSERT_EQ(GetFocus(), edits[1]->Handle());
    log.clear();
    ClickPointer(empty(second));
    EXPECT_EQ(GetActiveWindow(), second->Handle());
    EXPECT_EQ(GetFocus(), otherEdit->Handle());   // the other form's first field
    EXPECT_EQ(first->ActiveControl(), edits[1]);
    ClickPointer(empty(first));
    EXPECT_EQ(GetActiveWindow(), first->Handle());
    EXPECT_EQ(GetFocus(), edits[1]->Handle());
    testing::TypeText(L"typed");
    EXPECT_EQ(edits[1]->Text(), "typed");
    EXPECT_EQ(edits[0]->Text(), "");
    EXPECT_EQ(log, (std::vector<std::string>{"deactivate", "activate"}));

    first->UnhookWindowProc(&kHookOwner);
    delete second;
    delete first;
    Application().ProcessMessages();
}

TEST(FormActivation, ActivationMovesTheFocusOnlyWhenItIsNotOnTheActiveControl) {
    struct {
        const char* name;
        bool focusOnForm;   // the focus moved to the form's own window before the activation
        std::vector<std::string> expected;   // what the second field hears
    } const cases[] = {
        {"focus on the active control", false, {}},
        {"focus on the form's window", true, {"setfocus"}},
    };
    for (const auto& c : cases) {
        TForm* form = NewForm(140, 140, c.name);
        TEdit* edits[2];
        for (int i = 0; i < 2; ++i) edits[i] = testing::AddControl<TEdit>(form, 20, 20 + 40 * i, 150, 21);
        form->Show();
        testing::PumpUntil([&] { return GetActiveWindow() == form->Handle(); }, "the form to become active");
        edits[1]->SetFocus();
        ASSERT_EQ(GetFocus(), edits[1]->Handle()) << c.name;
        if (c.focusOnForm) SetFocus(form->Handle());
        std::vector<std::string> heard, formLog;
        edits[1]->HookWindowProc(&kHookOwner, [&heard](TMessage& m, const TWndNext& next) {
            if (m.Msg == WM_SETFOCUS) heard.push_back("setfocus");
            if (m.Msg == WM_KILLFOCUS) heard.push_back("killfocus");
            next(m);
        });
        form->HookWindowProc(&kHookOwner, [&formLog](TMessage& m, const TWndNext& next) {
            if (m.Msg == CM_ACTIVATE) formLog.push_back("activate");
            next(m);
        });
        SendMessageW(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        EXPECT_EQ(GetFocus(), edits[1]->Handle()) << c.name;
        EXPECT_EQ(heard, c.expected) << c.name;
        EXPECT_EQ(formLog, std::vector<std::string>{"activate"}) << c.name;
        EXPECT_EQ(form->ActiveControl(), edits[1]) << c.name;
        edits[1]->UnhookWindowProc(&kHookOwner);
        form->UnhookWindowProc(&kHookOwner);
        delete form;
        Application().ProcessMessages();
    }
}

TEST(FormRecreation, AFormWhoseFrameChangesStaysShownWhereAndAsLargeAsTheUserLeftIt) {
    struct {
        const char* change;
        std::function<void(TForm*)> apply;
        bool sameFrame;   // the outer size stays too
        bool recreates;   // border icons change the live window's style bits in place
    } const cases[] = {
        {"border icons", [](TForm* f) { f->SetBorderIcons(biSystemMenu); }, true, false},
        {"border icons, some", [](TForm* f) { f->SetBorderIcons(biSystemMenu | biMinimize); }, true, false},
        {"border style", [](TForm* f) { f->SetBorderStyle(TFormBorderStyle::bsSingle); }, false, true},
        {"form style", [](TForm* f) { f->SetFormStyle(TFormStyle::fsMDIForm); }, true, true},
    };
    for (const auto& c : cases) {
        auto* form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsSizeable);
        form->SetPosition(TPosition::poScreenCenter);
        form->SetClientSize(300, 200);
        auto* edit = testing::AddControl<TEdit>(form, 10, 10, 120, 21);
        auto* other = testing::AddControl<TEdit>(form, 10, 40, 120, 21);
        form->Show();
        Application().ProcessMessages();
        other->SetFocus();
        // The user moves and enlarges the window.
        MoveWindow(form->Handle(), 130, 110, form->Width() + 60, form->Height() + 40, TRUE);
        Application().ProcessMessages();
        RECT window, client;
        GetWindowRect(form->Handle(), &window);
        GetClientRect(form->Handle(), &client);
        HWND before = form->Handle();

        c.apply(form);
        Application().ProcessMessages();
        HWND after = form->Handle();
        EXPECT_EQ(after != before, c.recreates) << c.change << ": whether the window was recreated";
        EXPECT_TRUE(IsWindowVisible(after)) << c.change;
        RECT newWindow, newClient;
        GetWindowRect(after, &newWindow);
        GetClientRect(after, &newClient);
        EXPECT_EQ(newWindow.left, 130) << c.change;
        EXPECT_EQ(newWindow.top, 110) << c.change;
        EXPECT_EQ(newClient.right, client.right) << c.change;
        EXPECT_EQ(newClient.bottom, client.bottom) << c.change;
        if (c.sameFrame) {
            EXPECT_TRUE(EqualRect(&newWindow, &window)) << c.change;
        }
        EXPECT_EQ(GetFocus(), other->Handle()) << c.change << ": the focus is where it was";
        EXPECT_EQ(form->Left(), 130) << c.change;
        (void)edit;
        delete form;
        Application().ProcessMessages();
    }
}

TEST(FormRecreation, AMaximisedFormStaysMaximisedAndRestoresToItsOwnPlace) {
    auto* form = NewForm(150, 130, "maximised");
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    form->Show();
    Application().ProcessMessages();
    RECT normal;
    GetWindowRect(form->Handle(), &normal);
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Application().ProcessMessages();
    ASSERT_TRUE(IsZoomed(form->Handle()));
    form->SetBorderIcons(biSystemMenu | biMaximize);
    Application().ProcessMessages();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsZoomed(form->Handle()));
    ShowWindow(form->Handle(), SW_RESTORE);
    Application().ProcessMessages();
    RECT restored;
    GetWindowRect(form->Handle(), &restored);
    EXPECT_EQ(restored.left, normal.left);
    EXPECT_EQ(restored.top, normal.top);
    delete form;
}

}  // namespace
}  // namespace korvel

// The window procedure slot as a chain of owned hooks: every party removes
// only its own hook in any order, a hook that leaves while it runs still
// passes the message on, a control being destroyed keeps its destruction
// messages to itself, and a window recomputes its frame under a new chain.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui_test_support.h"

namespace korvel {
namespace {


constexpr UINT kProbe = WM_APP + 7;

class WindowProcChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(120, 120, 360, 240);
        form->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
    }
    TForm* form = nullptr;
};

// A party that hooks a control and logs its name for every probe message.
struct TParty {
    std::string name;
    std::vector<std::string>* log;
    void Hook(TControl* control) {
        control->HookWindowProc(this, [this](TMessage& m, const TWndNext& next) {
            if (m.Msg == kProbe) log->push_back(name);
            next(m);
        });
    }
};

// The control's own procedure marks the end of the chain: a button keeps the text WM_SETTEXT gives it.
std::vector<std::string> Walk(TButton* button, std::vector<std::string>& log, int round) {
    log.clear();
    button->Perform(kProbe);
    std::string text = "round " + std::to_string(round);
    SendMessageW(button->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (button->Caption() == text) log.push_back("own");
    return log;
}

TEST_F(WindowProcChainTest, EachPartyRemovesOnlyItsOwnHookInAnyOrder) {
    std::vector<int> order{0, 1, 2};   // every order in which three parties leave
    int round = 0;
    do {
        auto* button = testing::AddControl<TButton>(form, 10, 10, 90, 25);
        std::vector<std::string> log;
        TParty parties[] = {{"A", &log}, {"B", &log}, {"C", &log}};
        for (TParty& p : parties) p.Hook(button);
        std::vector<int> hooked{0, 1, 2};   // in hooking order; the last hooked sees messages first
        auto expected = [&] {
            std::vector<std::string> out;
            for (auto it = hooked.rbegin(); it != hooked.rend(); ++it) out.push_back(parties[*it].name);
            out.push_back("own");
            return out;
        };
        EXPECT_EQ(Walk(button, log, ++round), expected());
        EXPECT_EQ(button->OutermostWindowHook(), &parties[2]);
        for (int leaving : order) {
            EXPECT_TRUE(button->UnhookWindowProc(&parties[leaving]));
            EXPECT_FALSE(button->UnhookWindowProc(&parties[leaving])) << "a second unhook finds nothing";
            hooked.erase(std::find(hooked.begin(), hooked.end(), leaving));
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(button->WindowProcHooked(&parties[i]), std::count(hooked.begin(), hooked.end(), i) == 1);
            EXPECT_EQ(button->OutermostWindowHook(), hooked.empty() ? nullptr : &parties[hooked.back()]);
            EXPECT_EQ(Walk(button, log, ++round), expected())
                << "order " << order[0] << order[1] << order[2] << ", after " << parties[leaving].name << " left";
        }
        delete button;
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(WindowProcChainTest, HooksAreOwnedOncePerControlAndNeedAProcedure) {
    auto* button = testing::AddControl<TButton>(form, 10, 10, 90, 25);
    auto* edit = testing::AddControl<TEdit>(form, 10, 40, 90, 21);
    int owner = 0;
    auto pass = [](TMessage& m, const TWndNext& next) { next(m); };
    button->HookWindowProc(&owner, pass);
    EXPECT_THROW(button->HookWindowProc(&owner, pass), EInvalidOperation);
    edit->HookWindowProc(&owner, pass);   // the same owner on another control is another hook
    EXPECT_THROW(button->HookWindowProc(nullptr, pass), EInvalidOperation);
    EXPECT_THROW(button->HookWindowProc(&edit, nullptr), EInvalidOperation);
    EXPECT_TRUE(edit->UnhookWindowProc(&owner));
    EXPECT_TRUE(button->WindowProcHooked(&owner));
    EXPECT_TRUE(button->UnhookWindowProc(&owner));
}

TEST_F(WindowProcChainTest, AHookThatLeavesWhileRunningStillPassesTheMessageOn) {
    auto* button = testing::AddControl<TButton>(form, 10, 10, 90, 25);
    std::vector<std::string> log;
    TParty inner{"inner", &log}, outer{"outer", &log};
    inner.Hook(button);
    int leaver = 0;
    button->HookWindowProc(&leaver, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == kProbe) {
            log.push_back("leaver");
            button->UnhookWindowProc(&leaver);   // its node stays alive until it returns
        }
        next(m);
    });
    outer.Hook(button);
    EXPECT_EQ(Walk(button, log, 1), (std::vector<std::string>{"outer", "leaver", "inner", "own"}));
    EXPECT_EQ(Walk(button, log, 2), (std::vector<std::string>{"outer", "inner", "own"}));
    button->UnhookWindowProc(&outer);
    button->UnhookWindowProc(&inner);
}

// A button that hooks itself with a procedure reading one of its own members.
class TSelfHookedButton : public TButton {
public:
    TSelfHookedButton(TComponent* owner, std::vector<UINT>& seen) : TButton(owner), seen_(seen) {
        HookWindowProc(this, [this](TMessage& m, const TWndNext& next) {
            seen_.push_back(m.Msg);   // a member of the derived object
            next(m);
        });
    }

private:
    std::vector<UINT>& seen_;
};

TEST_F(WindowProcChainTest, DestructionMessagesNeverReachHooksOfATornDownControl) {
    std::vector<UINT> seen;
    auto* button = new TSelfHookedButton(form, seen);
    button->SetBounds(10, 10, 90, 25);
    button->SetParent(form);
    HWND handle = button->Handle();
    SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
    ASSERT_NE(std::find(seen.begin(), seen.end(), UINT(WM_SETTEXT)), seen.end());
    seen.clear();
    delete button;
    EXPECT_FALSE(IsWindow(handle));
    for (UINT msg : {WM_DESTROY, WM_NCDESTROY, WM_KILLFOCUS})
        EXPECT_EQ(std::find(seen.begin(), seen.end(), msg), seen.end()) << std::hex << msg;
}

TEST_F(WindowProcChainTest, AWindowRecomputesItsFrameWhenHookedAndUnhooked) {
    auto* edit = testing::AddControl<TEdit>(form, 10, 10, 140, 50);
    auto* panel = testing::AddControl<TPanel>(form, 160, 10, 120, 90);
    for (TWinControl* control : std::vector<TWinControl*>{edit, panel}) {
        RECT before;
        GetClientRect(control->Handle(), &before);
        constexpr int kInset = 7;
        int owner = 0;
        // Only the hook's WM_NCCALCSIZE answer shows the inset: Win32 must ask again.
        control->HookWindowProc(&owner, [](TMessage& m, const TWndNext& next) {
            next(m);
            if (m.Msg == WM_NCCALCSIZE) InflateRect(&reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0], -kInset, -kInset);
        });
        RECT hooked;
        GetClientRect(control->Handle(), &hooked);
        EXPECT_EQ(hooked.right, before.right - 2 * kInset) << control->ClassName();
        EXPECT_EQ(hooked.bottom, before.bottom - 2 * kInset) << control->ClassName();
        control->UnhookWindowProc(&owner);
        RECT after;
        GetClientRect(control->Handle(), &after);
        EXPECT_TRUE(EqualRect(&after, &before)) << control->ClassName();
    }
}

}  // namespace
}  // namespace korvel

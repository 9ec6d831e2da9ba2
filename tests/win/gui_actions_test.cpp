// Actions over real controls: what a linked button or check box shows after
// each change of its action, real clicks executing the action (or the
// control's own OnClick), the idle update, actions named by a stored
// definition, and freeing either side of a link.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/actions.h"
#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui/text.h"
#include "gui_input_support.h"

namespace korvel {
namespace {

using testing::Pump;

// Lets the application's loop take messages until Done, posting a message
// only into an empty queue so that the loop can find it empty after it.
template <class F>
void LoopUntil(F&& done, int rounds = 50) {
    for (int round = 0; round < rounds && !done(); ++round) {
        MSG pending;
        if (!PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE)) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        Application().HandleMessage();
    }
}

std::string WindowTextOf(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return Narrow(buffer);
}

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        controlsBefore = TControl::LiveControls();
        componentsBefore = TComponent::LiveCount();
        form = new TForm(nullptr);
        form->SetBounds(140, 140, 360, 240);
        form->SetCaption("actions");
        list = new TActionList(form);
        run = new TAction(list);
        run->SetCaption("&Run");
        run->OnExecute = [this](TObject* sender) {
            ++executed;
            EXPECT_EQ(sender, run);
        };
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();   // what the window's end posted
        EXPECT_EQ(TControl::LiveControls(), controlsBefore);
        EXPECT_EQ(TComponent::LiveCount(), componentsBefore);
        Application().OnException = nullptr;
    }
    void ShowForm() {
        form->Show();
        testing::BringToFront(form->Handle());
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        return testing::AddControl<T>(form, left, top, width, height);
    }
    POINT Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

    TForm* form = nullptr;
    TActionList* list = nullptr;
    TAction* run = nullptr;
    int executed = 0;
    int controlsBefore = 0;
    int componentsBefore = 0;
};

TEST_F(ActionsTest, LinkedControlsShowEveryChangeOfTheirAction) {
    auto* button = Add<TButton>(10, 10, 90, 25);
    auto* box = Add<TCheckBox>(10, 50, 120, 20);
    button->SetCaption("own caption");
    ShowForm();
    button->SetAction(run);
    box->SetAction(run);
    EXPECT_EQ(run->ClientCount(), 2);
    struct Step {
        const char* what;
        void (*change)(TAction&);
        std::string caption;
        bool enabled, visible, checked;
    };
    const Step steps[] = {
        {"linked", [](TAction&) {}, "&Run", true, true, false},
        {"caption", [](TAction& a) { a.SetCaption("Run &again"); }, "Run &again", true, true, false},
        {"disabled", [](TAction& a) { a.SetEnabled(false); }, "Run &again", false, true, false},
        {"checked", [](TAction& a) { a.SetChecked(true); }, "Run &again", false, true, true},
        {"enabled", [](TAction& a) { a.SetEnabled(true); }, "Run &again", true, true, true},
        {"hidden", [](TAction& a) { a.SetVisible(false); }, "Run &again", true, false, true},
        {"shown, unchecked", [](TAction& a) { a.SetVisible(true); a.SetChecked(false); }, "Run &again", true, true, false},
    };
    for (const Step& s : steps) {
        s.change(*run);
        Application().ProcessMessages();   // the links change their controls at once; nothing is left for later
        for (TWinControl* c : {static_cast<TWinControl*>(button), static_cast<TWinControl*>(box)}) {
            const std::string what = std::string(s.what) + " on " + c->ClassName();
            EXPECT_EQ(c->Caption(), s.caption) << what;
            EXPECT_EQ(WindowTextOf(c->Handle()), s.caption) << what;
            EXPECT_EQ(c->Enabled(), s.enabled) << what;
            EXPECT_EQ(IsWindowEnabled(c->Handle()) != FALSE, s.enabled) << what;
            EXPECT_EQ(c->Visible(), s.visible) << what;
            EXPECT_EQ(IsWindowVisible(c->Handle()) != FALSE, s.visible) << what;
        }
        EXPECT_EQ(box->State(), s.checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked) << s.what;
        EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), s.checked ? BST_CHECKED : BST_UNCHECKED) << s.what;
    }
    // The action's changes of state never count as clicks.
    EXPECT_EQ(executed, 0);
}

TEST_F(ActionsTest, RealClicksExecuteTheActionUnlessTheControlHasItsOwnOnClick) {
    auto* linked = Add<TButton>(10, 10, 90, 25);
    auto* own = Add<TButton>(110, 10, 90, 25);
    auto* box = Add<TCheckBox>(10, 50, 120, 20);
    auto* twin = Add<TCheckBox>(10, 80, 120, 20);
    int ownClicks = 0;
    own->OnClick = [&](TObject*) { ++ownClicks; };
    for (TControl* c : std::vector<TControl*>{linked, own, box, twin}) c->SetAction(run);
    ShowForm();
    struct Step {
        const char* what;
        TControl* target;
        bool enabled;
        int executed, ownClicks;
        bool checked;   // the action's, and so both boxes'
    };
    const Step steps[] = {
        {"button", linked, true, 1, 0, false},
        {"button with its own OnClick", own, true, 1, 1, false},
        {"check box", box, true, 2, 1, true},
        {"its twin", twin, true, 3, 1, false},
        {"disabled button", linked, false, 3, 1, false},
        {"disabled check box", box, false, 3, 1, false},
        {"enabled again", linked, true, 4, 1, false},
    };
    for (const Step& s : steps) {
        run->SetEnabled(s.enabled);
        testing::ClickAt(Center(s.target));
        EXPECT_EQ(executed, s.executed) << s.what;
        EXPECT_EQ(ownClicks, s.ownClicks) << s.what;
        EXPECT_EQ(run->Checked(), s.checked) << s.what;
        EXPECT_EQ(box->Checked(), s.checked) << s.what;
        EXPECT_EQ(twin->Checked(), s.checked) << s.what;
    }
}

TEST_F(ActionsTest, IdleLoopRunsEveryListsOnUpdate) {
    auto* button = Add<TButton>(10, 10, 90, 25);
    button->SetAction(run);
    auto* other = new TActionList(form);
    auto* save = new TAction(other);
    bool canRun = false;
    int listUpdates = 0, runUpdates = 0, saveUpdates = 0;
    list->OnUpdate = [&](TObject*) { ++listUpdates; };
    run->OnUpdate = [&](TObject* sender) {
        ++runUpdates;
        static_cast<TAction*>(sender)->SetEnabled(canRun);
    };
    save->OnUpdate = [&](TObject*) { ++saveUpdates; };
    ShowForm();
    // ProcessMessages is not the idle loop: no update comes however long it pumps.
    Pump(testing::NothingHappensMillis);
    EXPECT_EQ(runUpdates, 0);
    EXPECT_TRUE(button->Enabled());

    // A message through HandleMessage that empties the queue: the loop is idle.
    LoopUntil([&] { return runUpdates > 0; });
    EXPECT_GE(runUpdates, 1);
    EXPECT_EQ(listUpdates, runUpdates);
    EXPECT_EQ(saveUpdates, runUpdates);
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));

    canRun = true;
    const int before = runUpdates;
    LoopUntil([&] { return runUpdates > before; });
    EXPECT_TRUE(button->Enabled());
    // A freed list is updated no more.
    delete other;
    const int saves = saveUpdates;
    const int runs = runUpdates;
    LoopUntil([&] { return runUpdates > runs; });
    EXPECT_GT(runUpdates, runs);
    EXPECT_EQ(saveUpdates, saves);
}

class TActionForm : public TForm {
public:
    explicit TActionForm(TComponent* owner) : TForm(owner) {
        RegisterMethod("actRunExecute", [this](TObject*) { ++runs; });
        RegisterMethod("actRunUpdate", [this](TObject*) { ++updates; });
    }
    int runs = 0;
    int updates = 0;
};

TEST_F(ActionsTest, DefinitionNamesActionsOfAListAndControlsLinkedToThem) {
    RegisterFrameworkClasses();
    auto* stored = new TActionForm(form);
    stored->ReadDefinition(R"(object F: TForm
  object btnRun: TButton
    Left = 10
    Action = actRun
  end
  object chkStep: TCheckBox
    Top = 40
    Action = actStep
    Caption = 'own caption'
  end
  object ActionList1: TActionList
    object actRun: TAction
      Caption = 'Run now'
      Hint = 'Runs it'
      Enabled = False
      OnExecute = actRunExecute
      OnUpdate = actRunUpdate
    end
    object actStep: TAction
      Caption = 'Step'
      Checked = True
    end
  end
end
)");
    auto* button = dynamic_cast<TButton*>(stored->FindComponent("btnRun"));
    auto* box = dynamic_cast<TCheckBox*>(stored->FindComponent("chkStep"));
    auto* actions = dynamic_cast<TActionList*>(stored->FindComponent("ActionList1"));
    auto* actRun = dynamic_cast<TAction*>(stored->FindComponent("actRun"));
    auto* actStep = dynamic_cast<TAction*>(stored->FindComponent("actStep"));
    ASSERT_TRUE(button && box && actions && actRun && actStep);
    ASSERT_EQ(actions->ActionCount(), 2);
    EXPECT_EQ(actions->Actions(0), actRun);
    EXPECT_EQ(actRun->ActionList(), actions);
    EXPECT_EQ(button->Action(), actRun);
    EXPECT_EQ(button->Caption(), "Run now");
    EXPECT_EQ(button->Hint(), "Runs it");
    EXPECT_FALSE(button->Enabled());
    // The reference is resolved once everything is read: the action's caption wins over the box's own.
    EXPECT_EQ(box->Caption(), "Step");
    EXPECT_TRUE(box->Checked());
    actRun->SetEnabled(true);
    button->Click();
    EXPECT_EQ(stored->runs, 1);
    actions->UpdateActions();
    EXPECT_EQ(stored->updates, 1);

    // A name that is no action is an error at its line.
    auto* broken = new TForm(form);
    try {
        broken->ReadDefinition("object G: TForm\n  object b: TButton\n    Action = p\n  end\n  object p: TPanel\n  end\nend\n");
        ADD_FAILURE() << "a panel was taken as an action";
    } catch (const EDefinitionError& e) {
        EXPECT_EQ(e.Line(), 3);
        EXPECT_NE(std::string(e.what()).find("is not an action"), std::string::npos) << e.what();
    }
    // An action nests in an action list only.
    auto* misplaced = new TForm(form);
    EXPECT_THROW(misplaced->ReadDefinition("object H: TForm\n  object t: TTimer\n    object a: TAction\n    end\n  end\nend\n"),
                 EDefinitionError);
}

TEST_F(ActionsTest, FreeingEitherSideOfALinkLeavesNothingDangling) {
    auto* button = Add<TButton>(10, 10, 90, 25);
    auto* box = Add<TCheckBox>(10, 50, 120, 20);
    button->SetAction(run);
    box->SetAction(run);
    ShowForm();

    // The control goes first: the action forgets it, and its changes reach only the rest.
    delete box;
    EXPECT_EQ(run->ClientCount(), 1);
    run->SetCaption("after the box");
    EXPECT_EQ(button->Caption(), "after the box");

    // The action goes: the link is cleared, the control keeps what it showed, a click runs nothing.
    delete run;
    run = nullptr;
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
    EXPECT_EQ(button->Caption(), "after the box");
    testing::ClickAt(Center(button));
    EXPECT_EQ(executed, 0);

    // Freeing a list frees its actions and clears their links.
    auto* save = new TAction(list);
    auto* open = new TAction(form);
    open->SetActionList(list);
    button->SetAction(save);
    auto* other = Add<TCheckBox>(10, 80, 120, 20);
    other->SetAction(open);
    const int components = TComponent::LiveCount();
    delete list;
    list = nullptr;
    EXPECT_EQ(TComponent::LiveCount(), components - 3);
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(other->Action(), nullptr);
}

}  // namespace
}  // namespace korvel

// The keyboard interface of forms, with real keystrokes: accelerators of
// buttons, check boxes and labels, Enter for the default button, Escape for
// the cancel button, keys a control claims for itself, and the order in which
// the messages reach a control.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui_input_support.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

// The owner of the hooks these tests put in window procedure chains.
const int kHookOwner = 0;

using testing::PressChord;
using testing::Pump;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowsBefore = GdiCounters().Windows;
        form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsSingle);
        form->SetBounds(150, 150, 420, 300);
        form->SetCaption("keyboard");
        nameLabel = Add<TLabel>(10, 12, 60, 17);
        nameLabel->SetCaption("&Name:");
        nameEdit = Add<TEdit>(80, 10, 150, 21);
        nameLabel->SetFocusControl(nameEdit);
        memo = Add<TMemo>(80, 40, 150, 60);
        verbose = Add<TCheckBox>(80, 110, 120, 17);
        verbose->SetCaption("&Verbose");
        save = Add<TButton>(250, 10, 120, 25);
        save->SetCaption("&Save");
        fish = Add<TButton>(250, 40, 120, 25);
        fish->SetCaption("&&Fish");
        ok = Add<TButton>(250, 200, 75, 25);
        ok->SetCaption("OK");
        ok->SetDefault(true);
        cancel = Add<TButton>(330, 200, 75, 25);
        cancel->SetCaption("Cancel");
        cancel->SetCancel(true);
        for (auto [button, count] : {std::pair{save, &saveClicks}, {fish, &fishClicks}, {ok, &okClicks}, {cancel, &cancelClicks}})
            button->OnClick = [count](TObject*) { ++*count; };
        form->Show();
        testing::BringToFront(form->Handle());
        nameEdit->SetFocus();
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
        EXPECT_EQ(GdiCounters().Windows, windowsBefore);
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        return testing::AddControl<T>(form, left, top, width, height);
    }
    static DWORD ButtonType(TButton* b) { return static_cast<DWORD>(GetWindowLongPtrW(b->Handle(), GWL_STYLE)) & BS_TYPEMASK; }

    TForm* form = nullptr;
    TLabel* nameLabel = nullptr;
    TEdit* nameEdit = nullptr;
    TMemo* memo = nullptr;
    TCheckBox* verbose = nullptr;
    TButton* save = nullptr;
    TButton* fish = nullptr;
    TButton* ok = nullptr;
    TButton* cancel = nullptr;
    int saveClicks = 0, fishClicks = 0, okClicks = 0, cancelClicks = 0;
    int windowsBefore = 0;
};

TEST(Accelerator, CaptionMarksItsLetterWithoutRegardToCase) {
    struct {
        const char* caption;
        wchar_t key;
        bool accel;
    } const cases[] = {
        {"&Save", L's', true},
        {"&Save", L'S', true},
        {"Sa&ve", L'v', true},
        {"Sa&ve", L's', false},            // only the marked letter
        {"Save", L's', false},
        {"&&Fish", L'f', false},           // a literal ampersand
        {"&&Fish", L'&', false},
        {"Fish && &Chips", L'c', true},    // the first real marker counts
        {"Fish && &Chips", L'f', false},
        {"Save&", L's', false},            // a marker with nothing after it
        {"&1 file", L'1', true},
        {"\xC3\x9C" "ber &\xC3\xB6" "ffnen", L'\x00D6', true},   // "Über &öffnen" answers Ö
        {"&Save", L'\r', false},           // control characters never match
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAccel(c.key, c.caption), c.accel) << c.caption << " / " << static_cast<int>(c.key);
}

TEST_F(KeyboardTest, AltLetterClicksTheButtonOnceWithoutBeepOrSystemMenu) {
    std::vector<WPARAM> commands;
    form->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == WM_SYSCOMMAND || m.Msg == WM_ENTERMENULOOP) commands.push_back(m.WParam);
        next(m);
    });
    PressChord('S', {VK_MENU});
    Pump(testing::NothingHappensMillis);   // no system command follows
    EXPECT_EQ(saveClicks, 1);
    EXPECT_TRUE(commands.empty()) << "system command " << std::hex << (commands.empty() ? 0 : commands[0]);
    EXPECT_EQ(nameEdit->Text(), "");
    EXPECT_TRUE(nameEdit->Focused());   // a button's accelerator clicks without taking the focus

    form->UnhookWindowProc(&kHookOwner);
}

TEST_F(KeyboardTest, PlainLetterWorksAsAcceleratorOnlyWhileTheFocusedControlTakesNoCharacters) {
    PressChord('S');   // the edit wants characters: the letter is typed
    EXPECT_EQ(nameEdit->Text(), "s");
    EXPECT_EQ(saveClicks, 0);

    ok->SetFocus();
    Application().ProcessMessages();
    PressChord('S');
    EXPECT_EQ(saveClicks, 1);
    PressChord('V');   // the check box toggles and takes the focus
    EXPECT_TRUE(verbose->Checked());
    EXPECT_TRUE(verbose->Focused());
    PressChord('V');
    EXPECT_FALSE(verbose->Checked());
}

TEST_F(KeyboardTest, LabelAcceleratorFocusesItsControlAndDoubleAmpersandIsLiteral) {
    ok->SetFocus();
    Application().ProcessMessages();
    PressChord('N', {VK_MENU});
    EXPECT_TRUE(nameEdit->Focused());

    PressChord('F', {VK_MENU});   // "&&Fish" has no accelerator
    EXPECT_EQ(fishClicks, 0);
    fish->SetCaption("&&Fish && &Chips");
    PressChord('C', {VK_MENU});
    EXPECT_EQ(fishClicks, 1);

    nameLabel->SetShowAccelChar(false);   // the caption's ampersands are plain text then
    ok->SetFocus();
    Application().ProcessMessages();
    PressChord('N', {VK_MENU});
    EXPECT_TRUE(ok->Focused());
}

TEST_F(KeyboardTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
    PressChord(VK_RETURN);   // from the edit
    EXPECT_EQ(okClicks, 1);
    PressChord(VK_ESCAPE);
    EXPECT_EQ(cancelClicks, 1);

    save->SetFocus();   // a focused button takes Enter instead of the default one
    Application().ProcessMessages();
    PressChord(VK_RETURN);
    EXPECT_EQ(saveClicks, 1);
    EXPECT_EQ(okClicks, 1);

    memo->SetFocus();   // a multi-line edit keeps Enter for a new line, but not Escape
    Application().ProcessMessages();
    PressChord('A');
    PressChord(VK_RETURN);
    PressChord('B');
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Lines().Strings(1), "b");
    PressChord(VK_ESCAPE);
    EXPECT_EQ(cancelClicks, 2);
    memo->SetWantReturns(false);   // then Enter is the form's first
    PressChord(VK_RETURN);
    EXPECT_EQ(okClicks, 2);
    EXPECT_EQ(memo->Lines().Count(), 2);
}

TEST_F(KeyboardTest, TabAndArrowsMoveTheFocusUnlessTheControlClaimsThem) {
    save->SetFocus();
    Application().ProcessMessages();
    PressChord(VK_TAB);
    EXPECT_TRUE(fish->Focused());
    PressChord(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(save->Focused());
    PressChord(VK_RIGHT);   // a button takes no arrows: they move among its siblings
    EXPECT_TRUE(fish->Focused());
    PressChord(VK_UP);
    EXPECT_TRUE(save->Focused());

    memo->SetFocus();
    Application().ProcessMessages();
    PressChord(VK_LEFT);   // the multi-line edit keeps the arrows
    EXPECT_TRUE(memo->Focused());
    PressChord(VK_TAB);    // but Tab moves on unless it wants tabs
    EXPECT_TRUE(verbose->Focused());
    EXPECT_EQ(memo->Text(), "");
    memo->SetWantTabs(true);
    memo->SetFocus();
    Application().ProcessMessages();
    PressChord(VK_TAB);
    EXPECT_TRUE(memo->Focused());
    EXPECT_EQ(memo->Text(), "\t");
}

TEST_F(KeyboardTest, DisabledOrHiddenControlsDoNotAnswer) {
    struct {
        const char* what;
        TControl* control;
        bool hide;   // else disable
        WORD key, modifier;
        int* clicks;
    } const cases[] = {
        {"disabled button", save, false, 'S', VK_MENU, &saveClicks},
        {"hidden button", save, true, 'S', VK_MENU, &saveClicks},
        {"disabled default button", ok, false, VK_RETURN, 0, &okClicks},
        {"hidden cancel button", cancel, true, VK_ESCAPE, 0, &cancelClicks},
    };
    for (const auto& c : cases) {
        if (c.hide) c.control->Hide();
        else c.control->SetEnabled(false);
        nameEdit->SetFocus();
        Application().ProcessMessages();
        if (c.modifier) PressChord(c.key, {c.modifier});
        else PressChord(c.key);
        EXPECT_EQ(*c.clicks, 0) << c.what;
        c.control->Show();
        c.control->SetEnabled(true);
    }
    for (bool hide : {false, true}) {   // a label, or its control, that cannot act
        for (TControl* c : std::vector<TControl*>{nameLabel, nameEdit}) {
            if (hide) c->Hide();
            else c->SetEnabled(false);
            ok->SetFocus();
            Application().ProcessMessages();
            PressChord('N', {VK_MENU});
            EXPECT_TRUE(ok->Focused()) << c->ClassName() << (hide ? " hidden" : " disabled");
            c->Show();
            c->SetEnabled(true);
        }
    }
    verbose->SetEnabled(false);
    ok->SetFocus();
    Application().ProcessMessages();
    PressChord('V');
    EXPECT_FALSE(verbose->Checked());
}

TEST_F(KeyboardTest, MessagesReachARecordingControlInOrder) {
    std::vector<std::string> log;
    auto record = [&log](TControl* c, const std::string& who) {
        c->HookWindowProc(&kHookOwner, [&log, who](TMessage& m, const TWndNext& next) {
            auto key = [&m] { return std::string(1, static_cast<char>(m.WParam)); };
            switch (m.Msg) {
            case WM_KEYDOWN:     if (m.WParam != VK_SHIFT) log.push_back(who + " keydown " + (m.WParam == VK_RETURN ? "enter" : key())); break;
            case WM_SYSKEYDOWN:  if (m.WParam != VK_MENU) log.push_back(who + " syskeydown " + key()); break;
            case WM_CHAR:        log.push_back(who + " char " + (m.WParam == '\r' ? "enter" : key())); break;
            case WM_SYSCHAR:     log.push_back(who + " syschar " + key()); break;
            case WM_GETDLGCODE:  log.push_back(who + " getdlgcode"); break;
            case CM_DIALOGKEY:   log.push_back(who + " dialogkey " + (m.WParam == VK_RETURN ? "enter" : key())); break;
            case CM_DIALOGCHAR:  log.push_back(who + " dialogchar " + key()); break;
            }
            next(m);
        });
    };
    record(nameEdit, "edit");
    record(form, "form");

    PressChord('X');   // typed: the edit wants it
    EXPECT_EQ(log, (std::vector<std::string>{"edit keydown X", "edit getdlgcode", "edit char x"}));
    log.clear();
    PressChord(VK_RETURN);   // claimed by nobody: the form and its children are asked, the edit never gets it
    EXPECT_EQ(log, (std::vector<std::string>{"edit getdlgcode", "form dialogkey enter", "edit dialogkey enter"}));
    EXPECT_EQ(okClicks, 1);
    log.clear();
    PressChord('S', {VK_MENU});   // answered by the button: no syschar reaches anybody
    EXPECT_EQ(log, (std::vector<std::string>{"edit syskeydown S", "form dialogchar s", "edit dialogchar s"}));
    EXPECT_EQ(saveClicks, 1);
    EXPECT_EQ(nameEdit->Text(), "x");

    nameEdit->UnhookWindowProc(&kHookOwner);
    form->UnhookWindowProc(&kHookOwner);
}

TEST_F(KeyboardTest, TheButtonEnterWouldClickShowsTheDefaultLook) {
    EXPECT_EQ(ButtonType(ok), static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(ButtonType(cancel), static_cast<DWORD>(BS_PUSHBUTTON));
    cancel->SetFocus();
    Application().ProcessMessages();
    EXPECT_EQ(ButtonType(ok), static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_EQ(ButtonType(cancel), static_cast<DWORD>(BS_DEFPUSHBUTTON));
    memo->SetFocus();
    Application().ProcessMessages();
    EXPECT_EQ(ButtonType(ok), static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(ButtonType(cancel), static_cast<DWORD>(BS_PUSHBUTTON));
    ok->SetDefault(false);
    EXPECT_EQ(ButtonType(ok), static_cast<DWORD>(BS_PUSHBUTTON));
}

TEST_F(KeyboardTest, LabelForgetsItsFocusControlWhenThatIsFreed) {
    delete nameEdit;
    EXPECT_EQ(nameLabel->FocusControl(), nullptr);
    ok->SetFocus();
    Application().ProcessMessages();
    PressChord('N', {VK_MENU});   // nothing to focus, nothing breaks
    EXPECT_TRUE(ok->Focused());
}

TEST_F(KeyboardTest, LabelForgetsAFocusControlOfAnotherOwner) {
    auto* stranger = new TEdit(nullptr);   // owned by nobody, parented on the form
    stranger->SetParent(form);
    nameLabel->SetFocusControl(stranger);
    delete stranger;
    EXPECT_EQ(nameLabel->FocusControl(), nullptr);
}

}  // namespace
}  // namespace korvel

// Controls over real Win32 windows: the window procedure slot, Perform, the
// framework's notifications, edit change events, multi-line line counts.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui/text.h"
#include "gui/text_file.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

// The owner of the hooks these tests put in window procedure chains.
const int kHookOwner = 0;


// A shown form for the controls of one test; freed (with its controls) at the end.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowsBefore = GdiCounters().Windows;
        controlsBefore = TControl::LiveControls();
        form = new TForm(nullptr);
        form->SetBounds(120, 120, 360, 260);
        form->SetCaption("controls");
        form->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
        EXPECT_EQ(GdiCounters().Windows, windowsBefore);
        EXPECT_EQ(TControl::LiveControls(), controlsBefore);
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        return testing::AddControl<T>(form, left, top, width, height);
    }

    TForm* form = nullptr;
    int windowsBefore = 0;
    int controlsBefore = 0;
};

TEST_F(ControlsTest, ReplacedWindowProcSeesNativeMessagesAndChainsToThePreviousOne) {
    auto* button = Add<TButton>(10, 10, 80, 25);
    HWND handle = button->Handle();
    std::vector<UINT> seen;
    bool swallowText = false;
    button->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        seen.push_back(m.Msg);
        if (swallowText && m.Msg == WM_SETTEXT) return;
        next(m);
    });

    SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Hello"));
    EXPECT_EQ(button->Caption(), "Hello");
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_SETTEXT)), seen.end());

    swallowText = true;   // not chained: the native control never hears of it
    SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Lost"));
    EXPECT_EQ(button->Caption(), "Hello");

    EXPECT_TRUE(button->UnhookWindowProc(&kHookOwner));
    seen.clear();
    SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Again"));
    EXPECT_EQ(button->Caption(), "Again");
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(button->UnhookWindowProc(&kHookOwner));
    EXPECT_THROW(button->HookWindowProc(nullptr, [](TMessage&, const TWndNext&) {}), EInvalidOperation);
    EXPECT_THROW(button->HookWindowProc(&kHookOwner, nullptr), EInvalidOperation);
}

TEST_F(ControlsTest, PerformAnswersThroughTheMutableRecordWithoutCreatingAWindow) {
    constexpr UINT kQuery = 0xA100;
    auto* edit = new TEdit(form);   // no parent: it can have no window
    edit->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == kQuery) {
            m.LParam = 1;
            m.Result = 7;
            return;
        }
        next(m);
    });
    TMessage query{kQuery, 0x00140001, 0, 0};
    edit->Perform(query);
    EXPECT_EQ(query.LParam, 1);
    EXPECT_EQ(query.Result, 7);
    EXPECT_EQ(edit->Perform(kQuery), 7);
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_THROW(edit->Handle(), EInvalidOperation);   // no parent window
    edit->UnhookWindowProc(&kHookOwner);
}

TEST_F(ControlsTest, NotificationsAreSentOnlyWhenTheValueReallyChanges) {
    auto* edit = Add<TEdit>(10, 10, 100, 21);
    auto* label = Add<TLabel>(10, 50, 60, 16);
    for (TControl* control : std::vector<TControl*>{edit, label}) {
        std::map<UINT, int> counts;
        control->HookWindowProc(&kHookOwner, [&counts](TMessage& m, const TWndNext& next) {
            ++counts[m.Msg];
            next(m);
        });
        struct Step {
            const char* what;
            std::function<void()> act;
            UINT notification;
            int expected;
        } steps[] = {
            {"same colour", [&] { control->SetColor(control->Color()); }, CM_COLORCHANGED, 0},
            {"new colour", [&] { control->SetColor(clRed); }, CM_COLORCHANGED, 1},
            {"same visibility", [&] { control->SetVisible(true); }, CM_VISIBLECHANGED, 0},
            {"hide", [&] { control->SetVisible(false); }, CM_VISIBLECHANGED, 1},
            {"disable", [&] { control->SetEnabled(false); }, CM_ENABLEDCHANGED, 1},
            {"disable again", [&] { control->SetEnabled(false); }, CM_ENABLEDCHANGED, 0},
            {"same font height", [&] { control->Font().SetHeight(control->Font().Height()); }, CM_FONTCHANGED, 0},
            {"new font height", [&] { control->Font().SetHeight(-15); }, CM_FONTCHANGED, 1},
            {"same text", [&] { control->SetText(control->Text()); }, CM_TEXTCHANGED, 0},
            {"new text", [&] { control->SetText("changed"); }, CM_TEXTCHANGED, 1},
            {"same reading order", [&] { control->SetBiDiMode(control->BiDiMode()); }, CM_BIDIMODECHANGED, 0},
            {"right to left", [&] { control->SetBiDiMode(TBiDiMode::bdRightToLeft); }, CM_BIDIMODECHANGED, 1},
        };
        for (auto& step : steps) {
            counts.clear();
            step.act();
            EXPECT_EQ(counts[step.notification], step.expected) << control->ClassName() << ": " << step.what;
        }
        EXPECT_EQ(control->Color(), clRed);
        EXPECT_EQ(control->Text(), "changed");
        EXPECT_FALSE(control->ParentFont());
        control->UnhookWindowProc(&kHookOwner);
    }
}

// A windowed control gives its window a font only when the font's handle
// changes: a new colour keeps the handle, and the window keeps using it.
TEST_F(ControlsTest, FontReachesTheWindowOnlyWhenItsHandleChanges) {
    auto* edit = Add<TEdit>(10, 10, 100, 21);
    std::map<UINT, int> counts;
    edit->HookWindowProc(&kHookOwner, [&counts](TMessage& m, const TWndNext& next) {
        ++counts[m.Msg];
        next(m);
    });
    const struct Step {
        const char* what;
        std::function<void()> act;
        int setFont;
    } steps[] = {
        {"new colour", [&] { edit->Font().SetColor(clRed); }, 0},
        {"new height", [&] { edit->Font().SetHeight(-15); }, 1},
        {"another colour", [&] { edit->Font().SetColor(clBlue); }, 0},
        {"new name", [&] { edit->Font().SetName("Courier New"); }, 1},
        {"bold", [&] { edit->Font().SetStyle(fsBold); }, 1},
    };
    for (const Step& step : steps) {
        counts.clear();
        step.act();
        EXPECT_EQ(counts[CM_FONTCHANGED], 1) << step.what;
        EXPECT_EQ(counts[WM_SETFONT], step.setFont) << step.what;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(edit->Handle(), WM_GETFONT, 0, 0)), edit->Font().Handle())
            << step.what << ": the window uses the font's current handle";
    }
    EXPECT_FALSE(edit->Font().ChangeKeepsHandle());
    edit->UnhookWindowProc(&kHookOwner);
}

TEST_F(ControlsTest, EditChangeEventFollowsTheTextRules) {
    auto* edit = Add<TEdit>(10, 10, 150, 21);
    edit->SetText("start");
    std::vector<std::string> changes;
    bool insideSetter = false;
    edit->OnChange = [&](TObject*) {
        EXPECT_TRUE(insideSetter || changes.size() >= 2) << "raised outside the setter";
        changes.push_back(edit->Text());
    };
    insideSetter = true;
    edit->SetText("start");   // the same text: nothing
    EXPECT_TRUE(changes.empty());
    edit->SetText("Start");   // case matters
    EXPECT_EQ(changes, (std::vector<std::string>{"Start"}));
    edit->SetText("");
    insideSetter = false;
    EXPECT_EQ(changes, (std::vector<std::string>{"Start", ""}));

    // Typing: one event after each keystroke that alters the text.
    edit->SetFocus();
    Application().ProcessMessages();
    testing::TypeText(L"ab");
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(changes, (std::vector<std::string>{"Start", "", "a", "ab"}));
}

TEST_F(ControlsTest, LinkedEditsSettleAtTheFirstFieldThatAlreadyHoldsTheText) {
    auto* a = Add<TEdit>(10, 10, 100, 21);
    auto* b = Add<TEdit>(10, 40, 100, 21);
    auto* relay = new TEdit(form);   // never shown, no window
    int changesA = 0, changesB = 0, changesRelay = 0;
    a->OnChange = [&](TObject*) { ++changesA; relay->SetText(a->Text()); };
    relay->OnChange = [&](TObject*) { ++changesRelay; b->SetText(relay->Text()); a->SetText(relay->Text()); };
    b->OnChange = [&](TObject*) { ++changesB; relay->SetText(b->Text()); };
    a->SetText("c:\\korvel\\x.cfg");
    EXPECT_EQ(b->Text(), "c:\\korvel\\x.cfg");
    EXPECT_EQ(relay->Text(), "c:\\korvel\\x.cfg");
    EXPECT_EQ(changesA, 1);
    EXPECT_EQ(changesB, 1);
    EXPECT_EQ(changesRelay, 1);
}

TEST_F(ControlsTest, EditSettingsReachTheNativeControl) {
    auto* edit = Add<TEdit>(10, 10, 100, 21);
    edit->SetMaxLength(4);
    edit->SetReadOnly(true);
    edit->SetPasswordChar("*");
    HWND h = edit->Handle();
    EXPECT_EQ(SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageW(h, EM_GETPASSWORDCHAR, 0, 0), L'*');
    edit->SetBorderStyle(TBorderStyle::bsNone);   // recreates the window
    EXPECT_FALSE(GetWindowLongPtrW(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 4);
}

std::string TempFile(const std::string& name, const std::string& content) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::string path = Narrow(dir) + name;
    WriteTextFile(path, content);
    return path;
}

TEST_F(ControlsTest, MemoCountsRowsAsTheControlLaysThemOut) {
    auto* memo = Add<TMemo>(10, 10, 89, 145);
    memo->SetVisible(false);   // a hidden memo still lays out its text
    struct { const char* text; int rows; } cases[] = {
        {"", 0},
        {"10.0.0.1\r\n", 1},
        {"a\r\nb\r\nc\r\n", 3},
        {"a\r\nb\r\nc", 3},
        {"a\r\n\r\nc\r\n", 3},
    };
    for (const auto& c : cases) {
        memo->Lines().SetText(c.text);
        EXPECT_EQ(memo->Lines().Count(), c.rows) << c.text;
    }
    // A long line wraps into several rows of the 89-pixel box; each counts.
    memo->Lines().SetText("one two three four five six seven eight nine ten eleven twelve\r\n");
    int wrapped = memo->Lines().Count();
    EXPECT_GT(wrapped, 2);
    EXPECT_EQ(wrapped, SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0) - 1);   // less the empty last row
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->Lines().Count(), 1) << SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0) << " rows, style "
                                        << std::hex << GetWindowLongPtrW(memo->Handle(), GWL_STYLE);
    EXPECT_EQ(memo->Lines().Strings(0), "one two three four five six seven eight nine ten eleven twelve");
}

TEST_F(ControlsTest, MemoLoadsAFileOrKeepsItsLinesAndNamesTheFile) {
    auto* memo = Add<TMemo>(10, 10, 89, 145);
    memo->Lines().Assign({"Memo1"});
    std::string path = TempFile("korvel_gui_three.cfg", "10.0.0.1\r\n10.0.0.2\n10.0.0.3\r\n");
    memo->Lines().LoadFromFile(path);
    EXPECT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines().Strings(1), "10.0.0.2");
    std::string empty = TempFile("korvel_gui_empty.cfg", "");
    memo->Lines().LoadFromFile(empty);
    EXPECT_EQ(memo->Lines().Count(), 0);

    memo->Lines().Assign({"kept"});
    std::string missing = path + ".missing";
    try {
        memo->Lines().LoadFromFile(missing);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". " + SystemErrorMessage(ERROR_FILE_NOT_FOUND));
    }
    EXPECT_EQ(memo->Lines().Count(), 1);
    EXPECT_EQ(memo->Lines().Strings(0), "kept");
    DeleteFileW(Widen(path).c_str());
    DeleteFileW(Widen(empty).c_str());
}

TEST_F(ControlsTest, CheckBoxCyclesItsStatesAndClicks) {
    auto* box = Add<TCheckBox>(10, 10, 100, 20);
    box->SetCaption("Step Thru");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    HWND h = box->Handle();
    SendMessageW(h, BM_CLICK, 0, 0);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(h, BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    box->SetAllowGrayed(true);
    SendMessageW(h, BM_CLICK, 0, 0);
    SendMessageW(h, BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(clicks, 4);
    box->SetState(TCheckBoxState::cbGrayed);   // unchanged: no click
    EXPECT_EQ(clicks, 4);
}

TEST_F(ControlsTest, RecreatedWindowKeepsTextAndStillPassesThroughTheSlot) {
    auto* memo = Add<TMemo>(10, 10, 120, 80);
    memo->Lines().Assign({"first", "second"});
    HWND before = memo->Handle();
    int seen = 0;
    memo->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == WM_GETTEXTLENGTH) ++seen;
        next(m);
    });
    memo->SetScrollBars(TScrollStyle::ssVertical);
    EXPECT_NE(memo->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(memo->Text(), "first\r\nsecond\r\n");
    SendMessageW(memo->Handle(), WM_GETTEXTLENGTH, 0, 0);
    EXPECT_GE(seen, 1);
    memo->UnhookWindowProc(&kHookOwner);
}

TEST_F(ControlsTest, ChildrenKeepIndexOrderAndTabOrderMovesFocus) {
    auto* panel = Add<TPanel>(150, 10, 180, 150);
    auto* first = new TEdit(form);
    auto* second = new TEdit(form);
    auto* skipped = new TButton(form);
    for (auto* c : std::vector<TWinControl*>{first, second, skipped}) c->SetParent(panel);
    skipped->SetTabStop(false);
    second->SetTop(30);
    ASSERT_EQ(panel->ControlCount(), 3);
    EXPECT_EQ(panel->Controls(1), second);
    second->SetTabOrder(0);
    EXPECT_EQ(first->TabOrder(), 1);
    EXPECT_EQ(panel->Controls(1), second);   // tab order does not change the index order
    second->SetFocus();
    Application().ProcessMessages();
    EXPECT_TRUE(second->Focused());
    EXPECT_TRUE(form->SelectNext(second, true));
    EXPECT_TRUE(first->Focused());
    EXPECT_TRUE(form->SelectNext(first, true));   // the button is no tab stop
    EXPECT_TRUE(second->Focused());
    panel->SetEnabled(false);
    EXPECT_FALSE(first->CanFocus());
    delete first;   // a freed child leaves its parent's lists
    EXPECT_EQ(panel->ControlCount(), 2);
    EXPECT_EQ(panel->TabOrderList(), (std::vector<TWinControl*>{second, skipped}));
    EXPECT_EQ(second->TabOrder(), 0);
}

TEST_F(ControlsTest, AlignedAndAnchoredChildrenFollowTheirParentsSize) {
    auto* panel = Add<TPanel>(10, 10, 200, 100);
    auto* corner = new TButton(form);
    corner->SetParent(panel);
    corner->SetBounds(150, 70, 40, 20);
    corner->SetAnchors(akRight | akBottom);
    auto* stretch = new TEdit(form);
    stretch->SetParent(panel);
    stretch->SetBounds(10, 10, 100, 21);
    stretch->SetAnchors(akLeft | akTop | akRight);
    auto* top = new TPanel(form);
    top->SetParent(panel);
    top->SetHeight(8);
    top->SetAlign(TAlign::alTop);
    struct { int width, height; RECT corner, stretch, top; } steps[] = {
        {300, 150, {250, 120, 290, 140}, {10, 10, 210, 31}, {0, 0, 300, 8}},
        {120, 90, {70, 60, 110, 80}, {10, 10, 30, 31}, {0, 0, 120, 8}},
    };
    for (const auto& step : steps) {
        panel->SetBounds(panel->Left(), panel->Top(), step.width, step.height);
        Application().ProcessMessages();
        auto same = [](RECT a, RECT b) { return EqualRect(&a, &b) != 0; };
        EXPECT_TRUE(same(corner->BoundsRect(), step.corner)) << step.width << ": " << corner->Left() << "," << corner->Top();
        EXPECT_TRUE(same(stretch->BoundsRect(), step.stretch)) << step.width << ": " << stretch->Width();
        EXPECT_TRUE(same(top->BoundsRect(), step.top)) << step.width << ": " << top->Width();
        RECT real;
        GetWindowRect(corner->Handle(), &real);
        MapWindowPoints(nullptr, panel->Handle(), reinterpret_cast<POINT*>(&real), 2);
        EXPECT_TRUE(same(real, step.corner));
    }
}

TEST_F(ControlsTest, FocusMovesSendEnterExitAndTellTheForm) {
    auto* a = Add<TEdit>(10, 10, 100, 21);
    auto* b = Add<TEdit>(10, 40, 100, 21);
    std::vector<std::string> log;
    for (TControl* c : std::vector<TControl*>{a, b, form}) {
        c->HookWindowProc(&kHookOwner, [&log, c, a](TMessage& m, const TWndNext& next) {
            std::string who = c == a ? "a" : (dynamic_cast<TForm*>(c) ? "form" : "b");
            if (m.Msg == CM_ENTER) log.push_back(who + " enter");
            if (m.Msg == CM_EXIT) log.push_back(who + " exit");
            if (m.Msg == CM_FOCUSCHANGED) log.push_back(who + " focus " + (m.LParam == reinterpret_cast<LPARAM>(a) ? "a" : "b"));
            next(m);
        });
    }
    a->SetFocus();
    Application().ProcessMessages();
    log.clear();
    b->SetFocus();
    Application().ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"a exit", "b enter", "form focus b"}));
    EXPECT_EQ(form->ActiveControl(), b);
    for (TControl* c : std::vector<TControl*>{a, b, form}) c->UnhookWindowProc(&kHookOwner);
}

TEST_F(ControlsTest, SystemColoursConvertToRgb) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(13750737), 13750737u);
    EXPECT_EQ(ColorToRGB(clFuchsia), 0xFF00FFu);
}

}  // namespace
}  // namespace korvel

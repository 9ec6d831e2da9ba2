// Input events and form features with real input: mouse events of windowed
// and windowless controls (buttons, shift state, client points, double
// clicks), key events that change or swallow keys, size constraints (also
// against the user's sizing), modal forms, OnCreate after the definition and
// secondary forms owned by the main form.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui_input_support.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

// Who owns the watching hooks the tests put on a window procedure.
const int kHookOwner = 0;

using testing::ClickAt;
using testing::MovePointer;
using testing::PassDoubleClickTime;
using testing::PressChord;
using testing::Pump;
using testing::SendChord;
using testing::SendKey;
using testing::SendMouseButton;

struct TMouseRecord {
    std::string What;   // "down", "up", "move", "dbl", "virtual down"
    TObject* Sender;
    TMouseButton Button;
    TShiftState Shift;
    int X, Y;
};

// A windowed control that overrides the virtual method, as skinned controls do.
class TRecordingPanel : public TPanel {
public:
    explicit TRecordingPanel(TComponent* owner) : TPanel(owner) {}
    std::vector<TMouseRecord>* Log = nullptr;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        if (Log) Log->push_back({"virtual down", this, button, shift, x, y});
        TPanel::MouseDown(button, shift, x, y);
    }
};

class EventFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowsBefore = GdiCounters().Windows;
        form = new TForm(nullptr);
        form->SetBounds(140, 140, 10, 10);
        form->SetClientSize(400, 260);
        form->SetCaption("events");
        panel = new TRecordingPanel(form);
        panel->SetBounds(20, 20, 200, 120);
        panel->SetParent(form);
        panel->Log = &log;
        label = new TLabel(form);
        label->SetAutoSize(false);
        label->SetBounds(240, 30, 120, 40);
        label->SetParent(form);
        edit = testing::AddControl<TEdit>(form, 20, 180, 200, 21);
        for (TControl* c : {static_cast<TControl*>(panel), static_cast<TControl*>(label)}) {
            c->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { log.push_back({"down", s, b, sh, x, y}); };
            c->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { log.push_back({"up", s, b, sh, x, y}); };
            c->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { log.push_back({"move", s, TMouseButton::mbLeft, sh, x, y}); };
            c->OnDblClick = [this](TObject* s) { log.push_back({"dbl", s, TMouseButton::mbLeft, 0, 0, 0}); };
        }
        form->Show();
        SetForegroundWindow(form->Handle());
        testing::PumpUntil([this] { return GetForegroundWindow() == form->Handle(); }, "the form to come to the front");
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
        EXPECT_EQ(GdiCounters().Windows, windowsBefore);
    }
    // The records of one kind, in order.
    std::vector<TMouseRecord> Only(const std::string& what) const {
        std::vector<TMouseRecord> out;
        for (const auto& r : log)
            if (r.What == what) out.push_back(r);
        return out;
    }

    TForm* form = nullptr;
    TRecordingPanel* panel = nullptr;
    TLabel* label = nullptr;
    TEdit* edit = nullptr;
    std::vector<TMouseRecord> log;
    int windowsBefore = 0;
};

TEST_F(EventFormTest, MouseEventsCarryTheButtonShiftStateAndClientPoint) {
    struct {
        const char* what;
        TControl* control;
        POINT at;   // client point of the control
        DWORD down, up;
        TMouseButton button;
        TShiftState buttonFlag;   // held while the button is down (MK_*)
        std::vector<WORD> modifiers;
        TShiftState modifierFlags;
    } const cases[] = {
        {"windowed, left", panel, {15, 25}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, TMouseButton::mbLeft, ssLeft, {}, 0},
        {"windowed, right with Shift", panel, {150, 90}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, TMouseButton::mbRight, ssRight,
         {VK_SHIFT}, ssShift},
        {"windowless, left with Ctrl", label, {7, 31}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, TMouseButton::mbLeft, ssLeft,
         {VK_CONTROL}, ssCtrl},
        {"windowless, middle", label, {100, 3}, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, TMouseButton::mbMiddle, ssMiddle, {}, 0},
    };
    for (const auto& c : cases) {
        MovePointer(c.control->ClientToScreen(c.at));
        PassDoubleClickTime();   // no double click with the previous case
        log.clear();
        for (WORD m : c.modifiers) SendKey(m, false);
        SendMouseButton(c.down);
        SendMouseButton(c.up);
        testing::PumpWhileNot([this] { return Only("down").size() + Only("up").size() >= 2; });
        for (WORD m : c.modifiers) SendKey(m, true);
        Application().ProcessMessages();
        auto downs = Only("down"), ups = Only("up");
        ASSERT_EQ(downs.size(), 1u) << c.what;
        ASSERT_EQ(ups.size(), 1u) << c.what;
        for (const auto& r : {downs[0], ups[0]}) {
            EXPECT_EQ(r.Sender, c.control) << c.what;
            EXPECT_EQ(r.Button, c.button) << c.what;
            EXPECT_EQ(r.X, c.at.x) << c.what;
            EXPECT_EQ(r.Y, c.at.y) << c.what;
        }
        // The pressed button shows in the press's shift state, not in the release's.
        EXPECT_EQ(downs[0].Shift, c.modifierFlags | c.buttonFlag) << c.what;
        EXPECT_EQ(ups[0].Shift, c.modifierFlags) << c.what;
        // The virtual method runs first for the windowed control that overrides it.
        bool virtualFirst = !log.empty() && log[0].What == "virtual down";
        EXPECT_EQ(virtualFirst, c.control == panel) << c.what;
    }

    // Moves report the point under the pointer in the control's own coordinates.
    for (auto [control, at] : {std::pair<TControl*, POINT>{panel, {60, 70}}, {label, {40, 12}}}) {
        log.clear();
        MovePointer(control->ClientToScreen(at));
        auto moves = Only("move");
        ASSERT_FALSE(moves.empty());
        EXPECT_EQ(moves.back().Sender, control);
        EXPECT_EQ(moves.back().X, at.x);
        EXPECT_EQ(moves.back().Y, at.y);
    }

    // A double click: the second press is a double click on both kinds of control.
    for (TControl* control : {static_cast<TControl*>(panel), static_cast<TControl*>(label)}) {
        MovePointer(control->ClientToScreen({10, 10}));
        PassDoubleClickTime();
        log.clear();
        for (int i = 0; i < 2; ++i) {
            SendMouseButton(MOUSEEVENTF_LEFTDOWN);
            SendMouseButton(MOUSEEVENTF_LEFTUP);
        }
        testing::PumpWhileNot([this] { return Only("down").size() + Only("up").size() + Only("dbl").size() >= 5; });
        std::vector<std::string> order;
        for (const auto& r : log)
            if (r.What != "move" && r.What != "virtual down") order.push_back(r.What);
        EXPECT_EQ(order, (std::vector<std::string>{"down", "up", "dbl", "down", "up"})) << control->ClassName();
        auto downs = Only("down");
        ASSERT_EQ(downs.size(), 2u);
        EXPECT_EQ(downs[0].Shift, ssLeft);
        EXPECT_EQ(downs[1].Shift, ssLeft | ssDouble);
    }
}

TEST_F(EventFormTest, KeyEventsMayChangeOrSwallowTheKey) {
    std::vector<std::pair<WORD, TShiftState>> downs;
    std::vector<WORD> ups;
    std::wstring pressed;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState shift) {
        downs.emplace_back(key, shift);
        if (key == VK_DELETE) key = 0;   // the edit never deletes
    };
    edit->OnKeyUp = [&](TObject*, WORD& key, TShiftState) { ups.push_back(key); };
    edit->OnKeyPress = [&](TObject*, wchar_t& key) {
        pressed += key;
        if (key == L'a') key = L'A';   // changed
        if (key == L'b') key = 0;      // swallowed
    };
    edit->SetFocus();
    for (WORD key : {WORD('A'), WORD('B'), WORD('C')}) PressChord(key);
    PressChord('D', {VK_SHIFT});
    PressChord(VK_HOME);
    PressChord(VK_DELETE);
    EXPECT_EQ(edit->Text(), "AcD");
    EXPECT_EQ(pressed, L"abcD");
    const std::vector<std::pair<WORD, TShiftState>> expectedDowns = {
        {'A', 0}, {'B', 0}, {'C', 0}, {VK_SHIFT, ssShift}, {'D', ssShift}, {VK_HOME, 0}, {VK_DELETE, 0}};
    EXPECT_EQ(downs, expectedDowns);
    EXPECT_EQ(std::count(ups.begin(), ups.end(), WORD('C')), 1);
    EXPECT_EQ(std::count(ups.begin(), ups.end(), WORD(VK_DELETE)), 1);
}

TEST(Constraints, BoundsStayWithinTheLimits) {
    TPanel panel(nullptr);
    panel.Constraints().SetMinWidth(50);
    panel.Constraints().SetMinHeight(20);
    panel.Constraints().SetMaxWidth(300);
    panel.Constraints().SetMaxHeight(200);
    struct {
        int width, height;
    } const asked[] = {{10, 10}, {50, 20}, {120, 90}, {300, 200}, {301, 500}, {-5, 1000}};
    for (const auto& a : asked) {
        panel.SetBounds(3, 4, a.width, a.height);
        EXPECT_EQ(panel.Width(), std::clamp(a.width, 50, 300)) << a.width;
        EXPECT_EQ(panel.Height(), std::clamp(a.height, 20, 200)) << a.height;
        EXPECT_EQ(panel.Left(), 3);
    }
    // A new limit applies at once; a maximum below the minimum takes the minimum along.
    panel.SetBounds(0, 0, 250, 150);
    panel.Constraints().SetMaxWidth(40);
    EXPECT_EQ(panel.Width(), 40);
    EXPECT_EQ(panel.Constraints().MinWidth(), 40);
    panel.Constraints().SetMinHeight(180);
    EXPECT_EQ(panel.Height(), 180);
    panel.Constraints().SetMaxWidth(0);   // no limit again
    panel.SetWidth(900);
    EXPECT_EQ(panel.Width(), 900);
    EXPECT_THROW(panel.Constraints().SetMinWidth(-1), EInvalidOperation);
}

TEST(Constraints, TheUserCannotSizeAFormBeyondThem) {
    TForm form(nullptr);
    form.SetBounds(200, 200, 300, 240);
    form.Constraints().SetMinWidth(260);
    form.Constraints().SetMinHeight(200);
    form.Constraints().SetMaxWidth(420);
    form.Constraints().SetMaxHeight(330);
    form.Show();
    SetForegroundWindow(form.Handle());
    testing::PumpUntil([&] { return GetForegroundWindow() == form.Handle(); }, "the form to come to the front");
    MINMAXINFO info{};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 260);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.x, 420);
    EXPECT_EQ(info.ptMaxTrackSize.y, 330);

    // Drag the bottom-right corner with the real pointer: far in, then far out.
    struct {
        const char* what;
        POINT by;   // pointer movement from the corner
        int width, height;
    } const drags[] = {{"smaller than the minimum", {-200, -180}, 260, 200}, {"larger than the maximum", {400, 400}, 420, 330}};
    // Wine's own sizing loop stops one pixel short of the largest tracking size.
    const int slack[] = {0, 1};
    int i = 0;
    for (const auto& d : drags) {
        RECT r;
        GetWindowRect(form.Handle(), &r);
        POINT corner{r.right - 2, r.bottom - 2};
        MovePointer(corner);
        // Win32 sizes in a loop of its own inside the press: another thread moves and releases.
        std::atomic<bool> released{false};
        const DWORD thread = GetCurrentThreadId();
        std::thread mover([corner, by = d.by, thread, &released] {
            auto sizing = [thread] {
                GUITHREADINFO info{sizeof(GUITHREADINFO)};
                return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
            };
            for (int waited = 0; waited < 5000 && !sizing(); waited += 10) Sleep(10);
            for (int step = 1; step <= 4; ++step) {
                SetCursorPos(corner.x + by.x * step / 4, corner.y + by.y * step / 4);
                Sleep(100);   // the loop sizes the frame to each step
            }
            SendMouseButton(MOUSEEVENTF_LEFTUP);
            released = true;
        });
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        testing::PumpUntil([&] { return released.load(); }, "the sizing drag to end");
        mover.join();
        Application().ProcessMessages();
        EXPECT_LE(std::abs(form.Width() - d.width), slack[i]) << d.what << ": " << form.Width();
        EXPECT_LE(std::abs(form.Height() - d.height), slack[i]) << d.what << ": " << form.Height();
        ++i;
    }
}

// Acts on another thread once the dialog shows, since the test's own thread is inside ShowModal.
class TModalDriver {
public:
    // Dialog and Owner are window handles taken on the test's thread.
    TModalDriver(HWND dialog, HWND owner, std::function<void()> act)
        : thread_([=, this] {
              DWORD until = GetTickCount() + 5000;
              while (!(IsWindowVisible(dialog) && GetForegroundWindow() == dialog) && static_cast<int>(until - GetTickCount()) > 0)
                  Sleep(20);
              Sleep(150);
              ownerEnabled_ = IsWindowEnabled(owner) != FALSE;
              act();
              // If the dialog is still up later, a private message ends it with a result no case expects.
              for (int waited = 0; waited < 2500 && IsWindowVisible(dialog); waited += 50) Sleep(50);
              if (IsWindowVisible(dialog)) PostMessageW(dialog, kGiveUp, 0, 0);
          }) {}
    ~TModalDriver() { thread_.join(); }
    bool OwnerWasEnabled() const { return ownerEnabled_; }
    static constexpr UINT kGiveUp = WM_APP + 77;
    static constexpr TModalResult kGaveUp = 99;

private:
    std::atomic<bool> ownerEnabled_{true};
    std::thread thread_;
};

TEST(ModalForms, ShowModalAnswersHowTheFormWasClosed) {
    Application().Initialize();
    TForm* savedMain = Application().MainForm();
    auto* main = new TForm(nullptr);
    main->SetBounds(100, 100, 500, 400);
    main->SetCaption("owner");
    Application().SetMainForm(main);
    main->Show();
    Application().ProcessMessages();
    auto* dialog = new TForm(nullptr);
    dialog->SetBounds(180, 160, 300, 160);
    dialog->SetCaption("dialog");
    auto* ok = testing::AddControl<TButton>(dialog, 20, 100, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* edit = testing::AddControl<TEdit>(dialog, 20, 20, 150, 21);
    dialog->OnShow = [edit](TObject*) { edit->SetFocus(); };
    TModalResult resultInClick = -1;
    ok->OnClick = [&](TObject*) { resultInClick = dialog->ModalResult(); };
    TCloseAction closeAction = TCloseAction::caHide;
    int closeAsks = 0;
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        ++closeAsks;
        action = closeAction;
        closeAction = TCloseAction::caHide;   // a second close goes through
    };
    dialog->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == TModalDriver::kGiveUp) return dialog->SetModalResult(TModalDriver::kGaveUp);
        next(m);
    });

    struct {
        const char* what;
        std::function<void()> keys;
        TCloseAction firstClose;
        TModalResult result;
        int closeAsks;
    } const cases[] = {
        {"Enter clicks the default button", [] { SendChord(VK_RETURN); }, TCloseAction::caHide, mrOk, 1},
        {"Escape cancels", [] { SendChord(VK_ESCAPE); }, TCloseAction::caHide, mrCancel, 1},
        {"Alt+F4 closes and cancels", [] { SendChord(VK_F4, {VK_MENU}); }, TCloseAction::caHide, mrCancel, 1},
        {"OnClose keeps the form open until the second Escape",
         [] {
             SendChord(VK_ESCAPE);
             Sleep(300);
             SendChord(VK_ESCAPE);
         },
         TCloseAction::caNone, mrCancel, 2},
    };
    for (const auto& c : cases) {
        closeAsks = 0;
        closeAction = c.firstClose;
        resultInClick = -1;
        TModalResult result;
        {
            TModalDriver driver(dialog->Handle(), main->Handle(), c.keys);
            result = dialog->ShowModal();
            EXPECT_FALSE(driver.OwnerWasEnabled()) << c.what;
        }
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(closeAsks, c.closeAsks) << c.what;
        EXPECT_FALSE(dialog->Visible()) << c.what;
        EXPECT_FALSE(IsWindowVisible(dialog->Handle())) << c.what;
        EXPECT_TRUE(IsWindowEnabled(main->Handle())) << c.what;
        EXPECT_FALSE(dialog->Modal()) << c.what;
        if (c.result == mrOk) EXPECT_EQ(resultInClick, mrOk);   // set before the click handler runs
        Application().ProcessMessages();
    }
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
    dialog->UnhookWindowProc(&kHookOwner);
    delete dialog;

    // A form that releases itself while modal ends its loop and goes once the loop is left.
    auto* released = new TForm(nullptr);
    released->SetBounds(200, 200, 240, 120);
    auto* quit = testing::AddControl<TButton>(released, 20, 40, 90, 25);
    quit->SetDefault(true);
    quit->OnClick = [released](TObject*) { released->Release(); };
    released->OnShow = [quit](TObject*) { quit->SetFocus(); };
    const int formsBefore = TForm::FormCount();
    TModalResult result;
    {
        TModalDriver driver(released->Handle(), main->Handle(), [] { SendChord(VK_RETURN); });
        result = released->ShowModal();
    }
    EXPECT_EQ(result, mrCancel);
    testing::PumpWhileNot([&] { return TForm::FormCount() == formsBefore - 1; });
    EXPECT_EQ(TForm::FormCount(), formsBefore - 1);
    delete main;
    Application().SetMainForm(savedMain);
}

TEST(SecondaryForms, AreOwnedByTheMainFormsWindow) {
    TForm* savedMain = Application().MainForm();
    auto* main = new TForm(nullptr);
    main->SetBounds(100, 100, 400, 300);
    Application().SetMainForm(main);
    main->Show();
    auto* second = new TForm(nullptr);
    second->SetBounds(150, 150, 200, 150);
    second->Show();
    EXPECT_EQ(GetWindow(second->Handle(), GW_OWNER), main->Handle());
    EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), nullptr);
    // Brought to the front, the main form stays below its owned form.
    SetForegroundWindow(main->Handle());
    SetWindowPos(main->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    testing::PumpUntil([&] { return GetForegroundWindow() == main->Handle(); }, "the main form to come to the front");
    bool secondAbove = false;
    for (HWND w = GetWindow(main->Handle(), GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) secondAbove |= w == second->Handle();
    EXPECT_TRUE(secondAbove);
    // Minimised with it, and back.
    ShowWindow(main->Handle(), SW_MINIMIZE);
    testing::PumpWhileNot([&] { return !IsWindowVisible(second->Handle()); });
    EXPECT_FALSE(IsWindowVisible(second->Handle()));
    ShowWindow(main->Handle(), SW_RESTORE);
    testing::PumpWhileNot([&] { return IsWindowVisible(second->Handle()) != FALSE; });
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    delete second;
    delete main;
    Application().SetMainForm(savedMain);
}

class TCreateTestForm : public TForm {
public:
    explicit TCreateTestForm(TComponent* owner) : TForm(owner) {
        RegisterMethod("formCreate", [this](TObject*) {
            auto* b = dynamic_cast<TButton*>(FindComponent("b"));
            seen.push_back(b ? b->Caption() : "no button yet");
            if (fail) throw EInvalidOperation("create failed");
        });
    }
    std::string ClassName() const override { return "TCreateTestForm"; }
    std::vector<std::string> seen;
    bool fail = false;
};

TEST(FormCreation, OnCreateRunsOnceAfterTheWholeDefinition) {
    const char* text = "object F: TCreateTestForm\n  OnCreate = formCreate\n  object b: TButton\n    Caption = 'Go'\n  end\nend\n";
    for (bool fail : {false, true}) {
        TCreateTestForm form(nullptr);
        form.fail = fail;
        std::vector<std::string> reported;
        auto savedHandler = Application().OnException;
        Application().OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
        EXPECT_NO_THROW(form.ReadDefinition(text));
        Application().OnException = savedHandler;
        EXPECT_EQ(form.seen, std::vector<std::string>{"Go"});
        EXPECT_EQ(reported, fail ? std::vector<std::string>{"create failed"} : std::vector<std::string>{});
        EXPECT_NE(form.FindComponent("b"), nullptr);   // the form stands either way
    }
}

}  // namespace
}  // namespace korvel

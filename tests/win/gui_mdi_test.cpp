// Forms that free themselves (caFree, Release) once the current message has
// been handled, and MDI forms: the frame's real MDI client window, its children
// in the client's Z-order, activation, window state, arrangement and freeing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui_test_support.h"

namespace korvel {
namespace {


// A window's class name in capitals (Win32 compares class names without regard to case).
std::wstring WindowClass(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    CharUpperW(name);
    return name;
}

// Counts of everything a freed form must give back.
struct TLiveCounts {
    int components = TComponent::LiveCount();
    int controls = TControl::LiveControls();
    int windows = GdiCounters().Windows;
    int forms = TForm::FormCount();
    int owned = Application().ComponentCount();
    bool operator==(const TLiveCounts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TLiveCounts& c) {
    return out << c.components << " components, " << c.controls << " controls, " << c.windows << " windows, " << c.forms
               << " forms, " << c.owned << " owned by the application";
}

class FreedFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = new TForm(nullptr);
        main->SetBounds(60, 60, 200, 150);
        main->Show();
        Application().SetMainForm(main);
        before = TLiveCounts{};
        second = new TForm(&Application());   // as CreateForm makes them
        second->SetBounds(300, 100, 260, 160);
        button = new TButton(second);
        button->SetBounds(20, 20, 100, 30);
        button->SetParent(second);
        second->Show();
        Application().ProcessMessages();
        handle = second->Handle();
    }
    void TearDown() override {
        delete main;
        Application().ProcessMessages();
    }

    TForm* main = nullptr;
    TForm* second = nullptr;
    TButton* button = nullptr;
    HWND handle = nullptr;
    TLiveCounts before;
};

TEST_F(FreedFormTest, CloseWithCaFreeFreesTheFormAfterTheCurrentMessage) {
    second->OnClose = [](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, TCloseAction::caHide);   // what a second form does unless told otherwise
        action = TCloseAction::caFree;
    };
    HWND buttonHandle = button->Handle();
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(handle));   // still whole right after the message that closed it
    // Messages already on their way to the form and its button.
    PostMessageW(handle, WM_USER + 7, 0, 0);
    PostMessageW(buttonHandle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(buttonHandle, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    InvalidateRect(handle, nullptr, TRUE);
    Application().ProcessMessages();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(IsWindow(buttonHandle));
    EXPECT_EQ(TLiveCounts{}, before);
    for (int i = 0; i < TForm::FormCount(); ++i) EXPECT_NE(TForm::Forms(i)->Handle(), handle);
    EXPECT_EQ(Application().MainForm(), main);
}

TEST_F(FreedFormTest, ReleaseInsideItsOwnClickHandlerWaitsUntilTheHandlerHasReturned) {
    bool aliveInHandler = false;
    std::string captionInHandler;
    second->SetCaption("second");
    button->OnClick = [&](TObject*) {
        second->Release();
        second->Release();   // twice: still freed once
        Application().ProcessMessages();   // a nested message loop sees the release message arrive
        aliveInHandler = IsWindow(handle) && TForm::FormCount() == before.forms + 1;
        captionInHandler = second->Caption();
    };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(aliveInHandler);
    EXPECT_EQ(captionInHandler, "second");
    Application().ProcessMessages();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(TLiveCounts{}, before);
}

TEST_F(FreedFormTest, ReleasedFormsThatOwnEachOtherAreEachFreedOnce) {
    auto* inner = new TForm(second);
    inner->SetBounds(320, 140, 120, 80);
    inner->Show();
    HWND innerHandle = inner->Handle();
    button->OnClick = [&](TObject*) {
        second->Release();   // the owner first: freeing the owned one must not free the owner from inside
        inner->Release();
        Application().ProcessMessages();
    };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    Application().ProcessMessages();
    EXPECT_FALSE(IsWindow(innerHandle));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(TLiveCounts{}, before);
}

TEST_F(FreedFormTest, AFormFreedBeforeItsReleaseMessageArrivesIsNotFreedAgain) {
    second->Release();
    delete second;   // its owner could do this too
    Application().ProcessMessages();
    EXPECT_EQ(TLiveCounts{}, before);
}

TEST_F(FreedFormTest, MainFormWithCaFreeEndsTheProgramInsteadOfBeingReleased) {
    main->Close();   // its default action is caFree
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    Application().ProcessMessages();
    EXPECT_EQ(TForm::FormCount(), before.forms + 1);   // the main form is still there for the program to free
    Application().Initialize();
    delete second;
}

// A frame with a top-aligned tool panel and three children owned by it.
class MDITest : public ::testing::Test {
protected:
    void SetUp() override {
        before = TLiveCounts{};
        frame = new TForm(nullptr);
        frame->SetFormStyle(TFormStyle::fsMDIForm);
        frame->SetBounds(80, 80, 640, 480);
        frame->SetCaption("frame");
        tools = new TPanel(frame);
        tools->SetHeight(32);
        tools->SetAlign(TAlign::alTop);
        tools->SetParent(frame);
        frame->Show();
        SetForegroundWindow(frame->Handle());
        for (int i = 0; i < 3; ++i) {
            auto* child = new TForm(frame);
            child->SetFormStyle(TFormStyle::fsMDIChild);
            child->SetName("child" + std::to_string(i));
            child->SetBounds(20 * i, 20 * i, 240, 160);
            child->Show();
            children.push_back(child);
            Application().ProcessMessages();
        }
        Application().ProcessMessages();
    }
    void TearDown() override {
        delete frame;
        Application().ProcessMessages();
        EXPECT_EQ(TLiveCounts{}, before);
    }
    std::vector<std::string> ZOrder() {
        std::vector<std::string> names;
        for (int i = 0; i < frame->MDIChildCount(); ++i) names.push_back(frame->MDIChildren(i)->Name());
        return names;
    }

    TLiveCounts before;
    TForm* frame = nullptr;
    TPanel* tools = nullptr;
    std::vector<TForm*> children;
};

TEST_F(MDITest, ClientWindowIsARealMDIClientInTheRoomTheAlignedControlsLeave) {
    HWND client = frame->ClientHandle();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(WindowClass(client), L"MDICLIENT");
    EXPECT_EQ(GetParent(client), frame->Handle());
    RECT r;
    GetWindowRect(client, &r);
    MapWindowPoints(nullptr, frame->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, frame->ClientWidth());
    EXPECT_EQ(r.bottom, frame->ClientHeight());
    frame->SetBounds(80, 80, 500, 400);   // follows the frame's size
    Application().ProcessMessages();
    GetWindowRect(client, &r);
    MapWindowPoints(nullptr, frame->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right, frame->ClientWidth());
    EXPECT_EQ(r.bottom, frame->ClientHeight());
    for (TForm* child : children) {
        EXPECT_EQ(GetParent(child->Handle()), client) << child->Name();
        EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) << child->Name();
        EXPECT_EQ(child->ClientHandle(), nullptr);
    }
    EXPECT_EQ(TForm::MDIParentForm(), frame);
}

TEST_F(MDITest, ChildrenCountActivateAndFollowTheClientsZOrder) {
    EXPECT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(ZOrder(), (std::vector<std::string>{"child2", "child1", "child0"}));
    EXPECT_EQ(frame->ActiveMDIChild(), children[2]);
    EXPECT_THROW(frame->MDIChildren(3), EInvalidOperation);
    EXPECT_THROW(frame->MDIChildren(-1), EInvalidOperation);

    SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(children[0]->Handle()), 0);
    Application().ProcessMessages();
    EXPECT_EQ(frame->ActiveMDIChild(), children[0]);
    EXPECT_EQ(ZOrder(), (std::vector<std::string>{"child0", "child2", "child1"}));

    frame->Next();   // the next one comes up, the one that was active goes to the bottom
    Application().ProcessMessages();
    EXPECT_EQ(frame->ActiveMDIChild(), children[2]);
    EXPECT_EQ(ZOrder(), (std::vector<std::string>{"child2", "child1", "child0"}));
    frame->Previous();
    Application().ProcessMessages();
    EXPECT_EQ(frame->ActiveMDIChild(), children[0]);
}

TEST_F(MDITest, WindowStateMaximisesAndRestoresAChildInsideTheClient) {
    TForm* child = children[1];
    RECT normal = child->BoundsRect();
    child->SetWindowState(TWindowState::wsMaximized);
    Application().ProcessMessages();
    EXPECT_EQ(child->WindowState(), TWindowState::wsMaximized);
    EXPECT_TRUE(IsZoomed(child->Handle()));
    RECT clientArea;
    GetClientRect(frame->ClientHandle(), &clientArea);
    EXPECT_GE(child->ClientWidth(), clientArea.right);   // the child's client covers the client window
    EXPECT_GE(child->ClientHeight(), clientArea.bottom);
    EXPECT_EQ(frame->ActiveMDIChild(), child);

    child->SetWindowState(TWindowState::wsNormal);
    Application().ProcessMessages();
    EXPECT_EQ(child->WindowState(), TWindowState::wsNormal);
    RECT restored = child->BoundsRect();
    EXPECT_TRUE(EqualRect(&restored, &normal));
}

TEST_F(MDITest, ClosingAChildMinimisesItUnlessItAsksToBeFreed) {
    children[0]->Close();
    Application().ProcessMessages();
    EXPECT_EQ(children[0]->WindowState(), TWindowState::wsMinimized);
    EXPECT_EQ(frame->MDIChildCount(), 3);

    int ownedBefore = frame->ComponentCount();
    int controlsBefore = TControl::LiveControls();
    HWND gone = children[1]->Handle();
    children[1]->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    SendMessageW(gone, WM_SYSCOMMAND, SC_CLOSE, 0);   // the child's own close command
    Application().ProcessMessages();
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(frame->ComponentCount(), ownedBefore - 1);
    EXPECT_EQ(TControl::LiveControls(), controlsBefore - 1);
    EXPECT_EQ(ZOrder().size(), 2u);
    EXPECT_NE(frame->ActiveMDIChild(), nullptr);
}

TEST_F(MDITest, CtrlF4InsideTheFrameClosesTheActiveChild) {
    TForm* active = frame->ActiveMDIChild();
    ASSERT_NE(active, nullptr);
    active->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    INPUT keys[4] = {};
    for (auto& k : keys) k.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = keys[2].ki.wVk = VK_F4;
    keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
    Application().ProcessMessages();
    EXPECT_EQ(frame->MDIChildCount(), 2);
}

TEST_F(MDITest, TileAndCascadeArrangeTheChildren) {
    frame->Tile();
    Application().ProcessMessages();
    for (size_t a = 0; a < children.size(); ++a)
        for (size_t b = a + 1; b < children.size(); ++b) {
            RECT ra = children[a]->BoundsRect(), rb = children[b]->BoundsRect(), overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb)) << a << " and " << b << " overlap after tiling";
        }
    frame->Cascade();
    Application().ProcessMessages();
    std::vector<int> tops;
    for (int i = 0; i < frame->MDIChildCount(); ++i) tops.push_back(frame->MDIChildren(i)->Top());
    ASSERT_EQ(tops.size(), 3u);
    EXPECT_GT(tops[0], tops[1]);   // the top one is the furthest down the cascade
    EXPECT_GT(tops[1], tops[2]);
}

TEST(MDIForms, AChildWithoutAnMDIFormIsRefusedWithAClearMessage) {
    TForm form(nullptr);
    try {
        form.SetFormStyle(TFormStyle::fsMDIChild);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Cannot create an MDI child form: the application has no MDI form");
    }
    EXPECT_EQ(form.FormStyle(), TFormStyle::fsNormal);
    form.Show();   // still a usable ordinary form
    EXPECT_FALSE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
}

TEST(MDIForms, DefinitionsNameTheFormStyle) {
    RegisterFrameworkClasses();
    auto* frame = new TForm(nullptr);
    frame->ReadDefinition("object Frame: TForm\n  FormStyle = fsMDIForm\n  Caption = 'frame'\nend\n");
    EXPECT_EQ(frame->FormStyle(), TFormStyle::fsMDIForm);
    EXPECT_EQ(WindowClass(frame->ClientHandle()), L"MDICLIENT");
    auto* child = new TForm(frame);
    child->ReadDefinition("object Child: TForm\n  FormStyle = fsMDIChild\nend\n");
    child->Show();
    EXPECT_EQ(GetParent(child->Handle()), frame->ClientHandle());
    EXPECT_EQ(frame->MDIChildCount(), 1);
    delete frame;

    TForm orphan(nullptr);
    try {
        orphan.ReadDefinition("object Orphan: TForm\n  Caption = 'x'\n  FormStyle = fsMDIChild\nend\n");
        FAIL() << "no exception";
    } catch (const EDefinitionError& error) {
        EXPECT_EQ(error.Line(), 3);
    }
    EXPECT_THROW(orphan.ReadDefinition("object Orphan: TForm\n  FormStyle = fsMDIFrame\nend\n"), EDefinitionError);
}

}  // namespace
}  // namespace korvel

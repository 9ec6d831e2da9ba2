// What a native child tells its parent comes back to the child as CN_* (0xBC00
// + the message): scrolling, WM_NOTIFY, owner drawing and measuring, and the
// colour requests; the child's answer is the parent's answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "gui/forms.h"
#include "gui/std_controls.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::ClickPointer;
using testing::ScreenPixel;

const int kHookOwner = 0;
constexpr TColor kDrawn = 0x000080FF;
constexpr int kItemHeight = 23;

// A native control of any class, recording the reflected notifications it receives.
class TNativeProbe : public TWinControl {
public:
    TNativeProbe(TComponent* owner, const wchar_t* cls, DWORD style) : TWinControl(owner), class_(cls), style_(style) {
        SetTabStop(false);
        HookWindowProc(&kHookOwner, [this](TMessage& m, const TWndNext& next) {
            if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) ++Received[m.Msg];
            if (m.Msg == CN_MEASUREITEM) reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = kItemHeight;
            if (m.Msg == CN_DRAWITEM) {
                const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
                HBRUSH brush = CreateSolidBrush(kDrawn);
                FillRect(item->hDC, &item->rcItem, brush);
                DeleteObject(brush);
                m.Result = TRUE;
                return;
            }
            if (m.Msg == CN_NOTIFY) {
                LastNotifyCode = reinterpret_cast<const NMHDR*>(m.LParam)->code;
                m.Result = 77;
                return;
            }
            next(m);
        });
    }
    std::map<UINT, int> Received;
    UINT LastNotifyCode = 0;

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        params.WinClassName = class_;
        params.SystemClass = true;
        params.Style |= style_;
    }

private:
    const wchar_t* class_;
    DWORD style_;
};

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(160, 160, 400, 260);
        form->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
    }
    TNativeProbe* Add(const wchar_t* cls, DWORD style, RECT r) {
        auto* probe = new TNativeProbe(form, cls, style);
        probe->SetBoundsRect(r);
        probe->SetParent(form);
        Application().ProcessMessages();
        return probe;
    }
    TForm* form = nullptr;
};

TEST_F(ReflectionTest, ScrollBarsReflectTheirScrollingAndColourRequests) {
    struct {
        const char* bar;
        DWORD style;
        RECT bounds;
        POINT arrow;   // inside the bar: its far arrow
        UINT scroll;
    } const bars[] = {
        {"horizontal", SBS_HORZ, {10, 10, 210, 27}, {192, 8}, CN_HSCROLL},
        {"vertical", SBS_VERT, {250, 10, 267, 210}, {8, 195}, CN_VSCROLL},
    };
    for (const auto& b : bars) {
        TNativeProbe* bar = Add(L"SCROLLBAR", b.style, b.bounds);
        EXPECT_GE(bar->Received[CN_CTLCOLORSCROLLBAR], 1) << b.bar << ": painted with the parent's colour request";
        ClickPointer(bar->ClientToScreen(b.arrow));
        EXPECT_GE(bar->Received[b.scroll], 1) << b.bar;
        EXPECT_EQ(bar->Received[b.scroll == CN_HSCROLL ? CN_VSCROLL : CN_HSCROLL], 0) << b.bar;
    }
}

TEST_F(ReflectionTest, OwnerDrawnChildrenMeasureAndDrawThemselves) {
    TNativeProbe* button = Add(L"BUTTON", BS_OWNERDRAW, {10, 10, 110, 40});
    EXPECT_GE(button->Received[CN_DRAWITEM], 1);
    POINT inside = button->ClientToScreen({50, 15});
    EXPECT_EQ(ScreenPixel(inside.x, inside.y), kDrawn);

    // A list box measures its items while CreateWindowEx runs, before its handle is known.
    TNativeProbe* list = Add(L"LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_BORDER, {150, 10, 300, 150});
    EXPECT_EQ(list->Received[CN_MEASUREITEM], 1);
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETITEMHEIGHT, 0, 0), kItemHeight);
    SendMessageW(list->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    list->Repaint();
    Application().ProcessMessages();
    EXPECT_GE(list->Received[CN_DRAWITEM], 1);
    EXPECT_GE(list->Received[CN_CTLCOLORLISTBOX], 1);
    POINT item = list->ClientToScreen({20, kItemHeight / 2});
    EXPECT_EQ(ScreenPixel(item.x, item.y), kDrawn);
}

TEST_F(ReflectionTest, NotifyGoesToTheSenderAndItsAnswerIsTheParents) {
    TNativeProbe* button = Add(L"BUTTON", BS_PUSHBUTTON, {10, 10, 110, 40});
    NMHDR header{button->Handle(), static_cast<UINT_PTR>(GetDlgCtrlID(button->Handle())), 0x1234};
    LRESULT answer = SendMessageW(form->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(button->Received[CN_NOTIFY], 1);
    EXPECT_EQ(button->LastNotifyCode, 0x1234u);
    EXPECT_EQ(answer, 77);
    // From a window that is not ours nothing is reflected.
    HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr);
    NMHDR stranger{foreign, 0, 0x1234};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&stranger)), 0);
    EXPECT_EQ(button->Received[CN_NOTIFY], 1);
    DestroyWindow(foreign);
}

}  // namespace
}  // namespace korvel

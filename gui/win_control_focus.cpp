// A windowed control's keyboard side: its place in the tab order, moving the
// focus along it, key events, accelerators and menu shortcuts.
#include "gui/win_control.h"

#include <algorithm>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/text.h"

namespace korvel {

namespace {

wchar_t UpperChar(wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

}  // namespace

bool IsAccel(UINT key, const std::string& caption) {
    if (key < 0x20 || key > 0xFFFF) return false;
    std::wstring text = Widen(caption);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {   // a literal ampersand
            ++i;
            continue;
        }
        return UpperChar(text[i + 1]) == UpperChar(static_cast<wchar_t>(key));
    }
    return false;
}

void TWinControl::SetTabStop(bool value) {
    if (value == tabStop_) return;
    tabStop_ = value;
    if (value) ChangeStyle(WS_TABSTOP, 0);
    else ChangeStyle(0, WS_TABSTOP);
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (IsLoading()) {
        storedTabOrder_ = value;
        return;
    }
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::ApplyStoredTabOrders() {
    const size_t n = tabList_.size();
    std::vector<TWinControl*> placed(n, nullptr);
    std::vector<TWinControl*> rest;
    for (TWinControl* c : tabList_) {
        const int wanted = c->storedTabOrder_;
        c->storedTabOrder_ = -1;
        if (wanted >= 0 && static_cast<size_t>(wanted) < n && !placed[static_cast<size_t>(wanted)])
            placed[static_cast<size_t>(wanted)] = c;
        else
            rest.push_back(c);
    }
    auto next = rest.begin();
    for (TWinControl*& slot : placed)
        if (!slot) slot = *next++;
    tabList_ = std::move(placed);
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
    std::vector<TWinControl*> out;
    for (TWinControl* c : tabList_) {
        out.push_back(c);
        auto inner = c->TabOrderList();
        out.insert(out.end(), inner.begin(), inner.end());
    }
    return out;
}

bool TWinControl::SelectNext(TWinControl* current, bool forward, bool siblingsOnly) {
    auto list = siblingsOnly ? tabList_ : TabOrderList();
    if (list.empty()) return false;
    int n = static_cast<int>(list.size());
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    if (start == n) start = forward ? n - 1 : 0;
    for (int step = 1; step <= n; ++step) {
        int i = ((start + (forward ? step : -step)) % n + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current) break;
        if (c->TabStop() && c->CanFocus()) {
            c->SetFocus();
            return true;
        }
    }
    return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::OnKeyMessage(TMessage& m) {
    if (m.Msg == WM_CHAR) {
        auto key = static_cast<wchar_t>(m.WParam);
        KeyPress(key);
        m.WParam = key;
        return key == 0;
    }
    auto key = static_cast<WORD>(m.WParam);
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) KeyDown(key, KeyboardShiftState());
    else KeyUp(key, KeyboardShiftState());
    m.WParam = key;
    return key == 0;
}

bool TWinControl::IsMenuKey(WORD key) {
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
    TShortCut shortCut = ShortCutOfKey(key);
    TControl* top = this;
    for (TControl* c = this; c; c = c->Parent()) {
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
        top = c;
    }
    auto* form = dynamic_cast<TForm*>(top);
    return form && form->Menu() && form->Menu()->IsShortCut(shortCut);
}

}  // namespace korvel

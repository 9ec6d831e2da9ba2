#include "gui/list_controls.h"

#include <algorithm>

#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/messages.h"
#include "gui/text.h"
#include "gui/text_convert.h"

namespace korvel {

// ---- TListBoxItems ----------------------------------------------------------------

const std::string& TListBoxItems::Strings(int index) const {
    box_.CheckIndex(index, false);
    return items_[static_cast<size_t>(index)];
}

int TListBoxItems::Add(const std::string& item) {
    Insert(Count(), item);
    return Count() - 1;
}

void TListBoxItems::Insert(int index, const std::string& item) {
    box_.CheckIndex(index, true);
    items_.insert(items_.begin() + index, item);
    if (box_.selected_.size() > static_cast<size_t>(index)) box_.selected_.insert(box_.selected_.begin() + index, false);
    if (HWND h = box_.LiveHandle())
        SendMessageW(h, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(item).c_str()));
    else if (box_.itemIndex_ >= index)
        ++box_.itemIndex_;
}

void TListBoxItems::Delete(int index) {
    box_.CheckIndex(index, false);
    items_.erase(items_.begin() + index);
    if (box_.selected_.size() > static_cast<size_t>(index)) box_.selected_.erase(box_.selected_.begin() + index);
    if (HWND h = box_.LiveHandle()) {
        SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    } else if (box_.itemIndex_ == index) {
        box_.itemIndex_ = -1;
    } else if (box_.itemIndex_ > index) {
        --box_.itemIndex_;
    }
}

void TListBoxItems::Clear() { Assign({}); }

void TListBoxItems::Assign(const std::vector<std::string>& items) {
    items_ = items;
    box_.selected_.clear();
    box_.itemIndex_ = -1;
    box_.topIndex_ = 0;
    if (HWND h = box_.LiveHandle()) {
        SendMessageW(h, WM_SETREDRAW, FALSE, 0);
        SendMessageW(h, LB_RESETCONTENT, 0, 0);
        for (const std::string& item : items_)
            SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        // Releases the hold on every path: a held window stops painting (see DESIGN).
        SendMessageW(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
}

int TListBoxItems::IndexOf(const std::string& item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// ---- TListBox ---------------------------------------------------------------------

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

HWND TListBox::LiveHandle() const { return HandleAllocated() ? const_cast<TListBox*>(this)->Handle() : nullptr; }

void TListBox::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > items_.Count() - (allowEnd ? 0 : 1))
        throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(index)}));
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"LISTBOX";
    params.SystemClass = true;
    // The window keeps the bounds it is given, not a whole number of rows.
    params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                    (multiSelect_ ? LBS_EXTENDEDSEL : 0);
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::HandleCreated() {
    HWND h = Handle();
    for (const std::string& item : items_.items_)
        SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    if (multiSelect_) {
        for (size_t i = 0; i < selected_.size() && i < items_.items_.size(); ++i)
            if (selected_[i]) SendMessageW(h, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        if (itemIndex_ >= 0) SendMessageW(h, LB_SETCARETINDEX, static_cast<WPARAM>(itemIndex_), FALSE);
    } else if (itemIndex_ >= 0) {
        SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    }
    if (topIndex_ > 0) SendMessageW(h, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TListBox::KeepSelection() {
    HWND h = LiveHandle();
    if (!h) return;
    itemIndex_ = ItemIndex();
    topIndex_ = TopIndex();
    selected_.assign(items_.items_.size(), false);
    if (multiSelect_)
        for (size_t i = 0; i < selected_.size(); ++i) selected_[i] = SendMessageW(h, LB_GETSEL, i, 0) > 0;
}

int TListBox::ItemIndex() const {
    HWND h = LiveHandle();
    if (!h) return itemIndex_;
    const auto message = multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL;
    const auto index = static_cast<int>(SendMessageW(h, message, 0, 0));
    return index < 0 || index >= items_.Count() ? -1 : index;
}

void TListBox::SetItemIndex(int value) {
    if (value != -1) CheckIndex(value, false);
    if (ItemIndex() == value && !multiSelect_) return;
    itemIndex_ = value;
    if (HWND h = LiveHandle()) {
        if (multiSelect_) {
            SendMessageW(h, LB_SETSEL, FALSE, -1);
            if (value >= 0) {
                SendMessageW(h, LB_SETSEL, TRUE, value);
                SendMessageW(h, LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
            }
        } else {
            SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
        }
    } else if (multiSelect_) {
        selected_.assign(items_.items_.size(), false);
        if (value >= 0) selected_[static_cast<size_t>(value)] = true;
    }
}

void TListBox::SetMultiSelect(bool value) {
    if (value == multiSelect_) return;
    KeepSelection();
    multiSelect_ = value;
    if (!value) selected_.clear();
    if (HandleAllocated()) RecreateWnd();
}

bool TListBox::Selected(int index) const {
    CheckIndex(index, false);
    HWND h = LiveHandle();
    if (!multiSelect_) return ItemIndex() == index;
    if (h) return SendMessageW(h, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return static_cast<size_t>(index) < selected_.size() && selected_[static_cast<size_t>(index)];
}

void TListBox::SetSelected(int index, bool value) {
    CheckIndex(index, false);
    if (!multiSelect_) {
        if (value) SetItemIndex(index);
        else if (ItemIndex() == index) SetItemIndex(-1);
        return;
    }
    if (HWND h = LiveHandle()) {
        SendMessageW(h, LB_SETSEL, value, index);
        return;
    }
    selected_.resize(items_.items_.size(), false);
    selected_[static_cast<size_t>(index)] = value;
}

int TListBox::SelCount() const {
    if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
    if (HWND h = LiveHandle()) return static_cast<int>(SendMessageW(h, LB_GETSELCOUNT, 0, 0));
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

int TListBox::TopIndex() const {
    HWND h = LiveHandle();
    return h ? static_cast<int>(SendMessageW(h, LB_GETTOPINDEX, 0, 0)) : topIndex_;
}

void TListBox::SetTopIndex(int value) {
    topIndex_ = std::max(0, value);
    if (HWND h = LiveHandle()) SendMessageW(h, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

int TListBox::ItemHeight() const {
    HWND h = LiveHandle();
    return h ? static_cast<int>(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0)) : 0;
}

void TListBox::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    if (HandleAllocated()) {
        KeepSelection();
        RecreateWnd();
    }
}

void TListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == LBN_SELCHANGE) {
            itemIndex_ = ItemIndex();
            Click();
        }
        return;
    case WM_DESTROY: KeepSelection(); break;   // a re-created window shows the same selection and rows
    }
    TWinControl::WndProc(m);
}

// ---- registration -------------------------------------------------------------------

void RegisterListControlClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& registry = TClassRegistry::Instance();
        registry.RegisterClass<TListBox>("TListBox", "TWinControl");
        using S = std::function<void(TListBox&, const TValue&, TReadContext&)>;
        const auto prop = [&registry](const std::string& name, S setter) {
            registry.RegisterProperty<TListBox>("TListBox", name, std::move(setter));
        };
        prop("Items", [](TListBox& b, const TValue& v, TReadContext&) {
            if (v.Kind != TValueKind::StringList) throw EConvertError("a list of strings in parentheses is expected");
            b.Items().Assign(v.Items);
        });
        prop("ItemIndex", [](TListBox& b, const TValue& v, TReadContext&) { b.SetItemIndex(v.AsInteger()); });
        prop("MultiSelect", [](TListBox& b, const TValue& v, TReadContext&) { b.SetMultiSelect(v.AsBoolean()); });
        prop("BorderStyle", [](TListBox& b, const TValue& v, TReadContext&) {
            b.SetBorderStyle(static_cast<TBorderStyle>(v.AsEnum({{"bsNone", 0}, {"bsSingle", 1}})));
        });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel

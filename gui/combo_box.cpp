#include "gui/combo_box.h"

#include <algorithm>
#include <functional>

#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

// ---- TComboBoxItems -----------------------------------------------------------------

const std::string& TComboBoxItems::Strings(int index) const {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(index)}));
    return items_[static_cast<std::size_t>(index)];
}

void TComboBoxItems::Add(const std::string& item) {
    items_.push_back(item);
    if (combo_.HandleAllocated())
        SendMessageW(combo_.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void TComboBoxItems::Clear() {
    items_.clear();
    combo_.itemIndex_ = -1;
    if (combo_.HandleAllocated()) SendMessageW(combo_.Handle(), CB_RESETCONTENT, 0, 0);
}

void TComboBoxItems::Assign(const std::vector<std::string>& items) {
    Clear();
    for (const std::string& item : items) Add(item);
}

int TComboBoxItems::IndexOf(const std::string& text) const {
    auto it = std::find(items_.begin(), items_.end(), text);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// ---- TComboBox ----------------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    SetTabStop(true);
}

void TComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"COMBOBOX";
    params.SystemClass = true;
    // The list's own scroll bar, and an edit field that scrolls its text.
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL |
                    (style_ == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    if (OwnerDrawn()) params.Style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    // Children (the edit field) are painted by themselves, never over by the face.
    params.Style |= WS_CLIPCHILDREN;
}

void TComboBox::HandleCreated() {
    HWND h = Handle();
    for (const std::string& item : items_.items_)
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    if (itemIndex_ >= 0) SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    else if (style_ == TComboBoxStyle::csDropDown) SetWindowTextW(h, Widen(text_).c_str());
    ApplyDropDownCount();
}

int TComboBox::ItemHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

// A combo box's window height on creation or on a later resize is its closed
// height plus the open list's: Win32 keeps the difference as the list's height.
void TComboBox::ApplyDropDownCount() {
    if (!HandleAllocated()) return;
    RECT r{};
    GetWindowRect(Handle(), &r);
    // Fewer items than that make a shorter list by themselves.
    const int list = dropDownCount_ * static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0)) + 2;
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + list,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    if (value == style_) return;
    const std::string text = Text();
    const int index = ItemIndex();
    style_ = value;
    itemIndex_ = index;
    text_ = text;
    RecreateWnd();
}

int TComboBox::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    // Handle() only creates a missing window, and there is one.
    return static_cast<int>(SendMessageW(const_cast<TComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_.Count())
        throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(value)}));
    itemIndex_ = value;
    text_ = value >= 0 ? items_.Strings(value) : std::string();
    if (HandleAllocated()) {
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
        Invalidate();
    }
    announced_ = Text();
    Perform(CM_TEXTCHANGED);
}

void TComboBox::SetDropDownCount(int value) {
    if (value < 1) throw EInvalidOperation("DropDownCount must be at least 1");
    dropDownCount_ = value;
    ApplyDropDownCount();
}

bool TComboBox::DroppedDown() const {
    return HandleAllocated() &&
           SendMessageW(const_cast<TComboBox*>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool value) {
    if (HandleAllocated()) SendMessageW(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

std::string TComboBox::SelectedItemText() const {
    const int index = ItemIndex();
    return index >= 0 && index < items_.Count() ? items_.Strings(index) : std::string();
}

std::string TComboBox::GetText() const {
    if (style_ == TComboBoxStyle::csDropDownList) return SelectedItemText();
    return TWinControl::GetText();
}

void TComboBox::SetTextValue(const std::string& value) {
    if (style_ == TComboBoxStyle::csDropDownList) {
        // The list kind shows items only: the text chooses one (or none).
        const int index = items_.IndexOf(value);
        if (index != ItemIndex()) SetItemIndex(index);
        return;
    }
    if (value == GetText()) return;
    text_ = value;
    itemIndex_ = items_.IndexOf(value);
    if (HandleAllocated()) {
        // CB_SETCURSEL shows the item in the edit field; a text of no item chooses none first.
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
        if (itemIndex_ < 0) SetWindowTextW(Handle(), Widen(value).c_str());
    }
    announced_ = value;
    Perform(CM_TEXTCHANGED);
}

void TComboBox::Change() {
    Perform(CM_TEXTCHANGED);
    if (OnChange && !IsLoading()) OnChange(this);
}

void TComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

// A new item chosen: the list tells before the edit field shows it, so the text
// is the item's.
void TComboBox::OnSelectionChanged() {
    const int index = ItemIndex();
    if (index < 0) return;
    itemIndex_ = index;
    const std::string text = items_.Strings(index);
    if (text == announced_) return;
    announced_ = text;
    Change();
}

void TComboBox::OnEditChanged() {
    const std::string text = TWinControl::GetText();
    if (text == announced_) return;
    announced_ = text;
    itemIndex_ = items_.IndexOf(text);
    Change();
}

void TComboBox::OnDroppedDown() {
    dropped_ = true;
    closing_ = TClosing::None;
    droppedIndex_ = ItemIndex();
    droppedText_ = Text();
    DropDown();
}

void TComboBox::OnClosedUp() {
    dropped_ = false;
    if (closing_ == TClosing::Undo) {
        RestoreDroppedChoice();
    } else {
        // A choice by the pointer and Enter leaves the edit field as it was.
        const int index = ItemIndex();
        if (style_ == TComboBoxStyle::csDropDown && index >= 0 && TWinControl::GetText() != items_.Strings(index))
            SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        OnSelectionChanged();
    }
    closing_ = TClosing::None;
    CloseUp();
}

void TComboBox::RestoreDroppedChoice() {
    if (ItemIndex() == droppedIndex_) return;
    itemIndex_ = droppedIndex_;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(droppedIndex_), 0);
    // No item chosen in the edit kind: the typed text comes back.
    if (droppedIndex_ < 0 && style_ == TComboBoxStyle::csDropDown) SetWindowTextW(Handle(), Widen(droppedText_).c_str());
    Invalidate();
}

bool TComboBox::AnswerDialogKey(TMessage& m) {
    if ((m.WParam != VK_RETURN && m.WParam != VK_ESCAPE) || !DroppedDown()) return false;
    closing_ = m.WParam == VK_RETURN ? TClosing::Take : TClosing::Undo;
    SetDroppedDown(false);
    m.Result = 1;
    return true;
}

void TComboBox::OnMeasureItem(TMessage& m) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    item->itemHeight = static_cast<UINT>(ItemHeight());
    m.Result = TRUE;
}

void TComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool selected = item.itemState & ODS_SELECTED;
    SetBkColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring text =
        static_cast<int>(item.itemID) >= 0 && static_cast<int>(item.itemID) < items_.Count()
            ? Widen(items_.Strings(static_cast<int>(item.itemID)))
            : std::wstring();
    ExtTextOutW(item.hDC, item.rcItem.left + 2, item.rcItem.top, ETO_OPAQUE, &item.rcItem, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void TComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
            if (!dropped_) OnSelectionChanged();
            return;
        case CBN_EDITCHANGE:   OnEditChanged(); return;
        case CBN_DROPDOWN:     OnDroppedDown(); return;
        case CBN_SELENDOK:     if (closing_ == TClosing::None) closing_ = TClosing::Take; return;
        case CBN_SELENDCANCEL: if (closing_ == TClosing::None) closing_ = TClosing::Undo; return;
        case CBN_CLOSEUP:      OnClosedUp(); return;
        }
        break;
    case CM_DIALOGKEY:
        if (AnswerDialogKey(m)) return;
        break;
    case WM_DESTROY:     itemIndex_ = ItemIndex(); break;   // for the next window (RecreateWnd)
    case CN_MEASUREITEM: return OnMeasureItem(m);
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    // The edit field and the list ask the combo box for their colours; the
    // native control would ask our parent, which does not know these windows.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        m.Result = Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    TWinControl::WndProc(m);
}

// ---- registration -----------------------------------------------------------------------

void RegisterComboBoxClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TComboBox>("TComboBox", "TWinControl");
        using S = std::function<void(TComboBox&, const TValue&, TReadContext&)>;
        const auto prop = [&r](const std::string& name, S setter) { r.RegisterProperty<TComboBox>("TComboBox", name, std::move(setter)); };
        prop("Style", [](TComboBox& c, const TValue& v, TReadContext&) {
            c.SetStyle(static_cast<TComboBoxStyle>(
                v.AsEnum({{"csDropDown", int(TComboBoxStyle::csDropDown)}, {"csDropDownList", int(TComboBoxStyle::csDropDownList)}})));
        });
        prop("Items", [](TComboBox& c, const TValue& v, TReadContext&) {
            if (v.Kind != TValueKind::StringList) throw EConvertError("a list of strings in parentheses is expected");
            c.Items().Assign(v.Items);
        });
        prop("ItemIndex", [](TComboBox& c, const TValue& v, TReadContext&) { c.SetItemIndex(v.AsInteger()); });
        prop("DropDownCount", [](TComboBox& c, const TValue& v, TReadContext&) { c.SetDropDownCount(v.AsInteger()); });
        prop("TabOrder", [](TComboBox& c, const TValue& v, TReadContext&) { c.SetTabOrder(v.AsInteger()); });
        prop("TabStop", [](TComboBox& c, const TValue& v, TReadContext&) { c.SetTabStop(v.AsBoolean()); });
        prop("OnChange", [](TComboBox& c, const TValue& v, TReadContext& x) { c.OnChange = x.Handler(v); });
        prop("OnDropDown", [](TComboBox& c, const TValue& v, TReadContext& x) { c.OnDropDown = x.Handler(v); });
        prop("OnCloseUp", [](TComboBox& c, const TValue& v, TReadContext& x) { c.OnCloseUp = x.Handler(v); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel

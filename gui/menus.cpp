#include "gui/menus.h"

#include <algorithm>
#include <unordered_map>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/image_list.h"
#include "gui/text.h"

namespace korvel {
namespace {

int liveItems = 0;

std::unordered_map<UINT, TMenuItem*>& Commands() {
    static auto* commands = new std::unordered_map<UINT, TMenuItem*>;
    return *commands;
}

std::unordered_map<HMENU, TMenuItem*>& MenuHandles() {
    static auto* handles = new std::unordered_map<HMENU, TMenuItem*>;
    return *handles;
}

// Command ids stay below the system commands (0xF000) and are handed out in a
// circle, so an id freed a moment ago (whose WM_COMMAND may still be queued)
// is not given to a new item at once.
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0xEFFF;
UINT nextCommand = kFirstCommand;

UINT AllocateCommand() {
    auto& commands = Commands();
    if (commands.size() >= kLastCommand - kFirstCommand + 1) throw EInvalidOperation("Too many menu items");
    while (commands.count(nextCommand)) nextCommand = nextCommand == kLastCommand ? kFirstCommand : nextCommand + 1;
    UINT command = nextCommand;
    nextCommand = nextCommand == kLastCommand ? kFirstCommand : nextCommand + 1;
    return command;
}

[[noreturn]] void IndexError(int index) {
    throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(index)}));
}

// A hidden window that owns the pop-up menus shown without a window of their
// own, so their messages reach the items. Lives as long as the process.
LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    TMessage message{msg, wparam, lparam, 0};
    try {
        if (DispatchMenuMessage(message)) return message.Result;
    } catch (...) {
        HandleCurrentException();   // never through Win32's frames
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

HWND MenuOwnerWindow() {
    static HWND window = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = MenuOwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvelMenuOwner";
        RegisterClassExW(&wc);
        return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }();
    return window;
}

}  // namespace

TOwnerDrawState OwnerDrawState(UINT itemState) {
    static constexpr std::pair<UINT, TOwnerDrawState> kFlags[] = {
        {ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},   {ODS_DISABLED, odDisabled},
        {ODS_CHECKED, odChecked},   {ODS_FOCUS, odFocused},   {ODS_DEFAULT, odDefault},
        {ODS_HOTLIGHT, odHotLight}, {ODS_INACTIVE, odInactive}, {ODS_NOACCEL, odNoAccel},
        {ODS_NOFOCUSRECT, odNoFocusRect},
    };
    TOwnerDrawState state = 0;
    for (auto [ods, od] : kFlags)
        if (itemState & ods) state |= od;
    return state;
}

int LiveMenuItems() { return liveItems; }

void UseMenuFont(TCanvas& canvas, bool bold) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
    canvas.Font().SetName(Narrow(metrics.lfMenuFont.lfFaceName));
    canvas.Font().SetHeight(metrics.lfMenuFont.lfHeight);
    canvas.Font().SetStyle(bold || metrics.lfMenuFont.lfWeight >= FW_BOLD ? fsBold : 0);
}

bool IsMenuBarItem(const TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    return parent && !parent->Parent() && dynamic_cast<TMainMenu*>(item->GetParentMenu());
}

// ---- TMenuItem -------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    command_ = AllocateCommand();
    Commands()[command_] = this;
    ++liveItems;
}

TMenuItem::~TMenuItem() {
    Destroying();
    while (!items_.empty()) delete items_.back();   // each leaves our list
    if (parent_) parent_->Unlink(this);
    if (handle_) {
        // Our children's menus are theirs to destroy: take them out first.
        while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
        MenuHandles().erase(handle_);
        DestroyMenu(handle_);
        --GdiCounters().Menus;
    }
    Commands().erase(command_);
    --liveItems;
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

bool TMenuItem::IsLiving(const TMenuItem* item) {
    if (!item) return false;
    for (const auto& [command, living] : Commands())
        if (living == item) return true;
    return false;
}

TMenuItem* TMenuItem::FindByHandle(HMENU menu) {
    auto it = MenuHandles().find(menu);
    return it == MenuHandles().end() ? nullptr : it->second;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

bool TMenuItem::OwnerDrawn() const {
    TMenu* menu = GetParentMenu();
    return menu && menu->OwnerDraw();
}

void TMenuItem::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    if (value && radioItem_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
    Changed();
}

void TMenuItem::SetRadioItem(bool value) {
    if (value == radioItem_) return;
    radioItem_ = value;
    Changed();
}

void TMenuItem::SetGroupIndex(int value) {
    if (value == groupIndex_) return;
    groupIndex_ = value;
    Changed();
}

void TMenuItem::SetFixedInMerge(bool value) {
    if (value == fixedInMerge_) return;
    fixedInMerge_ = value;
    Changed();
}

void TMenuItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    if (value && parent_)   // one default per submenu
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this) sibling->default_ = false;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (value == shortCut_) return;
    shortCut_ = value;
    Changed();
}

void TMenuItem::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    Changed();
}

void TMenuItem::SetBreak(bool value) {
    if (value == break_) return;
    break_ = value;
    Changed();
}

TBitmap& TMenuItem::Bitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
    return *bitmap_;
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) throw EInvalidOperation("Cannot insert an empty menu item");
    if (item->parent_ || item->menu_) throw EInvalidOperation(FormatText("Menu item %s is already in a menu", {item->Name()}));
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EInvalidOperation("A menu item cannot hold itself");
    if (index < 0 || index > Count()) IndexError(index);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    item->RebuildTree();   // its submenus take this menu's owner drawing
    RebuildHandle();
    if (items_.size() == 1) Changed();   // the entry standing for this item gets its submenu
}

void TMenuItem::Remove(TMenuItem* item) {
    if (IndexOf(item) < 0) throw EInvalidOperation("The menu item is not in this menu");
    Unlink(item);
}

void TMenuItem::Unlink(TMenuItem* item) {
    std::erase(items_, item);
    item->parent_ = nullptr;
    if (InState(csDestroying)) return;
    RebuildHandle();
    if (items_.empty()) Changed();   // the entry standing for this item loses its submenu
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

HMENU TMenuItem::Handle() {
    if (handle_) return handle_;
    bool bar = menu_ && dynamic_cast<TMainMenu*>(menu_);
    HMENU created = bar ? CreateMenu() : CreatePopupMenu();
    if (!created) throw EInvalidOperation(FormatText("Cannot create a menu: %s", {SystemErrorMessage(GetLastError())}));
    handle_ = created;
    ++GdiCounters().Menus;
    MenuHandles()[handle_] = this;
    RebuildHandle();
    return handle_;
}

void TMenuItem::FillEntry(MENUITEMINFOW& info, std::wstring& text, bool ownerDraw) {
    info = MENUITEMINFOW{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.fType = (IsLine() ? MFT_SEPARATOR : 0) | (radioItem_ ? MFT_RADIOCHECK : 0) | (ownerDraw ? MFT_OWNERDRAW : 0) |
                 (break_ ? MFT_MENUBREAK : 0);
    info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
    info.wID = command_;
    info.dwItemData = command_;
    if (!IsLine()) {
        // Owner-drawn items keep their text too: Win32 finds their accelerators in it.
        text = Widen(caption_);
        if (shortCut_) text += L"\t" + Widen(ShortCutToText(shortCut_));
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    if (!items_.empty()) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = Handle();
    }
}

void TMenuItem::RebuildHandle() {
    if (!handle_) {
        // A bar merged into another has no Win32 menu of its own shown: the other shows it.
        if (auto* bar = dynamic_cast<TMainMenu*>(menu_); bar && bar->MergedInto()) bar->MenuChanged();
        return;
    }
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    UINT position = 0;
    // A menu bar's entries may include another bar's merged items; every entry
    // takes the owner drawing of the menu it stands in.
    auto* bar = dynamic_cast<TMainMenu*>(menu_);
    const bool ownerDraw = OwnerDrawn();
    for (TMenuItem* item : bar ? bar->BarItems() : items_) {
        if (!item->visible_) continue;
        MENUITEMINFOW info;
        std::wstring text;
        item->FillEntry(info, text, ownerDraw);
        InsertMenuItemW(handle_, position++, TRUE, &info);
    }
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::RebuildTree() {
    for (TMenuItem* item : items_) item->RebuildTree();
    RebuildHandle();
}

void TMenuItem::Changed() {
    if (parent_) parent_->RebuildHandle();
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

void TMenuItem::InitiatePopup() {
    Click();
    RebuildHandle();   // whatever the handler changed shows in the opening submenu
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = dynamic_cast<TMenu*>(parent)) return menu->Items().Add(this);
    if (auto* item = dynamic_cast<TMenuItem*>(parent)) return item->Add(this);
    if (parent && parent != Owner())
        throw EInvalidOperation(FormatText("%s cannot hold the menu item %s", {parent->Name(), Name()}));
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    UseMenuFont(canvas, default_);
    if (IsLine()) {
        width = 0;
        height = GetSystemMetrics(SM_CYMENU) / 2;
    } else {
        RECT text{0, 0, 0, 0};
        canvas.DrawText(caption_.empty() ? " " : caption_, text, DT_CALCRECT | DT_SINGLELINE);
        height = std::max<int>(text.bottom + 4, GetSystemMetrics(SM_CYMENU));
        if (IsMenuBarItem(this)) {
            width = text.right + 12;
        } else {
            width = height + text.right + 8;   // a square glyph column, the caption
            if (shortCut_) width += canvas.TextWidth(ShortCutToText(shortCut_)) + 24;
        }
    }
    OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state, bool topLevel) {
    if (OnAdvancedDrawItem) return OnAdvancedDrawItem(this, canvas, rect, state);
    if (OnDrawItem) return OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
    DrawDefault(canvas, rect, state, topLevel);
}

void TMenuItem::DrawDefault(TCanvas& canvas, const RECT& rect, TOwnerDrawState state, bool topLevel) {
    HDC dc = canvas.Handle();
    bool selected = state & (odSelected | odHotLight);
    canvas.Brush().SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        RECT line{rect.left, (rect.top + rect.bottom) / 2 - 1, rect.right, (rect.top + rect.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    UseMenuFont(canvas, default_);
    canvas.Font().SetColor(state & (odGrayed | odDisabled) ? clGrayText : selected ? clHighlightText : clMenuText);
    SetBkMode(dc, TRANSPARENT);
    RECT text = rect;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | ((state & odNoAccel) ? DT_HIDEPREFIX : 0);
    if (topLevel) {
        canvas.DrawText(caption_, text, flags | DT_CENTER);
        return;
    }
    int column = rect.bottom - rect.top;   // the square glyph column
    if (checked_) {
        RECT mark{rect.left + 2, rect.top + 2, rect.left + column - 2, rect.bottom - 2};
        DrawFrameControl(dc, &mark, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    } else if (HasBitmap()) {
        int y = rect.top + (column - bitmap_->Height()) / 2;
        BitBlt(dc, rect.left + (column - bitmap_->Width()) / 2, y, bitmap_->Width(), bitmap_->Height(),
               bitmap_->Canvas().Handle(), 0, 0, SRCCOPY);
    }
    text.left += column + 4;
    text.right -= 8;
    canvas.DrawText(caption_, text, flags | DT_LEFT);
    if (shortCut_) canvas.DrawText(ShortCutToText(shortCut_), text, flags | DT_RIGHT);
}

// ---- TMenu, TMainMenu, TPopupMenu -------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
    items_ = new TMenuItem(this);
    items_->SetMenu(this);
}

TMenu::~TMenu() {
    Destroying();
    DestroyComponents();   // the root item, which frees the whole tree
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == ownerDraw_) return;
    ownerDraw_ = value;
    items_->RebuildTree();
}

void TMenu::SetImages(TCustomImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    items_->RebuildTree();   // the items are measured again for the pictures' size
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        if (!InState(csDestroying)) items_->RebuildTree();
    }
}

TMenuItem* TMenu::FindItem(UINT command) const {
    TMenuItem* item = TMenuItem::FindByCommand(command);
    return item && item->GetParentMenu() == this ? item : nullptr;
}

namespace {

TMenuItem* FindShortCut(const TMenuItem& parent, TShortCut shortCut) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (item->ShortCut() == shortCut) return item;
        if (TMenuItem* inner = FindShortCut(*item, shortCut)) return inner;
    }
    return nullptr;
}

}  // namespace

bool TMenu::IsShortCut(TShortCut shortCut) {
    if (shortCut == scNone) return false;
    TMenuItem* found = FindShortCut(*items_, shortCut);
    if (!found) return false;
    // The parents' handlers run first, outermost first, as when their submenus
    // open; they may change or free items, so everything is found again by id.
    std::vector<UINT> parents;
    for (TMenuItem* p = found->Parent(); p && p->Parent(); p = p->Parent()) parents.push_back(p->Command());
    UINT command = found->Command();
    for (auto it = parents.rbegin(); it != parents.rend(); ++it)
        if (TMenuItem* p = FindItem(*it)) p->InitiatePopup();
    found = FindItem(command);
    if (!found || found->ShortCut() != shortCut) return false;
    for (TMenuItem* c = found; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    found->Click();
    return true;
}

std::vector<TMenuItem*> MergeByGroupIndex(const std::vector<TMenuItem*>& own, const std::vector<TMenuItem*>& other) {
    std::vector<TMenuItem*> result;
    std::vector<bool> placed(other.size(), false);
    std::vector<int> placedGroups;
    bool ownSeen = false;
    int last = 0;   // the group of the own item last passed
    for (TMenuItem* item : own) {
        if (item->FixedInMerge()) {
            result.push_back(item);
            continue;
        }
        const int group = item->GroupIndex();
        for (std::size_t i = 0; i < other.size(); ++i) {
            const int g = other[i]->GroupIndex();
            if (placed[i] || g > group || (ownSeen && g <= last)) continue;
            placed[i] = true;
            placedGroups.push_back(g);
            result.push_back(other[i]);
        }
        if (std::find(placedGroups.begin(), placedGroups.end(), group) == placedGroups.end()) result.push_back(item);
        last = group;
        ownSeen = true;
    }
    for (std::size_t i = 0; i < other.size(); ++i)
        if (!placed[i]) result.push_back(other[i]);
    return result;
}

TMainMenu::~TMainMenu() {
    // The bars let go of each other's items before any Win32 menu is destroyed.
    if (mergedInto_) mergedInto_->Unmerge(this);
    Merge(nullptr);
    // The window must let go of the menu bar before its Win32 menu is destroyed.
    if (form_) form_->SetMenu(nullptr);
}

void TMainMenu::MenuChanged() {
    if (form_) form_->MenuChanged();
    // A change among the merged items shows in the bar that shows them.
    if (mergedInto_ && !mergedInto_->InState(csDestroying)) mergedInto_->Items().RebuildHandle();
}

namespace {

std::vector<TMenuItem*> VisibleTopItems(TMainMenu& menu) {
    std::vector<TMenuItem*> items;
    for (int i = 0; i < menu.Items().Count(); ++i)
        if (menu.Items().Items(i)->Visible()) items.push_back(menu.Items().Items(i));
    return items;
}

}  // namespace

std::vector<TMenuItem*> TMainMenu::BarItems() {
    if (!merged_) return VisibleTopItems(*this);
    return MergeByGroupIndex(VisibleTopItems(*this), VisibleTopItems(*merged_));
}

void TMainMenu::Merge(TMainMenu* menu) {
    if (menu == this) throw EInvalidOperation("A menu cannot be merged into itself");
    if (menu == merged_) return;
    if (merged_) merged_->mergedInto_ = nullptr;
    if (menu && menu->mergedInto_) menu->mergedInto_->Merge(nullptr);
    merged_ = menu;
    if (menu) menu->mergedInto_ = this;
    if (!InState(csDestroying)) Items().RebuildHandle();
}

void TMainMenu::Unmerge(TMainMenu* menu) {
    if (menu && menu == merged_) Merge(nullptr);
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == form_) form_ = nullptr;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() { SetPopupComponent(nullptr); }

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (value == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = {x, y};
    if (OnPopup) OnPopup(this);
    HWND owner = windowHandle_ && IsWindow(windowHandle_) ? windowHandle_ : MenuOwnerWindow();
    // The chosen command is posted to the owner: its OnClick runs from the message loop.
    static constexpr std::pair<TMenuAnimation, UINT> kAnimations[] = {
        {maLeftToRight, TPM_HORPOSANIMATION}, {maRightToLeft, TPM_HORNEGANIMATION}, {maTopToBottom, TPM_VERPOSANIMATION},
        {maBottomToTop, TPM_VERNEGANIMATION}, {maNone, TPM_NOANIMATION},
    };
    UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON;
    for (auto [animation, flag] : kAnimations)
        if (menuAnimation_ & animation) flags |= flag;
    TrackPopupMenu(Handle(), flags, x, y, 0, owner, nullptr);
}

// ---- the menu messages --------------------------------------------------------------

namespace {

bool OnMenuCommand(TMessage& m) {
    if (m.LParam != 0 || HIWORD(m.WParam) > 1) return false;   // 0: a menu, 1: an accelerator
    TMenuItem* item = TMenuItem::FindByCommand(LOWORD(m.WParam));
    if (!item) return false;
    m.Result = 0;
    item->Click();
    return true;
}

bool OnInitMenuPopup(TMessage& m) {
    if (HIWORD(m.LParam)) return false;   // the window's system menu
    TMenuItem* item = TMenuItem::FindByHandle(reinterpret_cast<HMENU>(m.WParam));
    if (!item) return false;
    m.Result = 0;
    item->InitiatePopup();
    return true;
}

// The accelerator of an owner-drawn item, as the position among the shown entries.
bool OnMenuChar(TMessage& m) {
    TMenuItem* parent = TMenuItem::FindByHandle(reinterpret_cast<HMENU>(m.LParam));
    if (!parent) return false;
    int position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->Enabled() && IsAccel(LOWORD(m.WParam), item->Caption())) {
            m.Result = MAKELRESULT(position, MNC_EXECUTE);
            return true;
        }
        ++position;
    }
    return false;
}

bool OnMeasureItem(TMessage& m) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (!measure || measure->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(static_cast<UINT>(measure->itemData));
    if (!item) return false;
    HDC screen = GetDC(nullptr);
    {
        TCanvas canvas(screen);
        int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
        item->MeasureItem(canvas, width, height);
        measure->itemWidth = static_cast<UINT>(std::max(0, width));
        measure->itemHeight = static_cast<UINT>(std::max(0, height));
    }
    ReleaseDC(nullptr, screen);
    m.Result = TRUE;
    return true;
}

bool OnDrawItem(TMessage& m) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (!draw || draw->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(static_cast<UINT>(draw->itemData));
    if (!item) return false;
    int saved = SaveDC(draw->hDC);
    {
        TCanvas canvas(draw->hDC);
        item->AdvancedDrawItem(canvas, draw->rcItem, OwnerDrawState(draw->itemState), IsMenuBarItem(item));
    }
    RestoreDC(draw->hDC, saved);
    m.Result = TRUE;
    return true;
}

}  // namespace

bool DispatchMenuMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:       return OnMenuCommand(m);
    case WM_INITMENUPOPUP: return OnInitMenuPopup(m);
    case WM_MENUCHAR:      return OnMenuChar(m);
    case WM_MEASUREITEM:   return OnMeasureItem(m);
    case WM_DRAWITEM:      return OnDrawItem(m);
    }
    return false;
}

}  // namespace korvel

#pragma once
// Menus: items in a tree, a form's menu bar (TMainMenu) and pop-up menus
// (TPopupMenu), each over real Win32 menus. Every item has a command id of
// its own, unique in the process, so a WM_COMMAND, WM_INITMENUPOPUP,
// WM_MEASUREITEM or WM_DRAWITEM reaching any of the framework's windows finds
// its item; see DispatchMenuMessage.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/control.h"
#include "gui/graphics.h"
#include "gui/menus_handlers.h"

namespace korvel {

// A key with its modifiers: the virtual key in the low byte, scShift, scCtrl
// and scAlt above it (Alt+F4 is 0x8073). 0 is no shortcut.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+Shift+S", "Alt+F4", "Del"; empty for 0 or a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, without regard to case ("ctrl+s"); 0 for text it cannot read.
TShortCut TextToShortCut(const std::string& text);
// The shortcut of the key now pressed with the modifiers now held.
TShortCut ShortCutOfKey(WORD key);

enum TOwnerDrawStateFlag : std::uint16_t {
    odSelected = 1u << 0,
    odGrayed = 1u << 1,
    odDisabled = 1u << 2,
    odChecked = 1u << 3,
    odFocused = 1u << 4,
    odDefault = 1u << 5,
    odHotLight = 1u << 6,
    odInactive = 1u << 7,
    odNoAccel = 1u << 8,
    odNoFocusRect = 1u << 9,
};
using TOwnerDrawState = std::uint16_t;
// The state flags of a WM_DRAWITEM (ODS_*).
TOwnerDrawState OwnerDrawState(UINT itemState);

class TCustomImageList;
class TMenu;
class TMenuItem;

using TMenuMeasureItemEvent = THandlerList<TMenuItem* /*sender*/, TCanvas& /*canvas*/, int& /*width*/, int& /*height*/>;
using TMenuDrawItemEvent = THandlerList<TMenuItem* /*sender*/, TCanvas& /*canvas*/, const RECT& /*rect*/, bool /*selected*/>;
using TAdvancedMenuDrawItemEvent =
    THandlerList<TMenuItem* /*sender*/, TCanvas& /*canvas*/, const RECT& /*rect*/, TOwnerDrawState /*state*/>;

// One menu item. Its children form a submenu. An item is a component (owned,
// named, stored in definitions) and also belongs to its parent item, which
// frees it with itself. The Win32 menus follow every change at once.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    std::string ClassName() const override { return "TMenuItem"; }

    // "&File" marks F; "-" alone is a divider. A shortcut's text follows after a tab.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool IsLine() const { return caption_ == "-"; }
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    // Radio groups among siblings; in a menu bar, where another form's items join
    // when the bars are merged (TMainMenu::Merge).
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    // A top-level item that keeps its place when another bar is merged into its
    // menu bar and is never left out for one of the other's groups.
    bool FixedInMerge() const { return fixedInMerge_; }
    void SetFixedInMerge(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // An invisible item is left out of the Win32 menu.
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // The default item of its submenu (shown bold; a double click chooses it).
    bool Default() const { return default_; }
    void SetDefault(bool value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    // The item's picture in its menu's image list (TMenu::Images); -1: none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The item starts a new column of its popup (the system leaves the columns
    // apart without a line between them: an owner-drawn menu paints its own).
    bool Break() const { return break_; }
    void SetBreak(bool value);
    // The item's own glyph (created on first use); owner-drawn menus paint it.
    TBitmap& Bitmap();
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }

    // Children.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the child out without freeing it.
    void Remove(TMenuItem* item);
    // Frees the child at Index.
    void Delete(int index);
    // Frees every child.
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    TMenuItem* Parent() const { return parent_; }
    // The menu whose tree holds the item, or nullptr for a loose item.
    TMenu* GetParentMenu() const;

    // The Win32 command id (WM_COMMAND, the owner-draw messages), fixed for the item's life.
    UINT Command() const { return command_; }
    // The Win32 menu of the item's children (created on first use; the menu
    // bar for a main menu's root). Destroyed with the item.
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The Win32 menu the item is an entry of, or nullptr.
    HMENU ParentHandle() const { return parent_ ? parent_->handle_ : nullptr; }

    // Runs OnClick (exceptions go to the caller).
    virtual void Click();
    // Before the item's submenu opens: OnClick, so a handler can update the children.
    virtual void InitiatePopup();

    // Owner drawing (the menu's OwnerDraw): the default measure and paint are
    // the platform's look; handlers replace the paint and adjust the measure.
    virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
    virtual void AdvancedDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state, bool topLevel);

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    // The item of a command id, of a submenu's Win32 menu; nullptr when none.
    static TMenuItem* FindByCommand(UINT command);
    // Whether item is a menu item that exists now; item itself is never touched.
    static bool IsLiving(const TMenuItem* item);
    static TMenuItem* FindByHandle(HMENU menu);

    // A nested definition object: added to the enclosing menu or item.
    void SetParentComponent(TComponent* parent) override;

protected:
    // The Win32 entries of the children are made again (after any change).
    void RebuildHandle();
    // The item changed: its parent's Win32 menu follows.
    void Changed();

private:
    friend class TMenu;
    friend class TMainMenu;
    // This item's Win32 menu and those of every descendant are made again.
    void RebuildTree();
    void DrawDefault(TCanvas& canvas, const RECT& rect, TOwnerDrawState state, bool topLevel);
    void FillEntry(MENUITEMINFOW& info, std::wstring& text, bool ownerDraw);
    void SetMenu(TMenu* menu) { menu_ = menu; }
    void Unlink(TMenuItem* item);
    bool OwnerDrawn() const;

    std::string caption_;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool fixedInMerge_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TShortCut shortCut_ = scNone;
    int imageIndex_ = -1;
    bool break_ = false;
    std::unique_ptr<TBitmap> bitmap_;
    std::string hint_;
    int tag_ = 0;
    UINT command_ = 0;
    HMENU handle_ = nullptr;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;   // set on a menu's root item only
    std::vector<TMenuItem*> items_;
};

// A tree of items under a root item the menu owns.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    std::string ClassName() const override { return "TMenu"; }

    TMenuItem& Items() { return *items_; }
    HMENU Handle() { return items_->Handle(); }
    // Every item is drawn by its owner-draw events (WM_MEASUREITEM, WM_DRAWITEM).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    // The pictures of the items' ImageIndex (owner-drawn menus paint them);
    // forgotten when the list is freed, whoever owns it.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    // An item of this menu by command id, or nullptr.
    TMenuItem* FindItem(UINT command) const;
    // Clicks the enabled, visible item with this shortcut (its parents' OnClick
    // run first, as when their submenus open); false when none has it.
    bool IsShortCut(TShortCut shortCut);

    // Told after any item of the tree changed.
    virtual void MenuChanged() {}

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_ = nullptr;
    bool ownerDraw_ = false;
    TCustomImageList* images_ = nullptr;
};

class TForm;

// The top-level items of a menu bar with another bar's merged in by group
// index: before each own item of group g come the other's items whose groups
// lie above the group last placed and not above g; an own item is left out when
// one of the other's placed items has its group; the other's remaining items
// come last. Items fixed in the merge keep their places and are never left out.
std::vector<TMenuItem*> MergeByGroupIndex(const std::vector<TMenuItem*>& own, const std::vector<TMenuItem*>& other);

// A form's menu bar: attached with TForm::SetMenu.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    ~TMainMenu() override;
    std::string ClassName() const override { return "TMainMenu"; }
    // The form showing the menu (set by TForm::SetMenu).
    TForm* Form() const { return form_; }
    void MenuChanged() override;

    // Another bar whose top-level items this bar shows among its own (an MDI
    // frame shows its active child's): they keep their items, commands and
    // submenus, so a choice among them reaches their own handlers. nullptr
    // unmerges. A bar is merged into one other bar at a time.
    void Merge(TMainMenu* menu);
    // Unmerges Menu when it is the one merged.
    void Unmerge(TMainMenu* menu);
    TMainMenu* Merged() const { return merged_; }
    // The bar Menu is merged into, or nullptr.
    TMainMenu* MergedInto() const { return mergedInto_; }
    // The entries of the Win32 menu bar, in order: the visible top-level items
    // with the merged bar's visible ones.
    std::vector<TMenuItem*> BarItems();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TForm;
    TForm* form_ = nullptr;
    TMainMenu* merged_ = nullptr;
    TMainMenu* mergedInto_ = nullptr;
};

// How a pop-up menu appears (empty: the system's choice).
enum TMenuAnimationFlag : std::uint8_t {
    maLeftToRight = 1u << 0,
    maRightToLeft = 1u << 1,
    maTopToBottom = 1u << 2,
    maBottomToTop = 1u << 3,
    maNone = 1u << 4,
};
using TMenuAnimation = std::uint8_t;

// A menu shown at a point with TrackPopupMenu: by Popup, or by the control
// whose PopupMenu it is on a right click, Shift+F10 or the menu key.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    std::string ClassName() const override { return "TPopupMenu"; }

    // Shows the menu at a screen point; returns when it closes. The chosen
    // item's OnClick runs when its command arrives (after Popup returns).
    virtual void Popup(int x, int y);
    // The control the menu was last shown for (set before OnPopup).
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value);
    POINT PopupPoint() const { return popupPoint_; }
    // Whether a control shows it by itself on WM_CONTEXTMENU.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    // The window that owns the shown menu and receives its messages
    // (nullptr: a hidden window of the framework).
    HWND WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(HWND value) { windowHandle_ = value; }
    TMenuAnimation MenuAnimation() const { return menuAnimation_; }
    void SetMenuAnimation(TMenuAnimation value) { menuAnimation_ = value; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* popupComponent_ = nullptr;
    POINT popupPoint_{0, 0};
    bool autoPopup_ = true;
    HWND windowHandle_ = nullptr;
    TMenuAnimation menuAnimation_ = 0;
};

// The menu messages any of the framework's windows may receive: WM_COMMAND
// from a menu or accelerator (LParam 0), WM_INITMENUPOPUP, WM_MENUCHAR and
// the owner-draw messages of menu items. Answers and returns true when the
// message belongs to an item of ours.
bool DispatchMenuMessage(TMessage& message);

// Gives the canvas the screen's menu font (bold for a default item).
void UseMenuFont(TCanvas& canvas, bool bold);
// Whether the item is a top-level item of a main menu (an entry of a menu bar).
bool IsMenuBarItem(const TMenuItem* item);

// Live menu items, for leak checks.
int LiveMenuItems();

}  // namespace korvel

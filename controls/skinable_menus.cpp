// The menu skinning: its activation over the application's menus, the hooks it
// puts into the items' handler lists, measuring, the extra-line data, and the
// two application messages.
#include "controls/skinable_menus.h"

#include <algorithm>
#include <cmath>

#include "controls/menu_popup_state.h"
#include "engine/skin_manager.h"
#include "gui/application.h"
#include "gui/forms.h"
#include "gui/image_list.h"

namespace korvel {

TPopupState& PopupState() {
    static TPopupState state;
    return state;
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* manager) : manager_(manager) {}

TsSkinableMenus::~TsSkinableMenus() {
    // Menus that outlive the manager keep no handler that points here.
    if (active_) {
        active_ = false;
        try {
            HookMenus(&Application(), false);
        } catch (...) {
        }
    }
    FreeSharedBitmap();
}

void InstallSkinableMenus() {
    SetMenuSkinningFactory([](TsSkinManager* manager) { return std::make_unique<TsSkinableMenus>(manager); });
}

const TsSkinTables* TsSkinableMenus::Tables() const { return manager_ ? &manager_->Tables() : nullptr; }

int TsSkinableMenus::SectionIndex(const std::string& name) const {
    return manager_ && !name.empty() ? manager_->SectionIndexOf(name) : -1;
}

bool TsSkinableMenus::PopupsSkinnable() const { return SectionIndex("MAINMENU") >= 0 && SectionIndex("MENUITEM") >= 0; }

int TsSkinableMenus::SkinBorderWidth() {
    if (skinBorderWidth_ < 0) {
        skinBorderWidth_ = 0;
        const int section = SectionIndex("MAINMENU");
        const int mask = manager_ && section >= 0 ? manager_->MaskIndexOf(section, "MAINMENU", "BORDERSMASK") : -1;
        if (manager_ && manager_->IsValidMaskIndex(mask)) {
            const int width = manager_->Tables().Masks[static_cast<std::size_t>(mask)].BorderWidth;
            skinBorderWidth_ = width > 0 ? width : 3;
        }
    }
    return skinBorderWidth_;
}

const TBitmap24& TsSkinableMenus::PopupBackground() { return PopupState().Background; }

const std::vector<TRect>& TsSkinableMenus::PopupHoles() { return PopupState().Holes; }

void TsSkinableMenus::FreeSharedBitmap() {
    PopupState().DropBackground();
    PopupState().HasFirstItem = false;
    PopupState().DropExtraLine();
}

// ---- activation and hooks ---------------------------------------------------------

void TsSkinableMenus::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (manager_ && manager_->InState(csDesigning)) return;
    HookMenus(&Application(), value);
}

void TsSkinableMenus::InstallPopups(bool skinned) {
    if (!active_) return;
    // Pop-up menus and loose items follow SkinnedPopups; main menus stay as they are.
    struct TWalk {
        static void Run(TsSkinableMenus& self, TComponent* root, bool on) {
            for (int i = 0; i < root->ComponentCount(); ++i) {
                TComponent* c = root->Components(i);
                if (auto* popup = dynamic_cast<TPopupMenu*>(c)) self.HookPopupMenu(*popup, on);
                else if (auto* item = dynamic_cast<TMenuItem*>(c); item && !dynamic_cast<TMainMenu*>(item->GetParentMenu()))
                    self.HookPopupItem(*item, on);
                else Run(self, c, on);
            }
        }
    };
    TWalk::Run(*this, &Application(), skinned);
}

void TsSkinableMenus::HookMenus(TComponent* root, bool on) {
    if (!root) return;
    for (int i = 0; i < root->ComponentCount(); ++i) {
        TComponent* c = root->Components(i);
        if (dynamic_cast<TMenu*>(c) || dynamic_cast<TMenuItem*>(c)) HookMenu(c, on);
        else HookMenus(c, on);
    }
}

void TsSkinableMenus::HookMenu(TComponent* component, bool on) {
    const bool popups = !manager_ || manager_->SkinnedPopups();
    if (auto* main = dynamic_cast<TMainMenu*>(component)) return HookMainMenu(*main, on);
    if (auto* popup = dynamic_cast<TPopupMenu*>(component)) {
        if (popups || !on) HookPopupMenu(*popup, on);
        return;
    }
    auto* item = dynamic_cast<TMenuItem*>(component);
    if (!item || item->InState(csDestroying)) return;
    if (IsMenuBarItem(item)) return HookBarItem(*item, on);
    if (dynamic_cast<TMainMenu*>(item->GetParentMenu())) return HookPopupItem(*item, on);
    if (popups || !on) HookPopupItem(*item, on);
}

void TsSkinableMenus::HookMainMenu(TMainMenu& menu, bool on) {
    std::function<void(TMenuItem&)> walk = [&](TMenuItem& parent) {
        for (int i = 0; i < parent.Count(); ++i) {
            TMenuItem& item = *parent.Items(i);
            if (&parent == &menu.Items()) HookBarItem(item, on);
            else HookPopupItem(item, on);
            walk(item);
        }
    };
    walk(menu.Items());
    menu.SetOwnerDraw(on);
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu& menu, bool on) {
    std::function<void(TMenuItem&)> walk = [&](TMenuItem& parent) {
        for (int i = 0; i < parent.Count(); ++i) {
            HookPopupItem(*parent.Items(i), on);
            walk(*parent.Items(i));
        }
    };
    walk(menu.Items());
    // A skinned popup appears at once (its frame is painted over the first frame
    // the platform shows); the menu's own animation comes back on release.
    if (on) {
        if (!savedAnimations_.count(&menu)) savedAnimations_[&menu] = menu.MenuAnimation();
        menu.SetMenuAnimation(maNone);
    } else if (auto it = savedAnimations_.find(&menu); it != savedAnimations_.end()) {
        menu.SetMenuAnimation(it->second);
        savedAnimations_.erase(it);
    }
    menu.SetOwnerDraw(on);
}

void TsSkinableMenus::HookPopupItem(TMenuItem& item, bool on) {
    // Without the sections the owner-drawn item draws itself as the system would.
    if (!on || !PopupsSkinnable()) {
        item.OnMeasureItem.Remove(this);
        item.OnAdvancedDrawItem.Remove(this);
        return;
    }
    // An item that measures or paints itself keeps doing so.
    if (!item.OnMeasureItem.Has(nullptr))
        item.OnMeasureItem.Add(this, [this](TMenuItem* sender, TCanvas& canvas, int& width, int& height) {
            PopupMeasure(sender, canvas, width, height);
        });
    if (!item.OnAdvancedDrawItem.Has(nullptr) && !item.OnDrawItem.Has(nullptr))
        item.OnAdvancedDrawItem.Add(this, [this](TMenuItem* sender, TCanvas& canvas, const RECT& rect,
                                                 TOwnerDrawState state) { PopupDraw(sender, canvas, rect, state); });
}

void TsSkinableMenus::HookBarItem(TMenuItem& item, bool on) {
    if (!on) {
        item.OnMeasureItem.Remove(this);
        item.OnAdvancedDrawItem.Remove(this);
        return;
    }
    item.OnMeasureItem.Add(this, [this](TMenuItem* sender, TCanvas& canvas, int& width, int& height) {
        MenuBarMeasure(sender, canvas, width, height);
    });
    // The bar is painted by us only while the skin is there.
    if (manager_ && manager_->Active())
        item.OnAdvancedDrawItem.Add(this, [this](TMenuItem* sender, TCanvas& canvas, const RECT& rect,
                                                 TOwnerDrawState state) { MenuBarDraw(sender, canvas, rect, state); });
    else item.OnAdvancedDrawItem.Remove(this);
}

// ---- measuring ---------------------------------------------------------------------

TsMenuItemType TsSkinableMenus::ItemType(const TMenuItem& item) {
    const std::string& caption = item.Caption();
    if (caption == "-") return TsMenuItemType::smDivider;
    if (caption.size() >= 2 && caption.front() == '-' && caption.back() == '-') return TsMenuItemType::smCaption;
    if (IsMenuBarItem(&item)) return TsMenuItemType::smTopLine;
    return TsMenuItemType::smNormal;
}

SIZE TsSkinableMenus::GlyphSize(const TMenuItem& item) {
    if (item.HasBitmap()) {
        TMenuItem& mutableItem = const_cast<TMenuItem&>(item);
        return {mutableItem.Bitmap().Width(), mutableItem.Bitmap().Height()};
    }
    if (const TCustomImageList* images = ImagesOf(item)) return {images->Width(), images->Height()};
    return {16, 16};
}

const TCustomImageList* TsSkinableMenus::ImagesOf(const TMenuItem& item) {
    const TMenu* menu = item.GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

int TsSkinableMenus::MenuTextHeight() {
    HDC screen = GetDC(nullptr);
    int height = 0;
    {
        TCanvas canvas(screen);
        UseMenuFont(canvas, false);
        height = canvas.TextHeight("W");
    }
    ReleaseDC(nullptr, screen);
    return height;
}

int TsSkinableMenus::ItemHeight(const TMenuItem& item) const {
    const TsMenuItemType type = ItemType(item);
    if (type == TsMenuItemType::smDivider) return 2;
    const int text = static_cast<int>(std::lround(MenuTextHeight() * 1.25));
    if (type == TsMenuItemType::smCaption) return text + 2 * Margin;
    return std::max(text, static_cast<int>(GlyphSize(item).cy)) + 2 * Margin;
}

void TsSkinableMenus::CheckFirstItem(TMenuItem* first) {
    TPopupState& state = PopupState();
    if (!first) return;
    if (state.HasFirstItem && state.FirstItem == first->Command()) return;
    state.DropBackground();
    state.DropExtraLine();
    state.FirstItem = first->Command();
    state.HasFirstItem = true;
}

void TsSkinableMenus::FetchExtraLineData(TMenuItem* first) {
    TPopupState& state = PopupState();
    if (state.ExtraFetched || state.ExtraFetching || !first) return;
    state.ExtraFetching = true;
    try {
        if (first->Name() == SkinSelectItemName) {
            state.ExtraVisible = false;
        } else {
            state.ExtraSection = "EXTRALINE";
            state.ExtraGlyph = TBitmap24();
            state.ExtraCaption = DefaultExtraLineCaption;
            state.ExtraVisible = true;
            if (manager_ && manager_->OnGetMenuExtraLineData)
                manager_->OnGetMenuExtraLineData(first, state.ExtraSection, state.ExtraCaption, state.ExtraGlyph,
                                                 state.ExtraVisible);
            std::erase(state.ExtraCaption, '&');
            if (!state.ExtraVisible) state.ExtraGlyph = TBitmap24();
        }
    } catch (...) {
        state.ExtraFetching = false;
        throw;
    }
    state.ExtraFetching = false;
    state.ExtraFetched = true;
}

int TsSkinableMenus::ExtraLineWidth(bool insideItem) {
    TPopupState& state = PopupState();
    if (!manager_ || !manager_->MenuSupport().UseExtraLine || !state.ExtraVisible) return 0;
    int width = manager_->MenuSupport().ExtraLineWidth;
    if (insideItem && SkinBorderWidth() < BorderWidth) width -= BorderWidth - SkinBorderWidth();
    return std::max(0, width);
}

void TsSkinableMenus::PopupMeasure(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (!item || item->InState(csDestroying) || !item->Parent()) return;
    TMenuItem* first = item->Parent()->Count() > 0 ? item->Parent()->Items(0) : item;
    CheckFirstItem(first);
    const TsMenuItemType type = ItemType(*item);
    FetchExtraLineData(first);
    UseMenuFont(canvas, item->Default());
    const SIZE glyph = GlyphSize(*item);
    const int frame = 2 * glyph.cx + 3 * Margin + Spacing;
    switch (type) {
    case TsMenuItemType::smCaption:
        width = frame + canvas.TextWidth("-" + item->Caption() + "-");
        break;
    case TsMenuItemType::smDivider:
        width = frame;
        break;
    default: {
        RECT text{0, 0, 0, 0};
        canvas.DrawText(item->Caption() + ShortCutToText(item->ShortCut()), text, DT_CALCRECT | DT_SINGLELINE);
        width = frame + text.right;
    }
    }
    width += ExtraLineWidth(false);
    height = ItemHeight(*item);
}

// ---- the two application messages --------------------------------------------------

void TsSkinableMenus::HookItem(LPARAM menuItem) {
    PopupState().FrameMessageQueued = false;
    // The item may be gone by now: it is looked up among the living ones before it is touched.
    auto* item = reinterpret_cast<TMenuItem*>(menuItem);
    if (!TMenuItem::IsLiving(item)) return;
    HMENU parent = item->ParentHandle();
    if (!parent) return;
    const int count = GetMenuItemCount(parent);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(parent, i) != item->Command()) continue;
        RECT r{};
        if (!GetMenuItemRect(nullptr, parent, static_cast<UINT>(i), &r)) return;
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        HWND window = WindowFromPoint(centre);
        if (window) HookPopupWindow(reinterpret_cast<LPARAM>(window));
        return;
    }
}

void TsSkinableMenus::HookPopupWindow(LPARAM window) {
    HWND handle = reinterpret_cast<HWND>(window);
    wchar_t name[16] = {};
    // Only a popup menu window of this thread is ever subclassed.
    if (!handle || !IsWindow(handle) || !GetClassNameW(handle, name, 16) || std::wstring(name) != L"#32768" ||
        GetWindowThreadProcessId(handle, nullptr) != GetCurrentThreadId())
        return;
    PopupWindowFrame(handle);
}

}  // namespace korvel

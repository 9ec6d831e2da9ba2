#pragma once
// TsSkinableMenus: the menu skinning the skin manager holds. It hooks owner
// draw into every main menu, pop-up menu and menu item of the application
// (through the items' handler lists, as one party among others), measures and
// paints pop-up items over one shared pop-up background ("MAINMENU", with an
// optional vertical extra line and icon line), gives the pop-up window its
// skinned frame and shape, and paints the items of a form's menu bar over the
// form's skinned menu line.
//
// The members are defined by concern: activation, hooking and measuring here
// (skinable_menus.cpp), the pop-up background, items and window frame in
// menu_popup_paint.cpp, the menu bar in menu_bar_paint.cpp.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/menu_skinning.h"
#include "gui/bitmap24.h"
#include "gui/graphics.h"
#include "gui/menus.h"
#include "paint/geometry.h"

namespace korvel {

class TCustomImageList;
class TsSkinManager;
struct TsSkinTables;

enum class TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

using TacMenuDrawItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, const RECT& rect, TOwnerDrawState state, TsMenuItemType type)>;

// The default caption of an extra line nobody described (the apostrophe is a grave accent).
constexpr const char* DefaultExtraLineCaption = "Don`t forget OnGetExtraLineData event...";
// A popup whose first item has this name shows no extra line (the skins submenu).
constexpr const char* SkinSelectItemName = "SkinSelectItem";

class TsSkinableMenus : public TacMenuSkinning {
public:
    explicit TsSkinableMenus(TsSkinManager* manager);
    ~TsSkinableMenus() override;

    // ---- properties ----
    TAlignment Alignment = TAlignment::taLeftJustify;
    int BevelWidth = 0;     // stored only
    // The frame the platform draws around a popup menu window.
    int BorderWidth = 3;
    TFont CaptionFont;      // stored only
    int Margin = 3;
    int Spacing = 6;
    TacMenuDrawItemEvent OnDrawItem;
    // The skin's popup frame: the "MAINMENU" BORDERSMASK's border width (3 when
    // that is 0 or less), 0 without such a mask; computed again after a reset.
    int SkinBorderWidth();
    void SetSkinBorderWidth(int value) { skinBorderWidth_ = value; }

    // ---- TacMenuSkinning ----
    void HookItem(LPARAM menuItem) override;
    void HookPopupWindow(LPARAM window) override;
    void InstallPopups(bool skinned) override;
    bool Active() const override { return active_; }
    void SetActive(bool value) override;
    void HookMenu(TComponent* menuOrItem, bool on) override;
    void HookMenus(TComponent* root, bool on) override;
    void ResetBorderWidth() override { skinBorderWidth_ = -1; }
    void FreeSharedBitmap() override;

    // ---- measuring and painting ----
    static TsMenuItemType ItemType(const TMenuItem& item);
    // Glyph size of an item: its own bitmap, else its menu's image list, else 16 x 16.
    static SIZE GlyphSize(const TMenuItem& item);
    // The image list of the item's menu, or nullptr.
    static const TCustomImageList* ImagesOf(const TMenuItem& item);
    // Height of the text "W" in the screen's menu font.
    static int MenuTextHeight();
    int ItemHeight(const TMenuItem& item) const;
    void PopupMeasure(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void PopupDraw(TMenuItem* item, TCanvas& canvas, const RECT& rect, TOwnerDrawState state);
    void MenuBarMeasure(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void MenuBarDraw(TMenuItem* item, TCanvas& canvas, const RECT& rect, TOwnerDrawState state);
    // The extra line's width: ExtraLineWidth when allowed and shown, else 0;
    // inside a popup item less the part of the platform's frame the skin's frame does not cover.
    int ExtraLineWidth(bool insideItem);
    // The popup background for the popup whose first item is First (made once per popup).
    void PreparePopupBackground(TMenuItem* first, int width, int height, HWND window);
    // The popup window's skinned frame: subclassed once; its shape or its frame strips.
    void PopupWindowFrame(HWND window);

    // The shared popup state (one popup at a time), for tests and painting.
    static const TBitmap24& PopupBackground();
    static const std::vector<TRect>& PopupHoles();

private:
    const TsSkinTables* Tables() const;
    int SectionIndex(const std::string& name) const;
    // Pop-up menus are painted from MAINMENU (their background) and MENUITEM (their
    // items): a skin without either leaves them the system's look.
    bool PopupsSkinnable() const;
    void HookMainMenu(TMainMenu& menu, bool on);
    void HookPopupMenu(TPopupMenu& menu, bool on);
    void HookPopupItem(TMenuItem& item, bool on);
    void HookBarItem(TMenuItem& item, bool on);
    void FetchExtraLineData(TMenuItem* first);
    void CheckFirstItem(TMenuItem* first);
    void PaintExtraLine(int height);
    void PaintIconLine(int height);
    void RebuildHoles(int width, int height);
    void DrawDivider(TMenuItem* item, HDC dc, const RECT& rect);
    void PaintPopupFrameStrips(TMenuItem* item, HWND window, const RECT& rect);
    void PaintPopupItem(TMenuItem* item, HDC dc, const RECT& rect, TOwnerDrawState state, POINT offset);
    int PopupHeightWithoutWindow(TMenuItem* item) const;
    void ShowColumnEdges(TMenuItem* item, HDC dc, const RECT& rect, POINT offset);
    // Whether the item is the menu bar's last while an MDI child's icon starts the line.
    static bool LastBeforeChildIcon(TMenuItem* item);

    TsSkinManager* manager_;
    bool active_ = false;
    int skinBorderWidth_ = 0;
    std::map<const TPopupMenu*, TMenuAnimation> savedAnimations_;
};

// Makes every skin manager created from now on hold a TsSkinableMenus.
void InstallSkinableMenus();

}  // namespace korvel

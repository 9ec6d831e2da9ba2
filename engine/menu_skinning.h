#pragma once
// What the skin manager and the form skinning ask of the menu skinning: the
// interface the manager holds. The real menu skinning lives with the controls
// and is made by a factory the program (or a test) installs before the first
// manager is created; without one the manager holds a do-nothing object.
#include <windows.h>

#include <functional>
#include <memory>

#include "gui/component.h"

namespace korvel {

class TsSkinManager;
class TForm;
class TBitmap24;

// The two application messages through which popup menu frames are drawn:
// 48307 carries a menu item, 48308 a popup menu window.
constexpr UINT WM_SKINMENUITEM = 48307;
constexpr UINT WM_SKINMENUWINDOW = 48308;

class TacMenuSkinning {
public:
    virtual ~TacMenuSkinning() = default;
    // 48307: the popup window under the item's rectangle gets its frame.
    virtual void HookItem(LPARAM /*menuItem*/) {}
    // 48308: the window gets its frame.
    virtual void HookPopupWindow(LPARAM /*window*/) {}
    // The manager's SkinnedPopups changed: pop-up handling is installed or removed again.
    virtual void InstallPopups(bool /*skinned*/) {}
    // Whether the menus of the application are hooked; a change walks them all.
    virtual bool Active() const { return false; }
    virtual void SetActive(bool /*value*/) {}
    // Hooks (on) or releases one main menu, pop-up menu or menu item, or every
    // one of those that Root owns, recursively.
    virtual void HookMenu(TComponent* /*menuOrItem*/, bool /*on*/) {}
    virtual void HookMenus(TComponent* /*root*/, bool /*on*/) {}
    // The skin changed: the popup frame width is computed again at its next read.
    virtual void ResetBorderWidth() {}
    // Drops the shared popup background (the skin it was painted from is going).
    virtual void FreeSharedBitmap() {}
};

// Makes the menu skinning of a new manager.
using TMenuSkinningFactory = std::function<std::unique_ptr<TacMenuSkinning>(TsSkinManager*)>;
void SetMenuSkinningFactory(TMenuSkinningFactory factory);
std::unique_ptr<TacMenuSkinning> MakeMenuSkinning(TsSkinManager* manager);

// A form's skinned menu line as its frame skinning painted it: the clean
// background (window width x rows of the line) and the window row it starts at.
struct TMenuLineBackground {
    const TBitmap24* Bitmap = nullptr;
    int Top = 0;
};
// Answered by the form skinning (false: the form has no skinned menu line).
using TMenuLineSource = std::function<bool(TForm*, TMenuLineBackground&)>;
void SetMenuLineSource(TMenuLineSource source);
bool MenuLineOf(TForm* form, TMenuLineBackground& line);

// Whether a maximised MDI child's icon starts the frame's menu line, as the
// form skinning answers it (false without an answer).
using TMDIChildIconSource = std::function<bool(TForm*)>;
void SetMDIChildIconSource(TMDIChildIconSource source);
bool MDIChildIconShown(TForm* frame);

}  // namespace korvel

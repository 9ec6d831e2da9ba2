#pragma once
// The skinned system menu's rules: which window commands (and so which caption
// buttons) are visible and enabled for a form. The menu itself (its items, the
// skins submenu and dropping it) arrives with the skinned menus; until then
// UpdateItems and Drop are the seams the provider calls.
#include "gui/component.h"
#include "gui/forms.h"

namespace korvel {

class TsSkinProvider;

class TsSystemMenu : public TComponent {
public:
    TsSystemMenu(TsSkinProvider* provider, TForm* form);
    std::string ClassName() const override { return "TsSystemMenu"; }

    TForm* Form() const { return form_; }

    bool VisibleSystemMenu() const;
    bool VisibleRestore() const;
    bool VisibleMove() const { return true; }
    bool VisibleSize() const;
    bool VisibleMinimize() const;
    bool VisibleMaximize() const;
    bool VisibleClose() const { return VisibleSystemMenu(); }
    bool EnabledRestore() const;
    bool EnabledMove() const;
    bool EnabledSize() const;
    bool EnabledMinimize() const;
    bool EnabledMaximize() const;
    bool EnabledClose() const { return true; }

    // Seam: applies the rules to the menu's items once the menu has items.
    void UpdateItems() {}
    // Seam: pops the menu up at a screen point once menus are skinned.
    void Drop(int /*x*/, int /*y*/) {}

private:
    bool Minimized() const;
    TWindowState State() const;
    TsSkinProvider* provider_;
    TForm* form_;
};

}  // namespace korvel

#pragma once
// The skinned system menu: the pop-up menu a skinned form shows instead of the
// platform's (from the title icon or a right click on the caption), with the
// usual window commands and, in front of them, an "Available skins" submenu
// that switches the skin manager. Its visibility rules also decide which
// caption buttons are shown and active.
#include <string>

#include "gui/forms.h"
#include "gui/menus.h"

namespace korvel {

class TsSkinProvider;
class TsSkinManager;

class TsSystemMenu : public TPopupMenu {
public:
    TsSystemMenu(TsSkinProvider* provider, TForm* form);
    std::string ClassName() const override { return "TsSystemMenu"; }

    TForm* Form() const { return form_; }

    TMenuItem* ItemRestore = nullptr;
    TMenuItem* ItemMove = nullptr;
    TMenuItem* ItemSize = nullptr;
    TMenuItem* ItemMinimize = nullptr;
    TMenuItem* ItemMaximize = nullptr;
    TMenuItem* ItemClose = nullptr;

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

    // Applies the rules to the six command items; an item whose change fails keeps its state.
    void UpdateItems();
    // Builds the skins submenu afresh (when the provider makes one), then pops
    // the menu up at a screen point, its commands going to the form's window.
    void Drop(int x, int y);

    // The "Available skins" item at the head of the menu, or nullptr.
    TMenuItem* SkinsItem() const;
    // The skin an item caption names: accelerator marks removed ("&&" is a literal "&").
    static std::string SkinNameOfCaption(const std::string& caption);
    // The caption that shows a skin's name as it stands.
    static std::string CaptionOfSkinName(const std::string& name);

private:
    bool Minimized() const;
    TWindowState State() const;
    TsSkinManager* Manager() const;
    TMenuItem* AddCommand(const char* name, const char* caption, TShortCut shortCut, void (TsSystemMenu::*command)());
    void RebuildSkinsMenu();
    void SkinClick(TObject* sender);
    void Restore();
    void Move();
    void Size();
    void Minimize();
    void Maximize();
    void Close();

    TsSkinProvider* provider_;
    TForm* form_;
};

}  // namespace korvel

#pragma once
// The gallery's MDI frame: built from its stored definition (resource
// "GALLERYFRAME") with the skin manager, the frame's skin provider and the main
// menu. File opens child windows of every kind (gallery_children.*), Window
// arranges them, Skins lists the skins the manager finds and switches the whole
// program to the one chosen.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "gallery/gallery_children.h"
#include "gui/forms.h"

namespace korvel {

class TMenuItem;
class TsSkinManager;

class TGalleryFrame : public TForm {
public:
    // Builds the frame from the definition resources of Module (nullptr: the program)
    // and opens one window of controls. A StartSkin names the skin (one the Skins
    // menu lists) the frame and that window start in instead of the definition's
    // own: chosen before the window of controls is made and before anything
    // shows. A name the Skins menu would not list is reported and the
    // definition's own skin stays.
    explicit TGalleryFrame(TComponent* owner, HMODULE module = nullptr, const std::string& startSkin = {});
    std::string ClassName() const override { return "TGalleryFrame"; }

    // Opens a new child window of the given kind and answers it.
    TGalleryChild& OpenChild(TGalleryChildKind kind);
    // The skin manager of the definition.
    TsSkinManager& SkinManager() const;
    // Refills the Skins menu from the manager's list, the current skin checked.
    void RebuildSkinsMenu();
    // The Skins menu's items' skin names, in menu order.
    std::vector<std::string> SkinsMenuNames() const;

private:
    void RegisterHandlers();
    TComponent& Component(std::string_view name) const;
    void CloseActiveChild();
    void ArrangeIcons();
    void SetActiveChildState(TWindowState state);
    void ChooseSkin(TObject* sender);
    void StartIn(const std::string& skin);

    HMODULE module_;
};

}  // namespace korvel

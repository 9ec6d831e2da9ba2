#include "gallery/gallery_frame.h"

#include <algorithm>

#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "forms/skinned_program.h"
#include "forms/system_menu.h"
#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/menus.h"

namespace korvel {
namespace {

// The Skins menu's items are named after it, numbered in menu order.
constexpr std::string_view kSkinItemPrefix = "mnuSkin";

}  // namespace

TGalleryFrame::TGalleryFrame(TComponent* owner, HMODULE module, const std::string& startSkin)
    : TForm(owner), module_(module ? module : GetModuleHandleW(nullptr)) {
    PrepareSkinnedProgram();
    RegisterHandlers();
    ReadDefinitionResource(module_, "GALLERYFRAME");
    if (!startSkin.empty()) StartIn(startSkin);
    // sSkinProvider1 gives the frame its TsMDIForm (skinned MDI area, its scroll
    // bars and the maximised child's buttons in the menu line) at its first skin-up.
    RebuildSkinsMenu();
    OpenChild(TGalleryChildKind::Controls);
}

TComponent& TGalleryFrame::Component(std::string_view name) const {
    TComponent* component = FindComponent(std::string(name));
    if (!component) throw EInvalidOperation("The gallery has no component \"" + std::string(name) + "\"");
    return *component;
}

TsSkinManager& TGalleryFrame::SkinManager() const { return dynamic_cast<TsSkinManager&>(Component("sSkinManager1")); }

void TGalleryFrame::RegisterHandlers() {
    auto bind = [this](std::string name, std::function<void()> action) {
        RegisterMethod(name, [action = std::move(action)](TObject*) { action(); });
    };
    for (const TGalleryChildRow& row : GalleryChildRows())
        bind(std::string(row.MenuItem) + "Click", [this, kind = row.Kind] { OpenChild(kind); });
    bind("mnuCloseClick", [this] { CloseActiveChild(); });
    bind("mnuExitClick", [this] { Close(); });
    bind("mnuCascadeClick", [this] { Cascade(); });
    bind("mnuTileClick", [this] { Tile(); });
    bind("mnuArrangeClick", [this] { ArrangeIcons(); });
    // The active child's window state from the menu as well: the maximised
    // child's own buttons in the menu line come with the frame's MDI support.
    bind("mnuMaximiseClick", [this] { SetActiveChildState(TWindowState::wsMaximized); });
    bind("mnuRestoreClick", [this] { SetActiveChildState(TWindowState::wsNormal); });
    // Runs as the Skins submenu opens: a skin folder added meanwhile shows at once.
    bind("mnuSkinsClick", [this] { RebuildSkinsMenu(); });
}

TGalleryChild& TGalleryFrame::OpenChild(TGalleryChildKind kind) {
    // Owned by the application like every form, so that skin changes reach it.
    auto* child = new TGalleryChild(&Application(), kind, module_);
    child->Show();
    return *child;
}

void TGalleryFrame::CloseActiveChild() {
    if (TForm* child = ActiveMDIChild()) child->Close();
}

void TGalleryFrame::SetActiveChildState(TWindowState state) {
    if (TForm* child = ActiveMDIChild()) child->SetWindowState(state);
}

void TGalleryFrame::ArrangeIcons() {
    if (HWND client = ClientHandle()) SendMessageW(client, WM_MDIICONARRANGE, 0, 0);
}

void TGalleryFrame::StartIn(const std::string& skin) {
    std::vector<std::string> skins;
    SkinManager().ListSkins(skins);
    // The manager would take the internal skin for a name it does not find: say so instead.
    if (std::find(skins.begin(), skins.end(), skin) == skins.end()) {
        Application().HandleException(EInvalidOperation("The gallery has no skin \"" + skin + "\" in " +
                                                        SkinManager().SkinDirectory() + "; it starts in \"" +
                                                        SkinManager().SkinName() + "\""));
        return;
    }
    SkinManager().SetSkinName(skin);
}

void TGalleryFrame::RebuildSkinsMenu() {
    auto& head = dynamic_cast<TMenuItem&>(Component("mnuSkins"));
    TsSkinManager& manager = SkinManager();
    std::vector<std::string> skins;
    manager.ListSkins(skins);
    // The submenu keeps at least one item, or Win32 would make the head a plain command.
    if (skins.empty()) skins.push_back(manager.SkinName());
    while (head.Count() > static_cast<int>(skins.size())) head.Delete(head.Count() - 1);
    for (std::size_t i = 0; i < skins.size(); ++i) {
        TMenuItem* item = i < static_cast<std::size_t>(head.Count()) ? head.Items(static_cast<int>(i)) : nullptr;
        if (!item) {
            item = new TMenuItem(this);
            item->SetName(std::string(kSkinItemPrefix) + std::to_string(i));
            item->SetRadioItem(true);
            item->OnClick = [this](TObject* sender) { ChooseSkin(sender); };
            head.Add(item);
        }
        item->SetCaption(TsSystemMenu::CaptionOfSkinName(skins[i]));
        item->SetChecked(skins[i] == manager.SkinName());
    }
}

std::vector<std::string> TGalleryFrame::SkinsMenuNames() const {
    auto& head = dynamic_cast<TMenuItem&>(Component("mnuSkins"));
    std::vector<std::string> names;
    for (int i = 0; i < head.Count(); ++i) names.push_back(TsSystemMenu::SkinNameOfCaption(head.Items(i)->Caption()));
    return names;
}

void TGalleryFrame::ChooseSkin(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    SkinManager().SetSkinName(TsSystemMenu::SkinNameOfCaption(item->Caption()));
    RebuildSkinsMenu();
}

}  // namespace korvel

#include "gallery/gallery_children.h"

#include <stdexcept>

#include "gui/std_controls.h"

namespace korvel {
namespace {

const TGalleryChildRow kRows[] = {
    {TGalleryChildKind::Controls, "GALLERYCONTROLS", "mnuNewControls"},
    {TGalleryChildKind::Scrolling, "GALLERYSCROLLING", "mnuNewScrolling"},
    {TGalleryChildKind::Sizeable, "GALLERYSIZEABLE", "mnuNewSizeable"},
    {TGalleryChildKind::TextLists, "GALLERYTEXTLISTS", "mnuNewTextLists"},
};

}  // namespace

std::span<const TGalleryChildRow> GalleryChildRows() { return kRows; }

const TGalleryChildRow& GalleryChildRow(TGalleryChildKind kind) {
    for (const TGalleryChildRow& row : kRows)
        if (row.Kind == kind) return row;
    throw std::logic_error("no gallery child of this kind");
}

// The child is read without an owner: its definition names it, and a second
// window of the same kind must not clash with the first in the owner's list.
TGalleryChild::TGalleryChild(TComponent* owner, TGalleryChildKind kind, HMODULE module) : TForm(nullptr), kind_(kind) {
    // A closed child goes for good; the framework's default would minimise it.
    OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    RegisterMethod("btnCloseClick", [this](TObject*) { Close(); });
    ReadDefinitionResource(module ? module : GetModuleHandleW(nullptr), std::string(GalleryChildRow(kind).Resource));
    const std::string stored = Name();
    std::string name = stored;
    for (int n = 2; owner && owner->FindComponent(name); ++n) name = stored + std::to_string(n);
    SetName(name);
    if (owner) owner->InsertComponent(this);
    // The focused check box shows its focus, and the default button keeps its
    // default look (the focus is on no other button).
    if (kind == TGalleryChildKind::Controls)
        if (auto* focused = dynamic_cast<TWinControl*>(FindComponent("chkFocused"))) SetActiveControl(focused);
}

}  // namespace korvel

#include "gallery/gallery_children.h"

#include <stdexcept>

#include "gui/bar_controls.h"
#include "gui/std_controls.h"

namespace korvel {
namespace {

const TGalleryChildRow kRows[] = {
    {TGalleryChildKind::Controls, "GALLERYCONTROLS", "mnuNewControls"},
    {TGalleryChildKind::Scrolling, "GALLERYSCROLLING", "mnuNewScrolling"},
    {TGalleryChildKind::Sizeable, "GALLERYSIZEABLE", "mnuNewSizeable"},
    {TGalleryChildKind::ComboBoxes, "GALLERYCOMBOBOXES", "mnuNewComboBoxes"},
    {TGalleryChildKind::Gauges, "GALLERYGAUGES", "mnuNewGauges"},
    {TGalleryChildKind::PageControls, "GALLERYPAGECONTROLS", "mnuNewPageControls"},
    {TGalleryChildKind::Bars, "GALLERYBARS", "mnuNewBars"},
    {TGalleryChildKind::RadioGroups, "GALLERYRADIO", "mnuNewRadio"},
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
    if (kind == TGalleryChildKind::Bars) RegisterBarsHandlers();
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

// The bars window tells in its status bar what the tool buttons and the splitter did.
void TGalleryChild::RegisterBarsHandlers() {
    const auto status = [this](int panel, const std::string& text) {
        if (auto* bar = dynamic_cast<TStatusBar*>(FindComponent("stbBars")); bar && panel < bar->PanelCount())
            bar->SetPanelText(panel, text);
    };
    RegisterMethod("tbtnBarsClick", [status](TObject* sender) {
        if (auto* button = dynamic_cast<TControl*>(sender)) status(0, "Clicked: " + button->Caption());
    });
    RegisterMethod("splBarsMoved", [this, status](TObject*) {
        if (auto* left = dynamic_cast<TControl*>(FindComponent("pnlBarsLeft")))
            status(1, "Left panel " + std::to_string(left->Width()));
    });
}

}  // namespace korvel

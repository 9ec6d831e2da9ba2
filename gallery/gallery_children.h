#pragma once
// The gallery's MDI child windows, one kind per stored definition: every
// skinned control in every state a user can see, a form larger than its
// window, and a sizeable form with screen snap and outline resizing.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "gui/forms.h"

namespace korvel {

enum class TGalleryChildKind { Controls, Scrolling, Sizeable, ComboBoxes, Gauges, PageControls, Bars, RadioGroups, TextLists };

struct TGalleryChildRow {
    TGalleryChildKind Kind;
    std::string_view Resource;   // the RCDATA resource holding the definition
    std::string_view MenuItem;   // the File menu item that opens it
};

// One row per kind, in the File menu's order.
std::span<const TGalleryChildRow> GalleryChildRows();
const TGalleryChildRow& GalleryChildRow(TGalleryChildKind kind);

class TGalleryChild : public TForm {
public:
    // Builds the child from the definition resource of its kind; Owner is the frame.
    TGalleryChild(TComponent* owner, TGalleryChildKind kind, HMODULE module = nullptr);
    std::string ClassName() const override { return "TGalleryChild"; }
    TGalleryChildKind Kind() const { return kind_; }

private:
    void RegisterBarsHandlers();

    TGalleryChildKind kind_;
};

}  // namespace korvel

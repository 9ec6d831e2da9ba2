#pragma once
// The caption buttons of a skinned form: the records of the four standard
// buttons, the extra title buttons a form may carry, the hit codes the skinned
// hit test answers, and the button sizes taken from the skin's masks.
#include <functional>
#include <memory>
#include <string>

#include "gui/component.h"
#include "gui/control.h"
#include "gui/graphics.h"
#include "paint/geometry.h"
#include "skin/skin_data.h"

namespace korvel {

// What the skinned hit test answers and CurrentButton holds.
enum THitCode : int {
    htsTransparent = -1,     // a maximised form outside its inner rectangle
    htsNowhere = 0,          // nothing skinned here: the form's own handler decides
    htsCaption = 2,
    htsIcon = 3,             // the system-menu icon
    htsMinimize = 8,
    htsMaximize = 9,
    htsGrip = 17,            // bottom-right sizing
    htsClose = 20,
    htsHelp = 21,
    htsMDIClose = 101,       // the buttons of a maximised MDI child in the frame's menu line
    htsMDIRestore = 102,
    htsMDIMinimize = 103,
    htsTitleButton = 1000,   // + the title button's position
};

// Button states.
enum TButtonState : int { bsNormalState = 0, bsHotState = 1, bsPressedState = 2 };

// One caption button: its state, its mask and its place in window coordinates.
struct CaptionButtonInfo {
    int State = bsNormalState;
    int MaskIndex = -1;
    TRect Rect;
};

class TsTitleButtons;

// An extra caption button of a skinned form, placed left of the standard ones.
class TsTitleButton : public TCollectionItem {
public:
    explicit TsTitleButton(TCollection* collection);
    std::string ClassName() const override { return "TsTitleButton"; }
    void Assign(const TPersistent& source) override;

    bool Enabled = true;
    TBitmap Glyph;               // drawn centred; its bottom-left pixel is its transparent colour
    std::string Name;
    bool UseSkinData = true;     // the skin's TITLEBUTTON mask is its face
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    // Run-time values, as in CaptionButtonInfo.
    int State = bsNormalState;
    int MaskIndex = -1;
    TRect Rect;
};

// The title buttons of a provider, in placing order (right to left after the standard buttons).
class TsTitleButtons : public TCollection {
public:
    explicit TsTitleButtons(TPersistent* owner);
    std::string ClassName() const override { return "TsTitleButtons"; }
    TsTitleButton& Add() { return static_cast<TsTitleButton&>(*TCollection::Add()); }
    TsTitleButton& Items(int index) const { return static_cast<TsTitleButton&>(*TCollection::Items(index)); }
};

// Widths and heights of caption buttons from a mask: the state width, and the
// colour part's height. Both are 21 when the mask index is not valid.
constexpr int DefaultButtonSize = 21;
int MaskButtonWidth(const TsSkinTables* tables, int maskIndex);
int MaskButtonHeight(const TsSkinTables* tables, int maskIndex);

}  // namespace korvel

#pragma once
// Composition of a control's skinned look into a 24-bit bitmap: the section's
// background (plain colour, gradient, texture, transparency toward what lies
// behind), its frame, and its corner images.
//
// The inputs are explicit: the skin tables, the section and mask indexes, the
// parent's background and colour, the control's colour and position. The state
// object of a control (TsCommonData) fills a TItemSource from what it knows.
#include <functional>

#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "paint/shared_state.h"
#include "paint/texture.h"
#include "skin/skin_data.h"

namespace korvel {

// What PaintItem needs of a control.
struct TItemSource {
    const TsSkinTables* Tables = nullptr;   // null: no manager, nothing is drawn
    int SkinIndex = -1;
    int BorderIndex = -1;                   // the section's BORDERSMASK entry
    int PatternIndex = -1;                  // -1: looked up by name ("PATTERN")
    int HotPatternIndex = -1;               // -1: looked up by name ("HOTPATTERN")
    TColor CustomColor = clNone;            // the control's own Color when it keeps it, else clNone
    bool HasParent = false;
    TColor ParentColor = clNone;            // the parent's Color as RGB (used when the parent has no cache)
    bool NeedsParentRepaint = true;         // the background depends on the parent
    // Asked only when needed: the colour the parent gives its children (SMC_GETCONTROLCOLOR).
    std::function<TColor()> ParentControlColor;
};

// The whole look: background, frame, corner images. rect must lie inside bitmap;
// point is the control's position in its parent.
void PaintItem(const TItemSource& source, TParentBackground parentBg, bool fillCentre, TBitmap24& bitmap, TPoint point,
               TRect rect, int state);

// The background layers only.
void PaintItemBackground(int skinIndex, const TParentBackground& parentBg, TColor customColor, int hotPatternIndex,
                         int patternIndex, const TsSkinTables* tables, TBitmap24& bitmap, TPoint point, TRect rect,
                         int state);

// Background plus the section's own BORDERSMASK frame, for window parts without
// a state object. The form with explicit indexes takes the texture and frame
// entries as given (-1 looks the textures up by name; borderIndex -1 draws no frame).
void PaintSection(int skinIndex, const TParentBackground& parentBg, const TsSkinTables* tables, TBitmap24& bitmap,
                  TPoint point, TRect rect, int state, bool fillCentre);
void PaintSection(int skinIndex, const TParentBackground& parentBg, const TsSkinTables* tables, TBitmap24& bitmap,
                  TPoint point, TRect rect, int state, bool fillCentre, int patternIndex, int hotPatternIndex,
                  int borderIndex);

// Colour, gradient and texture of one state in one rectangle, as the section's
// percentages weigh them. transparency is the set's percent (it decides whether
// SharedColor replaces a plain colour).
struct TOpaqueLayers {
    TColor Color = 0;
    int Transparency = 0;
    int GradientPercent = 0;
    const TsGradArray* Gradient = nullptr;
    int ImagePercent = 0;
    const TTexture* Texture = nullptr;      // null: none found
    int DrawType = 0;
};
void PaintOpaque(TBitmap24& bitmap, TRect rect, const TOpaqueLayers& layers);
// PaintOpaque layer by layer as written: the texture, the gradient over it, the
// colour mixed in. PaintOpaque computes each line of a rectangle without a
// texture once and copies it; tests compare the two.
void PaintOpaqueLayers(TBitmap24& bitmap, TRect rect, const TOpaqueLayers& layers);

}  // namespace korvel

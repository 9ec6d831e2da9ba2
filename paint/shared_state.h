#pragma once
// The process-wide answer records the painting code shares (GUI thread only):
// the background behind a control, the colour its parent gives it, and the fill
// colour that replaces key-colour pixels of frame corners while it is set.
#include "gui/bitmap24.h"
#include "gui/colors.h"

namespace korvel {

// What lies behind a control: the parent's cache and the parent's client origin
// inside it. Fields other than Ready are meaningful only when Ready is set.
struct TParentBackground {
    TBitmap24* Bitmap = nullptr;
    int OffsetX = 0;
    int OffsetY = 0;
    bool Ready = false;
};

// The answer of the last cache request (filled by whoever answers it).
extern TParentBackground ParentBackground;

// The colour a parent gives its children as their background; clNone when nobody answered.
extern TColor SharedColor;

// While not clNone, key-colour pixels of frame corners take this colour instead
// of the parent's pixels.
extern TColor GlobalFillColor;

}  // namespace korvel

#pragma once
// Gradient bands and the corner mesh of skin sections.
#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "skin/gradient_data.h"

namespace korvel {

// Draws stops over rect (clamped to the bitmap); the first stop's Mode picks
// vertical bands (0), horizontal bands (1) or the five-point corner mesh (2,
// drawn by the platform's triangle gradient). offset is added to the length the
// band percentages are taken of. Nothing for an empty stop list.
void PaintGradient(TBitmap24& bitmap, TRect rect, const TsGradArray& stops, int offset = 0);

}  // namespace korvel

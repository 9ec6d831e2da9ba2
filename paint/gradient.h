#pragma once
// Gradient bands and the corner mesh of skin sections.
#include <vector>

#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "skin/gradient_data.h"

namespace korvel {

// Draws stops over rect (clamped to the bitmap); the first stop's Mode picks
// vertical bands (0), horizontal bands (1) or the five-point corner mesh (2,
// drawn by the platform's triangle gradient). offset is added to the length the
// band percentages are taken of. Nothing for an empty stop list.
void PaintGradient(TBitmap24& bitmap, TRect rect, const TsGradArray& stops, int offset = 0);

// The colour (RGB) PaintGradient gives each line of a rectangle `length` lines
// long: its rows for vertical bands, its columns for horizontal ones. False, with
// lines left as they were, for the corner mesh, an unknown mode, an empty stop
// list, and bands that would reach outside the rectangle or leave a line unpainted.
bool GradientLines(const TsGradArray& stops, int length, int offset, std::vector<TColor>& lines);

}  // namespace korvel

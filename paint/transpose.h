#pragma once
// Rows and columns swapped: the way a look drawn for a horizontal control is
// laid on a vertical one (its top edge becomes the left edge, so light that
// falls from the top left still does).
#include "gui/bitmap24.h"
#include "paint/geometry.h"

namespace korvel {

// Copies sourceRect of source into dest with rows and columns swapped: source
// pixel (x, y) lands on dest (at.X + y - sourceRect.Top, at.Y + x - sourceRect.Left).
// Whatever falls outside either bitmap is left out.
void CopyTransposed(const TBitmap24& source, TRect sourceRect, TBitmap24& dest, TPoint at);

}  // namespace korvel

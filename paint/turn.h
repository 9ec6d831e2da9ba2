#pragma once
// Pictures turned to a side: a look made upright (as for a tab on top, or a
// caption that reads left to right) put into a place that faces another way,
// and the pixels of such a place taken back upright.
#include "gui/bitmap24.h"
#include "paint/geometry.h"

namespace korvel {

enum class TTurn {
    None,
    FlipVertical,   // upside down, left and right kept (a top tab made a bottom tab)
    Left,           // a quarter turn anticlockwise: the bottom edge goes right, text reads upward
    Right,          // a quarter turn clockwise: the bottom edge goes left, text reads downward
};

// The size of the upright picture that fills a place of width x height.
TPoint UprightSize(TTurn turn, int width, int height);

// Puts upright (of UprightSize(turn, rect)) into dest at rect, turned. Pixels
// of rect outside dest, and an upright of another size, draw nothing there.
void PutTurned(const TBitmap24& upright, TBitmap24& dest, TRect rect, TTurn turn);

// The pixels of source at rect, turned back upright (PutTurned's inverse); the
// parts of rect outside source are black.
TBitmap24 TakeUpright(const TBitmap24& source, TRect rect, TTurn turn);

}  // namespace korvel

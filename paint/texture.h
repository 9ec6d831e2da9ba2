#pragma once
// Textures of skin sections: a mask entry's first state image, or a decoded
// pattern picture, laid over a rectangle in one of the draw types.
#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "paint/mask.h"

namespace korvel {

// Draw types (the texture entry's StretchMode).
enum TTextureDrawType {
    tdTile = 0, tdStretch = 1, tdTopRow = 2, tdLeftColumn = 3, tdTopStretched = 4, tdLeftStretched = 5,
    tdTopBottom = 6, tdLeftRight = 7, tdTileByColumns = 10
};

// A texture: the colour part (and, for MaskType 1, the transparency part) of a
// mask's first state, or a whole pattern picture.
struct TTexture {
    TMaskImage Mask;                    // valid when Pattern is null
    const TBitmap24* Pattern = nullptr; // a decoded pattern picture
    int Width() const { return Pattern ? Pattern->Width() : Mask.StateWidth; }
    int Height() const { return Pattern ? Pattern->Height() : Mask.PartHeight; }
};

// Covers rect with the texture in drawType; returns the part of rect left
// uncovered (empty when all of it is covered). Nothing outside rect is written.
TRect DrawTexture(TBitmap24& bitmap, TRect rect, const TTexture& texture, int drawType);

// Tiles the texture over rect from its top-left: a mask image is cut at the
// right and bottom; a pattern picture is drawn whole on a grid of
// (width div w + 1) x (height div h + 1) positions, clipped to rect.
void TileImage(TBitmap24& bitmap, TRect rect, const TTexture& texture);

}  // namespace korvel

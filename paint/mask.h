#pragma once
// Drawing of mask entries into 24-bit working bitmaps: the nine-slice frame, one
// piece through the per-pixel transparency blend, glyphs with states, the corner
// refresh and the key-colour runs that shape windows.
//
// A mask image is a rectangle of the skin's master bitmap, or a picture of the
// entry's own; it holds ImageCount state images side by side, and its height is
// split into MaskType + 1 parts: the colour part on top and, with MaskType 1 or
// more, the transparency part directly below it (each byte: how much of the
// destination shows through, 0 opaque, 255 fully transparent). Magenta is never
// drawn as colour.
#include <vector>

#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "paint/mask_row.h"
#include "paint/shared_state.h"
#include "skin/skin_data.h"

namespace korvel {

// The geometry of one mask entry's image.
struct TMaskImage {
    const TBitmap24* Image = nullptr;   // the master bitmap or the entry's own picture
    TRect R;                            // the entry's rectangle inside Image
    int ImageCount = 0;                 // state images side by side
    int MaskType = 0;                   // >= 1: a transparency part lies below the colour part
    bool Own = false;                   // the picture is the entry's own
    int StateWidth = 0;                 // R width / ImageCount
    int PartHeight = 0;                 // R height / (MaskType + 1)
    int ColumnWidth = 0;                // frame piece width: R width / (ImageCount * 3)
    int RowHeight = 0;                  // frame piece height: R height / ((MaskType + 1) * 3)

    // A transparency part lies one part height below the colour part.
    bool HasTransparency() const { return MaskType >= 1; }
    // Frames and glyphs of this image go through the transparency blend, whose key
    // pixels take the parent's background: an image of the entry's own always does
    // (without a transparency part its colour pixels are simply opaque).
    bool DrawnByBlend() const { return Own || HasTransparency(); }
    // Left edge of state s (clamped to the last state) inside Image, for glyphs and textures.
    int StateLeft(int state) const;
    // Left edge of state s (clamped) of a frame: three piece columns per state, so
    // a width that is not a multiple of 3 * ImageCount leaves its rest after the last state.
    int FrameStateLeft(int state) const;
};

// Resolves the image of mask; false when it has none or cannot be drawn (ImageCount
// 0 on the master bitmap, a rectangle outside its picture, pieces of size 0).
bool GetMaskImage(const TsSkinTables& tables, const TsMaskData& mask, TMaskImage& image);

// The per-pixel transparency blend of one channel.
inline std::uint8_t MaskBlendChannel(int d, int s, int m) {
    const int v = ((d - s) * m + s * 256) >> 8;
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Draws the frame of mask, state state, as a nine-slice over rect of bitmap.
// Corner key pixels take parentBg's pixels (or GlobalFillColor while it is set).
void DrawSkinRect(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg, int state,
                  const TsSkinTables& tables, const TsMaskData& mask);

// What lies under a frame and is not painted yet: a partly transparent item's
// background that DrawSkinRectOver paints as the frame needs it, and blends the
// centre's rows over as it computes them (PaintItem).
class TFrameUnderlay {
public:
    virtual ~TFrameUnderlay() = default;
    // Paints everything under the frame but centre (cut to the bitmap), once.
    virtual void PaintAround(TRect centre) = 0;
    // Paints the centre's part of row y, unless it is done.
    virtual void PaintCentreRow(int y) = 0;
    // Blends row y of the centre with source straight over what lies under it,
    // as it computes that; false, with nothing done, when it cannot.
    virtual bool BlendCentreRow(int y, const TMaskRowSource& source) = 0;
    // Paints whatever is still to be painted.
    virtual void Finish() = 0;
};

// DrawSkinRect over an underlay that is painted on the way: everything but the
// frame's centre before the pieces, the centre row by row with it.
void DrawSkinRectOver(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg, int state,
                      const TsSkinTables& tables, const TsMaskData& mask, TFrameUnderlay& under);

// DrawSkinRect as the tiles are laid, each edge and centre tile drawn on its own;
// DrawSkinRect draws the same bytes a whole row at a time (tests compare the two).
void DrawSkinRectTileByTile(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg,
                            int state, const TsSkinTables& tables, const TsMaskData& mask);

// One piece of a transparency image: colour at sourceRect, transparency one part
// lower, to destRect (the smaller of the two sizes is drawn).
void DrawMaskPiece(TRect destRect, TRect sourceRect, TBitmap24& bitmap, const TMaskImage& image,
                   const TParentBackground& parentBg);

// State state of a glyph mask with its top-left at point. Mode 1 draws it as it
// is; any other mode draws it paler (disabled glyphs).
void DrawSkinGlyph(TBitmap24& bitmap, TPoint point, int state, const TsSkinTables& tables, const TsMaskData& mask,
                   int mode);

// The glyph blend over destRect from sourceRect of the image.
void MaskBlend(TRect destRect, TRect sourceRect, TBitmap24& bitmap, const TMaskImage& image, int mode);

// What the key pixels of refreshed corners take.
struct TCornerFill {
    enum TKind { cfNothing, cfColor, cfParentPixels } Kind = cfNothing;
    TColor Color = clNone;
    const TBitmap24* Parent = nullptr;   // for cfParentPixels: the parent's cache
    int OffsetX = 0;                     // the control's top-left inside Parent
    int OffsetY = 0;
};

// Corner bits of UpdateCorners.
enum TCornerBits : unsigned { crTopLeft = 1, crBottomLeft = 2, crTopRight = 4, crBottomRight = 8, crAll = 15 };

// Re-draws the key pixels of the given corners of a control's frame in its cache
// so they show what now lies behind it. The caller finds the fill (the parent's
// pixels or colour) as the control's state object knows it.
void UpdateCorners(TBitmap24& cache, const TsSkinTables& tables, const TsMaskData& borderMask, int state,
                   unsigned corners, const TCornerFill& fill);

// Appends one rectangle, one pixel high, per horizontal run of key pixels in the
// left and right corner pieces of the first state, piece row 0 (top) or 1 (bottom),
// rows counted from y; right-hand runs are placed for a target targetWidth wide.
void ScanCornerHoles(std::vector<TRect>& list, int targetWidth, const TsSkinTables& tables, const TsMaskData& mask,
                     int row, int y);

// As DrawSkinRect over the whole bitmap, every piece through the transparency blend,
// and collects every run of key pixels it meets (one rectangle per run, bitmap
// coordinates) for the caller to cut out of a window region. Key pixels take color
// unless it is clNone.
void DrawSkinRectRegion(TBitmap24& bitmap, std::vector<TRect>& holes, int state, TColor color,
                        const TsSkinTables& tables, const TsMaskData& mask);

}  // namespace korvel

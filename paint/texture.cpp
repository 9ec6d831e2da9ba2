#include "paint/texture.h"

#include <algorithm>

#include "paint/platform_canvas.h"

namespace korvel {
namespace {

// Places a w x h piece of the texture (from its top-left) at dest, clipped to clip.
void PutPiece(TBitmap24& bitmap, TPoint at, int w, int h, const TTexture& texture, const TRect& clip) {
    const TRect dest = Intersect(Bounds(at.X, at.Y, w, h), Intersect(clip, {0, 0, bitmap.Width(), bitmap.Height()}));
    if (dest.IsEmpty()) return;
    const int sx = dest.Left - at.X, sy = dest.Top - at.Y;
    if (texture.Pattern) {
        for (int y = 0; y < dest.Height(); ++y)
            std::copy_n(texture.Pattern->ScanLine(sy + y) + sx * 3, static_cast<std::size_t>(dest.Width()) * 3,
                        bitmap.ScanLine(dest.Top + y) + dest.Left * 3);
        return;
    }
    const TMaskImage& m = texture.Mask;
    const TRect source = Bounds(m.StateLeft(0) + sx, m.R.Top + sy, dest.Width(), dest.Height());
    if (m.HasTransparency()) {
        DrawMaskPiece(dest, source, bitmap, m, TParentBackground{});
    } else {
        for (int y = 0; y < dest.Height(); ++y)
            std::copy_n(m.Image->ScanLine(source.Top + y) + source.Left * 3, static_cast<std::size_t>(dest.Width()) * 3,
                        bitmap.ScanLine(dest.Top + y) + dest.Left * 3);
    }
}

// The first position of a grid from start in steps of step that reaches past from.
int FirstStep(int start, int from, int step) { return from > start ? start + (from - start) / step * step : start; }

// Tiles from area's top-left; only tiles that reach into the bitmap are visited.
void TileArea(TBitmap24& bitmap, const TRect& area, const TTexture& texture, bool byColumns) {
    const int w = texture.Width(), h = texture.Height();
    if (area.IsEmpty() || w <= 0 || h <= 0) return;
    const int x0 = FirstStep(area.Left, 0, w), y0 = FirstStep(area.Top, 0, h);
    const int x1 = std::min(area.Right, bitmap.Width()), y1 = std::min(area.Bottom, bitmap.Height());
    if (byColumns) {
        for (int x = x0; x < x1; x += w)
            for (int y = y0; y < y1; y += h) PutPiece(bitmap, {x, y}, w, h, texture, area);
    } else {
        for (int y = y0; y < y1; y += h)
            for (int x = x0; x < x1; x += w) PutPiece(bitmap, {x, y}, w, h, texture, area);
    }
}

// Stretches the texture over area (a transparency texture keeps its transparency).
void StretchArea(TBitmap24& bitmap, const TRect& area, const TTexture& texture) {
    const TRect clipped = Intersect(area, {0, 0, bitmap.Width(), bitmap.Height()});
    if (clipped.IsEmpty() || texture.Width() <= 0 || texture.Height() <= 0) return;
    TPaintPlatform& platform = PaintPlatform();
    if (texture.Pattern) {
        platform.StretchCopy(bitmap, area, *texture.Pattern, {0, 0, texture.Width(), texture.Height()});
        return;
    }
    const TMaskImage& m = texture.Mask;
    const TRect colour = Bounds(m.StateLeft(0), m.R.Top, m.StateWidth, m.PartHeight);
    if (!m.HasTransparency()) {
        platform.StretchCopy(bitmap, area, *m.Image, colour);
        return;
    }
    // Colour and transparency stretched alike, only the part of area inside the
    // bitmap, into one picture (colour over transparency), then blended.
    const int w = clipped.Width(), h = clipped.Height();
    const TRect placed = area.Offset(-clipped.Left, -clipped.Top);
    TBitmap24 colourPart(w, h), alphaPart(w, h), stretched(w, h * 2);
    platform.StretchCopy(colourPart, placed, *m.Image, colour);
    platform.StretchCopy(alphaPart, placed, *m.Image, colour.Offset(0, m.PartHeight));
    for (int y = 0; y < h; ++y) {
        std::copy_n(colourPart.ScanLine(y), static_cast<std::size_t>(w) * 3, stretched.ScanLine(y));
        std::copy_n(alphaPart.ScanLine(y), static_cast<std::size_t>(w) * 3, stretched.ScanLine(h + y));
    }
    TMaskImage scaled;
    scaled.Image = &stretched;
    scaled.R = {0, 0, w, h * 2};
    scaled.ImageCount = 1;
    scaled.MaskType = 1;
    scaled.StateWidth = w;
    scaled.PartHeight = h;
    DrawMaskPiece(clipped, {0, 0, w, h}, bitmap, scaled, TParentBackground{});
}

}  // namespace

void TileImage(TBitmap24& bitmap, TRect rect, const TTexture& texture) {
    const int w = texture.Width(), h = texture.Height();
    if (!InPaintRange(rect) || rect.IsEmpty() || w <= 0 || h <= 0) return;
    if (!texture.Pattern) {
        TileArea(bitmap, rect, texture, false);
        return;
    }
    // A grid of (width div w + 1) x (height div h + 1) positions; those wholly
    // outside the bitmap are not visited.
    const int right = rect.Left + (rect.Width() / w + 1) * w, bottom = rect.Top + (rect.Height() / h + 1) * h;
    const int x0 = FirstStep(rect.Left, 0, w), y0 = FirstStep(rect.Top, 0, h);
    const int x1 = std::min(right, bitmap.Width()), y1 = std::min(bottom, bitmap.Height());
    for (int y = y0; y < y1; y += h)
        for (int x = x0; x < x1; x += w) PutPiece(bitmap, {x, y}, w, h, texture, rect);
}

TRect DrawTexture(TBitmap24& bitmap, TRect rect, const TTexture& texture, int drawType) {
    const int w = texture.Width(), h = texture.Height();
    if (!InPaintRange(rect) || rect.IsEmpty() || w <= 0 || h <= 0) return rect;
    const TRect none{rect.Left, rect.Top, rect.Left, rect.Top};
    switch (drawType) {
    case tdTile:
        TileImage(bitmap, rect, texture);
        return none;
    case tdStretch:
        StretchArea(bitmap, rect, texture);
        return none;
    case tdTopRow: {
        const int bottom = std::min(rect.Bottom, rect.Top + h);
        TileArea(bitmap, {rect.Left, rect.Top, rect.Right, bottom}, texture, false);
        return {rect.Left, bottom, rect.Right, rect.Bottom};
    }
    case tdLeftColumn: {
        const int right = std::min(rect.Right, rect.Left + w);
        TileArea(bitmap, {rect.Left, rect.Top, right, rect.Bottom}, texture, false);
        return {right, rect.Top, rect.Right, rect.Bottom};
    }
    case tdTopStretched: {
        const int bottom = std::min(rect.Bottom, rect.Top + h);
        StretchArea(bitmap, {rect.Left, rect.Top, rect.Right, bottom}, texture);
        return {rect.Left, bottom, rect.Right, rect.Bottom};
    }
    case tdLeftStretched: {
        const int right = std::min(rect.Right, rect.Left + w);
        StretchArea(bitmap, {rect.Left, rect.Top, right, rect.Bottom}, texture);
        return {right, rect.Top, rect.Right, rect.Bottom};
    }
    case tdTopBottom: {
        const int top = std::min(rect.Bottom, rect.Top + h), bottom = std::max(top, rect.Bottom - h);
        TileArea(bitmap, {rect.Left, rect.Top, rect.Right, top}, texture, false);
        TileArea(bitmap, {rect.Left, bottom, rect.Right, rect.Bottom}, texture, false);
        return {rect.Left, top, rect.Right, bottom};
    }
    case tdLeftRight: {
        const int left = std::min(rect.Right, rect.Left + w), right = std::max(left, rect.Right - w);
        TileArea(bitmap, {rect.Left, rect.Top, left, rect.Bottom}, texture, false);
        TileArea(bitmap, {right, rect.Top, rect.Right, rect.Bottom}, texture, false);
        return {left, rect.Top, right, rect.Bottom};
    }
    case tdTileByColumns:
        TileArea(bitmap, rect, texture, true);
        return none;
    default:
        // An unknown draw type tiles, like the plain one.
        TileImage(bitmap, rect, texture);
        return none;
    }
}

}  // namespace korvel

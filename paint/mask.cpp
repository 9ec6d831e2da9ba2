#include "paint/mask.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "paint/blend.h"
#include "paint/fast24.h"
#include "paint/mask_row.h"
#include "paint/platform_canvas.h"

namespace korvel {
namespace {

bool IsKeyPixel(const std::uint8_t* p) { return p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF; }

void PutColor(std::uint8_t* d, TColor c) {
    d[0] = BlueOf(c);
    d[1] = GreenOf(c);
    d[2] = RedOf(c);
}

// A piece's copy rectangle after clipping: destination and source top-left and
// the size that lies inside both the bitmap and the image's colour part (the
// transparency half starts alphaOffset rows below). w or h <= 0: nothing to copy.
struct TClippedPiece {
    int dx, dy, sx, sy, w, h;
};

TClippedPiece ClipPiece(const TBitmap24& bitmap, TRect dest, TRect source, const TBitmap24& img, int alphaOffset) {
    int w = std::min(dest.Width(), source.Width()), h = std::min(dest.Height(), source.Height());
    int dx = dest.Left, dy = dest.Top, sx = source.Left, sy = source.Top;
    if (dx < 0) sx -= dx, w += dx, dx = 0;
    if (dy < 0) sy -= dy, h += dy, dy = 0;
    if (sx < 0) dx -= sx, w += sx, sx = 0;
    if (sy < 0) dy -= sy, h += sy, sy = 0;
    w = std::min({w, bitmap.Width() - dx, img.Width() - sx});
    h = std::min({h, bitmap.Height() - dy, img.Height() - sy - alphaOffset});
    return {dx, dy, sx, sy, w, h};
}

// The blend of one piece, shared by the frame, the region and the texture tiles.
// keyFill replaces key pixels when not clNone; holes, when given, collects the
// runs of key pixels in destination coordinates.
void BlendPiece(TBitmap24& bitmap, TRect dest, TRect source, const TMaskImage& image,
                const TParentBackground& parentBg, TColor keyFill, std::vector<TRect>* holes) {
    const TBitmap24& img = *image.Image;
    const int alphaOffset = image.HasTransparency() ? image.PartHeight : 0;
    const auto [dx, dy, sx, sy, w, h] = ClipPiece(bitmap, dest, source, img, alphaOffset);
    if (w <= 0 || h <= 0) return;

    TacFast24 parent;
    const bool useParent = parentBg.Ready && parentBg.Bitmap && parent.Attach(*parentBg.Bitmap);
    // Whole rows through the vector blend when no runs are collected; key pixels
    // are then visited only in rows that have them, and only when they take something.
    const bool rowBlend = alphaOffset && !holes && &img != &bitmap;
    const bool keysTakeSomething = keyFill != clNone || useParent;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = img.ScanLine(sy + y) + sx * 3;
        const std::uint8_t* m = img.ScanLine(sy + y + alphaOffset) + sx * 3;
        std::uint8_t* d = bitmap.ScanLine(dy + y) + dx * 3;
        if (rowBlend && (!MaskBlendRow(d, s, m, static_cast<std::size_t>(w)) || !keysTakeSomething)) continue;
        int runStart = -1;
        for (int x = 0; x < w; ++x, s += 3, m += 3, d += 3) {
            if (!IsKeyPixel(s)) {
                if (rowBlend) continue;   // blended already
                if (runStart >= 0) holes->push_back({dx + runStart, dy + y, dx + x, dy + y + 1}), runStart = -1;
                if (alphaOffset)
                    for (int c = 0; c < 3; ++c) d[c] = MaskBlendChannel(d[c], s[c], m[c]);
                else
                    std::copy_n(s, 3, d);
                continue;
            }
            if (holes && runStart < 0) runStart = x;
            if (keyFill != clNone) {
                PutColor(d, keyFill);
            } else if (useParent) {
                // A position outside the parent's picture leaves the pixel as it is.
                const int px = dx + x + parentBg.OffsetX, py = dy + y + parentBg.OffsetY;
                if (px >= 0 && py >= 0 && px < parent.Width && py < parent.Height) PutColor(d, parent.Pixel(px, py));
            }
        }
        if (holes && runStart >= 0) holes->push_back({dx + runStart, dy + y, dx + w, dy + y + 1});
    }
}

// Covers area with source pieces at their own size, the last row and column cut.
// Only pieces that reach into clip (the bitmap) are visited.
void Tile(const TRect& area, const TRect& source, const TRect& clip, const std::function<void(TRect, TRect)>& draw) {
    if (area.IsEmpty() || source.IsEmpty()) return;
    const int w = source.Width(), h = source.Height();
    const int firstX = clip.Left > area.Left ? area.Left + (clip.Left - area.Left) / w * w : area.Left;
    const int firstY = clip.Top > area.Top ? area.Top + (clip.Top - area.Top) / h * h : area.Top;
    const int endX = std::min(area.Right, clip.Right), endY = std::min(area.Bottom, clip.Bottom);
    for (int y = firstY; y < endY; y += h)
        for (int x = firstX; x < endX; x += w) {
            const int w = std::min(source.Width(), area.Right - x), h = std::min(source.Height(), area.Bottom - y);
            draw({x, y, x + w, y + h}, {source.Left, source.Top, source.Left + w, source.Top + h});
        }
}

// Repeats the pixels of piece (w wide) into out, n pixels, starting phase pixels
// into the piece: one period is put together, then what is there is doubled.
void RepeatRow(std::uint8_t* out, const std::uint8_t* piece, int w, int phase, int n) {
    const int head = std::min(w - phase, n);
    std::memcpy(out, piece + phase * 3, static_cast<std::size_t>(head) * 3);
    std::memcpy(out + head * 3, piece, static_cast<std::size_t>(std::min(phase, n - head)) * 3);
    for (int filled = std::min(w, n); filled < n; filled *= 2)
        std::memcpy(out + filled * 3, out, static_cast<std::size_t>(std::min(filled, n - filled)) * 3);
}

// What the tile walk (Tile) with a piece drawn per tile gives, row by row across
// the whole area: each row of the piece, repeated across the area from where the
// tile grid stands at the bitmap's edge, is built once and drawn into every
// destination row that takes it. Per pixel the rule is the piece's: with a
// transparency part the blend, else a copy; key pixels take keyFill unless it is
// clNone. That is DrawMaskPiece with no parent background (keyFill being
// GlobalFillColor) and CopyTransparent with the key colour (keyFill clNone).
// Returns false, drawing nothing, when the piece reaches outside its image (the
// tiles would be cut) or the image is the bitmap itself (the order of the tiles
// would show): the tile walk must draw those.
// Pieces side by side across rows [Top, Bottom): destination columns [Left,
// Right) tiled from Left with the piece at SourceLeft, SourceWidth wide; all take
// their rows from the same image rows, tiled from Top.
struct TTileSegment {
    int Left, Right, SourceLeft, SourceWidth;
};

bool TileRows(TBitmap24& bitmap, int top, int bottom, int sourceTop, int h, const std::vector<TTileSegment>& segments,
              const TMaskImage& image, bool transparency, TColor keyFill, TFrameUnderlay* under = nullptr) {
    const TBitmap24& img = *image.Image;
    const int alphaOffset = transparency ? image.PartHeight : 0;
    if (&img == &bitmap || h <= 0 || sourceTop < 0 || sourceTop + h > img.Height() - alphaOffset) return false;
    for (const TTileSegment& s : segments)
        if (s.SourceWidth <= 0 || s.SourceLeft < 0 || s.SourceLeft + s.SourceWidth > img.Width()) return false;
    const int x0 = std::max(segments.front().Left, 0), x1 = std::min(segments.back().Right, bitmap.Width());
    const int y0 = std::max(top, 0), y1 = std::min(bottom, bitmap.Height());
    if (x1 <= x0 || y1 <= y0) return true;
    const int n = x1 - x0;
    // Each segment's part of the repeated row: where it lies in it, how far into its piece it starts.
    auto repeat = [&](std::uint8_t* out, int imageRow) {
        for (const TTileSegment& s : segments) {
            const int from = std::max(s.Left, x0), to = std::min(s.Right, x1);
            if (to > from)
                RepeatRow(out + (from - x0) * 3, img.ScanLine(imageRow) + s.SourceLeft * 3, s.SourceWidth,
                          (from - s.Left) % s.SourceWidth, to - from);
        }
    };
    const auto bytes = static_cast<std::size_t>(n) * 3;
    std::vector<std::uint8_t> colour(bytes), alpha(transparency ? bytes : 0);
    std::vector<int> keys;   // key pixels of the repeated row
    TMaskRowSource rowSource;
    for (int r = 0; r < h; ++r) {
        // The first destination row at or below y0 that takes piece row r.
        int first = top + r;
        if (first < y0) first += (y0 - first + h - 1) / h * h;
        if (first >= y1) continue;
        repeat(colour.data(), sourceTop + r);
        if (transparency) repeat(alpha.data(), sourceTop + r + alphaOffset);
        keys.clear();
        if (!transparency || MaskRowMayHoldKey(colour.data(), bytes / 3))
            for (int x = 0; x < n; ++x)
                if (IsKeyPixel(colour.data() + x * 3)) keys.push_back(x);
        // A row without key pixels that several rows take has its weights worked out once.
        const bool repeated = transparency && keys.empty() && first + h < y1;
        if (repeated) rowSource.Set(colour.data(), alpha.data(), bytes / 3);
        for (int y = first; y < y1; y += h) {
            std::uint8_t* d = bitmap.ScanLine(y) + x0 * 3;
            if (under) {
                if (repeated && under->BlendCentreRow(y, rowSource)) continue;
                under->PaintCentreRow(y);
            }
            if (keys.empty()) {
                if (repeated)
                    rowSource.Blend(d);
                else if (transparency)
                    MaskBlendKeyFreeRow(d, colour.data(), alpha.data(), bytes / 3);
                else
                    std::memcpy(d, colour.data(), bytes);
                continue;
            }
            if (transparency) {
                MaskBlendRow(d, colour.data(), alpha.data(), bytes / 3);
            } else {
                // Runs between key pixels are copied whole.
                int from = 0;
                for (int key : keys) {
                    std::memcpy(d + from * 3, colour.data() + from * 3, static_cast<std::size_t>(key - from) * 3);
                    from = key + 1;
                }
                std::memcpy(d + from * 3, colour.data() + from * 3, static_cast<std::size_t>(n - from) * 3);
            }
            if (keyFill != clNone)
                for (int key : keys) PutColor(d + key * 3, keyFill);
        }
    }
    return true;
}

// One area tiled with one piece.
bool TileRows(TBitmap24& bitmap, const TRect& area, const TRect& source, const TMaskImage& image, bool transparency,
              TColor keyFill) {
    if (source.IsEmpty() || area.IsEmpty()) return !source.IsEmpty();
    return TileRows(bitmap, area.Top, area.Bottom, source.Top, source.Height(),
                    {{area.Left, area.Right, source.Left, source.Width()}}, image, transparency, keyFill);
}

enum TPieceKind { pkCorner, pkEdge, pkCentre };

// The nine pieces of a frame over rect, in drawing order: top-left corner, left
// edge, top edge, bottom-left corner, bottom edge, bottom-right corner, top-right
// corner, right edge, centre.
void NineSlice(const TMaskImage& image, TRect rect, int state, bool centre,
               const std::function<void(TPieceKind, TRect, TRect)>& piece) {
    const int cw = image.ColumnWidth, ch = image.RowHeight;
    const int width = rect.Width(), height = rect.Height();
    int left = cw, right = cw, top = ch, bottom = ch;
    if (width < 2 * cw) left = width / 2, right = width - left;
    if (height < 2 * ch) top = height / 2, bottom = height - top;
    const int sx = image.FrameStateLeft(state), sy = image.R.Top;
    const int innerLeft = rect.Left + left, innerRight = rect.Right - right;
    const int innerTop = rect.Top + top, innerBottom = rect.Bottom - bottom;

    piece(pkCorner, {rect.Left, rect.Top, innerLeft, innerTop}, Bounds(sx, sy, left, top));
    piece(pkEdge, {rect.Left, innerTop, innerLeft, innerBottom}, Bounds(sx, sy + ch, left, ch));
    piece(pkEdge, {innerLeft, rect.Top, innerRight, innerTop}, Bounds(sx + cw, sy, cw, top));
    piece(pkCorner, {rect.Left, innerBottom, innerLeft, rect.Bottom}, Bounds(sx, sy + 2 * ch, left, bottom));
    piece(pkEdge, {innerLeft, innerBottom, innerRight, rect.Bottom}, Bounds(sx + cw, sy + 2 * ch, cw, bottom));
    piece(pkCorner, {innerRight, innerBottom, rect.Right, rect.Bottom}, Bounds(sx + 2 * cw, sy + 2 * ch, right, bottom));
    piece(pkCorner, {innerRight, rect.Top, rect.Right, innerTop}, Bounds(sx + 2 * cw, sy, right, top));
    piece(pkEdge, {innerRight, innerTop, rect.Right, innerBottom}, Bounds(sx + 2 * cw, sy + ch, right, ch));
    if (centre) piece(pkCentre, {innerLeft, innerTop, innerRight, innerBottom}, Bounds(sx + cw, sy + ch, cw, ch));
}

TRect Inclusive(const TRect& r) { return {r.Left, r.Top, r.Right - 1, r.Bottom - 1}; }

}  // namespace

int TMaskImage::StateLeft(int state) const {
    return R.Left + std::clamp(state, 0, std::max(ImageCount - 1, 0)) * StateWidth;
}

int TMaskImage::FrameStateLeft(int state) const {
    return R.Left + std::clamp(state, 0, std::max(ImageCount - 1, 0)) * ColumnWidth * 3;
}

bool GetMaskImage(const TsSkinTables& tables, const TsMaskData& mask, TMaskImage& image) {
    image = TMaskImage{};
    image.ImageCount = mask.ImageCount;
    image.MaskType = mask.MaskType;
    if (mask.Bmp) {
        image.Image = mask.Bmp.get();
        image.Own = true;
        image.R = {0, 0, mask.Bmp->Width(), mask.Bmp->Height()};
        if (image.ImageCount <= 0) image.ImageCount = 3, image.MaskType = 1;
    } else {
        image.Image = &tables.MasterBitmap;
        image.R = {mask.R.Left, mask.R.Top, mask.R.Right, mask.R.Bottom};
    }
    if (image.ImageCount <= 0 || image.MaskType < 0 || image.R.IsEmpty()) return false;
    if (image.R.Left < 0 || image.R.Top < 0 || image.R.Right > image.Image->Width() ||
        image.R.Bottom > image.Image->Height())
        return false;
    const int parts = image.MaskType + 1;
    image.StateWidth = image.R.Width() / image.ImageCount;
    image.PartHeight = image.R.Height() / parts;
    image.ColumnWidth = image.R.Width() / (image.ImageCount * 3);
    image.RowHeight = image.R.Height() / (parts * 3);
    return image.StateWidth > 0 && image.PartHeight > 0;
}

void DrawMaskPiece(TRect destRect, TRect sourceRect, TBitmap24& bitmap, const TMaskImage& image,
                   const TParentBackground& parentBg) {
    if (!image.Image || !InPaintRange(destRect) || !InPaintRange(sourceRect)) return;
    if (parentBg.Ready && !InPaintRange(TPoint{parentBg.OffsetX, parentBg.OffsetY})) return;
    BlendPiece(bitmap, destRect, sourceRect, image, parentBg, GlobalFillColor, nullptr);
}

namespace {

void DrawFrame(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg, int state,
               const TsSkinTables& tables, const TsMaskData& mask, bool byRows, TFrameUnderlay* under = nullptr) {
    if (!InPaintRange(rect) || rect.Width() <= 1 || rect.Height() <= 1) return;
    if (parentBg.Ready && !InPaintRange(TPoint{parentBg.OffsetX, parentBg.OffsetY})) return;
    TMaskImage image;
    if (!GetMaskImage(tables, mask, image) || image.ColumnWidth <= 0 || image.RowHeight <= 0) return;
    const bool blended = image.DrawnByBlend();
    const bool stretch = !blended && mask.StretchMode != 0;
    const bool centre = fillCentre && (image.HasTransparency() || mask.BorderWidth == 0);
    const TParentBackground none;
    // The middle band (left edge, centre, right edge) takes the same image rows
    // across: with its centre drawn and no stretching it is drawn a whole row at a time.
    TRect band;
    bool bandDone = false;
    const bool transparency = blended && image.HasTransparency();
    const TColor keyFill = blended ? GlobalFillColor : clNone;
    // The underlay is painted first, but for a band blended row by row over it.
    const bool bandOverUnder = under && byRows && centre && !stretch && transparency;
    if (under && !bandOverUnder) under->PaintAround({});
    if (byRows && centre && !stretch) {
        TRect inner, left, right;
        NineSlice(image, rect, state, true, [&](TPieceKind kind, TRect dest, TRect source) {
            if (kind == pkCentre) inner = dest, band = {rect.Left, dest.Top, rect.Right, dest.Bottom};
            if (kind == pkEdge && dest.Left == rect.Left && source.Top == image.R.Top + image.RowHeight) left = source;
            if (kind == pkEdge && dest.Right == rect.Right && source.Top == image.R.Top + image.RowHeight) right = source;
        });
        const int cw = image.ColumnWidth, sx = image.FrameStateLeft(state);
        const std::vector<TTileSegment> segments{{rect.Left, inner.Left, left.Left, left.Width()},
                                                 {inner.Left, inner.Right, sx + cw, cw},
                                                 {inner.Right, rect.Right, right.Left, right.Width()}};
        if (bandOverUnder) under->PaintAround(band);
        bandDone = !band.IsEmpty() && TileRows(bitmap, band.Top, band.Bottom, left.Top, image.RowHeight, segments, image,
                                               transparency, keyFill, bandOverUnder ? under : nullptr);
        if (bandOverUnder && !bandDone)
            for (int y = std::max(band.Top, 0); y < std::min(band.Bottom, bitmap.Height()); ++y) under->PaintCentreRow(y);
    }
    NineSlice(image, rect, state, centre, [&](TPieceKind kind, TRect dest, TRect source) {
        if (dest.IsEmpty() || source.IsEmpty()) return;
        if (bandDone && kind != pkCorner && dest.Top >= band.Top && dest.Bottom <= band.Bottom) return;
        if (kind == pkCorner) {
            if (blended)
                DrawMaskPiece(dest, source, bitmap, image, parentBg);
            else
                CopyTransparent(bitmap, *image.Image, dest.Left, clNone, Inclusive(source), dest.Top);
        } else if (stretch) {
            PaintPlatform().StretchCopy(bitmap, dest, *image.Image, source);
        } else if (!byRows || !TileRows(bitmap, dest, source, image, blended && image.HasTransparency(),
                                         blended ? GlobalFillColor : clNone)) {
            Tile(dest, source, {0, 0, bitmap.Width(), bitmap.Height()}, [&](TRect d, TRect s) {
                if (blended)
                    DrawMaskPiece(d, s, bitmap, image, none);
                else
                    CopyTransparent(bitmap, *image.Image, d.Left, clNone, Inclusive(s), d.Top);
            });
        }
    });
}

}  // namespace

void DrawSkinRect(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg, int state,
                  const TsSkinTables& tables, const TsMaskData& mask) {
    DrawFrame(bitmap, rect, fillCentre, parentBg, state, tables, mask, true);
}

void DrawSkinRectOver(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg, int state,
                      const TsSkinTables& tables, const TsMaskData& mask, TFrameUnderlay& under) {
    DrawFrame(bitmap, rect, fillCentre, parentBg, state, tables, mask, true, &under);
}

void DrawSkinRectTileByTile(TBitmap24& bitmap, TRect rect, bool fillCentre, const TParentBackground& parentBg,
                            int state, const TsSkinTables& tables, const TsMaskData& mask) {
    DrawFrame(bitmap, rect, fillCentre, parentBg, state, tables, mask, false);
}

void MaskBlend(TRect destRect, TRect sourceRect, TBitmap24& bitmap, const TMaskImage& image, int mode) {
    if (!image.Image || !InPaintRange(destRect) || !InPaintRange(sourceRect)) return;
    if (!image.HasTransparency()) {
        const int w = std::min(destRect.Width(), sourceRect.Width()), h = std::min(destRect.Height(), sourceRect.Height());
        CopyTransparent(bitmap, *image.Image, destRect.Left, clNone,
                        {sourceRect.Left, sourceRect.Top, sourceRect.Left + w - 1, sourceRect.Top + h - 1}, destRect.Top);
        return;
    }
    if (mode == 1) {
        BlendPiece(bitmap, destRect, sourceRect, image, TParentBackground{}, clNone, nullptr);
        return;
    }
    const TBitmap24& img = *image.Image;
    const auto [dx, dy, sx, sy, w, h] = ClipPiece(bitmap, destRect, sourceRect, img, image.PartHeight);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = img.ScanLine(sy + y) + sx * 3;
        const std::uint8_t* m = img.ScanLine(sy + y + image.PartHeight) + sx * 3;
        std::uint8_t* d = bitmap.ScanLine(dy + y) + dx * 3;
        for (int x = 0; x < w; ++x, s += 3, m += 3, d += 3) {
            if (IsKeyPixel(s)) continue;
            for (int c = 0; c < 3; ++c) d[c] = MaskBlendChannel(d[c], s[c], std::min(m[c] + 100, 255));
        }
    }
}

void DrawSkinGlyph(TBitmap24& bitmap, TPoint point, int state, const TsSkinTables& tables, const TsMaskData& mask,
                   int mode) {
    TMaskImage image;
    if (!InPaintRange(point) || !GetMaskImage(tables, mask, image)) return;
    TRect source = Bounds(image.StateLeft(state), image.R.Top, image.StateWidth, image.PartHeight);
    if (point.X < 0) source.Left -= point.X, point.X = 0;
    if (point.Y < 0) source.Top -= point.Y, point.Y = 0;
    if (source.IsEmpty()) return;
    const TRect dest = Bounds(point.X, point.Y, source.Width(), source.Height());
    if (image.DrawnByBlend())
        MaskBlend(dest, source, bitmap, image, mode);
    else if (mode == 1)
        CopyTransparent(bitmap, *image.Image, point.X, clNone, Inclusive(source), point.Y);
    else
        BlendOver(bitmap, point.X, point.Y, clNone, 0.5, Inclusive(source), *image.Image);
}

void UpdateCorners(TBitmap24& cache, const TsSkinTables& tables, const TsMaskData& borderMask, int state,
                   unsigned corners, const TCornerFill& fill) {
    if (cache.Width() <= 1 || cache.Height() <= 1 || fill.Kind == TCornerFill::cfNothing) return;
    if (!InPaintRange(TPoint{fill.OffsetX, fill.OffsetY})) return;
    TMaskImage image;
    if (!GetMaskImage(tables, borderMask, image) || image.ColumnWidth <= 0 || image.RowHeight <= 0) return;
    TacFast24 parent;
    if (fill.Kind == TCornerFill::cfParentPixels && (!fill.Parent || !parent.Attach(const_cast<TBitmap24&>(*fill.Parent))))
        return;
    NineSlice(image, {0, 0, cache.Width(), cache.Height()}, state, false, [&](TPieceKind kind, TRect dest, TRect source) {
        if (kind != pkCorner) return;
        const unsigned bit = dest.Left == 0 ? (dest.Top == 0 ? crTopLeft : crBottomLeft)
                                            : (dest.Top == 0 ? crTopRight : crBottomRight);
        if (!(corners & bit)) return;
        const TBitmap24& img = *image.Image;
        const int w = std::min({dest.Width(), source.Width(), img.Width() - source.Left});
        const int h = std::min({dest.Height(), source.Height(), img.Height() - source.Top});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!IsKeyPixel(img.ScanLine(source.Top + y) + (source.Left + x) * 3)) continue;
                const int cx = dest.Left + x, cy = dest.Top + y;
                if (cx < 0 || cy < 0 || cx >= cache.Width() || cy >= cache.Height()) continue;
                std::uint8_t* d = cache.ScanLine(cy) + cx * 3;
                if (fill.Kind == TCornerFill::cfColor) {
                    PutColor(d, fill.Color);
                } else {
                    const int px = cx + fill.OffsetX, py = cy + fill.OffsetY;
                    if (px >= 0 && py >= 0 && px < parent.Width && py < parent.Height) PutColor(d, parent.Pixel(px, py));
                }
            }
    });
}

void ScanCornerHoles(std::vector<TRect>& list, int targetWidth, const TsSkinTables& tables, const TsMaskData& mask,
                     int row, int y) {
    if (!InPaintRange(TPoint{targetWidth, y})) return;
    TMaskImage image;
    if (!GetMaskImage(tables, mask, image) || image.ColumnWidth <= 0 || image.RowHeight <= 0) return;
    const int cw = image.ColumnWidth, ch = image.RowHeight;
    const int top = image.R.Top + (row == 0 ? 0 : 2 * ch);
    const int stateWidth = 3 * cw;
    for (int r = 0; r < ch; ++r) {
        const std::uint8_t* line = image.Image->ScanLine(top + r);
        for (int pieceLeft : {0, 2 * cw}) {
            const int shift = pieceLeft == 0 ? 0 : targetWidth - stateWidth;
            int x = pieceLeft;
            while (x < pieceLeft + cw) {
                if (!IsKeyPixel(line + (image.R.Left + x) * 3)) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < pieceLeft + cw && IsKeyPixel(line + (image.R.Left + x) * 3)) ++x;
                list.push_back({start + shift, y + r, x + shift, y + r + 1});
            }
        }
    }
}

void DrawSkinRectRegion(TBitmap24& bitmap, std::vector<TRect>& holes, int state, TColor color,
                        const TsSkinTables& tables, const TsMaskData& mask) {
    const TRect rect{0, 0, bitmap.Width(), bitmap.Height()};
    if (rect.Width() <= 1 || rect.Height() <= 1) return;
    TMaskImage image;
    if (!GetMaskImage(tables, mask, image) || image.ColumnWidth <= 0 || image.RowHeight <= 0) return;
    // Every piece goes through the transparency blend; a colour-only image blends as opaque.
    const TParentBackground none;
    NineSlice(image, rect, state, mask.BorderWidth == 0 || image.HasTransparency(),
              [&](TPieceKind, TRect dest, TRect source) {
                  Tile(dest, source, rect, [&](TRect d, TRect s) { BlendPiece(bitmap, d, s, image, none, color, &holes); });
              });
}

}  // namespace korvel

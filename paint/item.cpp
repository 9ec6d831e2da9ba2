#include "paint/item.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "paint/blend.h"
#include "paint/fast24.h"
#include "paint/gradient.h"
#include "paint/mask.h"
#include "gui/system_colors.h"

namespace korvel {
namespace {

// A section's texture for one state: a colour-only mask entry, a transparency
// entry (drawn in the last layer only) or a pattern picture.
struct TFoundTexture {
    TTexture Texture;
    bool Found = false;
    bool Transparent = false;   // a MaskType 1 entry: not part of the opaque layers
    int StretchMode = 0;
};

TFoundTexture FindTexture(const TsSkinTables& tables, int skinIndex, int index, bool hot) {
    TFoundTexture found;
    const char* property = hot ? "HOTPATTERN" : "PATTERN";
    const std::string& name = tables.Sections[static_cast<std::size_t>(skinIndex)].SectionName;
    if (index < 0) index = tables.MaskIndexOf(skinIndex, name, property);
    if (tables.IsValidMaskIndex(index)) {
        const TsMaskData& mask = tables.Masks[static_cast<std::size_t>(index)];
        if (GetMaskImage(tables, mask, found.Texture.Mask)) {
            found.Found = true;
            found.Transparent = found.Texture.Mask.HasTransparency();
            found.StretchMode = mask.StretchMode;
            return found;
        }
    }
    const int pattern = tables.PatternIndexOf(skinIndex, name, property);
    if (pattern >= 0 && pattern < static_cast<int>(tables.Patterns.size())) {
        const auto& img = tables.Patterns[static_cast<std::size_t>(pattern)].Img;
        if (img && !img->Empty()) {
            found.Texture.Pattern = img.get();
            found.Found = true;
        }
    }
    return found;
}

// Position and parent offsets that painting accepts (see kMaxPaintCoordinate).
bool InPaintRange(TPoint point, const TParentBackground& parentBg) {
    return InPaintRange(point) && InPaintRange(TPoint{parentBg.OffsetX, parentBg.OffsetY});
}

// Copies what lies behind rect: the parent's pixels at the control's place, or
// SharedColor. Painting into the parent's own picture, what lies behind is there already.
// The part of row y of rect (inside bitmap) that lies over the parent's picture
// when rect's top-left is at (px, py) in it: columns [X0, X1) of the bitmap, taken
// from Source on. X1 <= X0 when the row lies outside the parent's picture.
struct TParentSpan {
    int X0 = 0, X1 = 0;
    const std::uint8_t* Source = nullptr;
};
TParentSpan ParentSpan(const TBitmap24& bitmap, const TBitmap24& parent, int px, int py, TRect rect, int y) {
    const int sy = py + y - rect.Top;
    if (sy < 0 || sy >= parent.Height()) return {};
    int x0 = std::max(rect.Left, 0), x1 = std::min(rect.Right, bitmap.Width());
    x0 = std::max(x0, rect.Left - px);                   // parent column >= 0
    x1 = std::min(x1, rect.Left + parent.Width() - px);  // parent column < width
    if (x1 <= x0) return {};
    return {x0, x1, parent.ScanLine(sy) + (px + x0 - rect.Left) * 3};
}

// Whether what lies behind rect is the parent's picture (else SharedColor, or
// nothing to put there because it is there already or there is none).
bool BehindIsParentPicture(const TBitmap24& bitmap, const TParentBackground& parentBg) {
    return parentBg.Bitmap != &bitmap && SharedColor == clNone && parentBg.Bitmap;
}

void PutParentBackground(TBitmap24& bitmap, const TParentBackground& parentBg, TPoint point, TRect rect) {
    if (parentBg.Bitmap == &bitmap) return;
    if (SharedColor != clNone) {
        FillDC(bitmap, rect, SharedColor);
        return;
    }
    if (!parentBg.Bitmap) return;
    const TBitmap24& parent = *parentBg.Bitmap;
    const int px = parentBg.OffsetX + point.X, py = parentBg.OffsetY + point.Y;
    for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, bitmap.Height()); ++y) {
        const TParentSpan span = ParentSpan(bitmap, parent, px, py, rect, y);
        if (span.X1 > span.X0)
            std::memcpy(bitmap.ScanLine(y) + span.X0 * 3, span.Source, static_cast<std::size_t>(span.X1 - span.X0) * 3);
    }
}

// Whole tiles of a transparency texture over rect; the strips left over take the
// parent's pixels, or the fill colour.
void DrawTransparentTexture(TBitmap24& bitmap, const TParentBackground& parentBg, TPoint point, TRect rect,
                            const TMaskImage& image) {
    const int w = image.StateWidth, h = image.PartHeight;
    if (w <= 0 || h <= 0) return;
    const int columns = rect.Width() / w, rows = rect.Height() / h;
    TParentBackground moved = parentBg;
    moved.OffsetX += point.X;
    moved.OffsetY += point.Y;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i)
            DrawMaskPiece(Bounds(rect.Left + i * w, rect.Top + j * h, w, h), Bounds(image.StateLeft(0), image.R.Top, w, h),
                          bitmap, image, moved);
    const TRect rightStrip{rect.Left + columns * w, rect.Top, rect.Right, rect.Bottom};
    const TRect bottomStrip{rect.Left, rect.Top + rows * h, rect.Left + columns * w, rect.Bottom};
    for (const TRect& strip : {rightStrip, bottomStrip}) {
        if (strip.IsEmpty()) continue;
        if (parentBg.Ready) {
            const TColor shared = SharedColor;
            SharedColor = clNone;
            PutParentBackground(bitmap, parentBg, {point.X + strip.Left - rect.Left, point.Y + strip.Top - rect.Top}, strip);
            SharedColor = shared;
        } else if (GlobalFillColor != clNone) {
            FillDC(bitmap, strip, GlobalFillColor);
        }
    }
}

// The opaque layers of a rectangle without a texture, line by line: one colour
// (RGB) per row for vertical bands or a plain colour, one per column for
// horizontal bands.
struct TOpaqueLines {
    bool PerRow = true;
    std::vector<TColor> Colors;
};

// What PaintOpaque paints, as lines, when it is that simple: no texture, no
// corner mesh, and nothing of what the rectangle held before showing through.
// False when PaintOpaque must paint it.
bool OpaqueLines(const TOpaqueLayers& layers, int width, int height, TOpaqueLines& lines) {
    if (width <= 0 || height <= 0 || (layers.Texture && layers.ImagePercent > 0)) return false;
    const TColor color = ColorToRgb(layers.Color);
    const int gradientPercent = layers.GradientPercent;
    const int share = gradientPercent + (gradientPercent > 0 ? layers.ImagePercent : 0);
    lines.PerRow = true;
    if (share == 0) {
        const TColor fill = layers.Transparency != 0 && SharedColor != clNone ? SharedColor : color;
        lines.Colors.assign(static_cast<std::size_t>(height), ColorToRgb(fill));
        return true;
    }
    if (gradientPercent <= 0) return false;   // the colour would be mixed into the old pixels
    const TsGradArray* stops = layers.Gradient;
    if (stops && !stops->empty()) {
        lines.PerRow = (*stops)[0].Mode == gmVertical;
        if (!GradientLines(*stops, lines.PerRow ? height : width, 0, lines.Colors)) return false;
    } else {
        lines.Colors.assign(static_cast<std::size_t>(height), color);
    }
    if (share <= 99) {
        // Neighbouring lines mostly have the same colour: each is mixed once.
        TColor from = lines.Colors.front(), to = BlendColorWithColor(from, share, color);
        for (TColor& c : lines.Colors) {
            if (c != from) from = c, to = BlendColorWithColor(c, share, color);
            c = to;
        }
    }
    return true;
}

// Row y of the lines, width pixels, as bytes; built again only when it changes.
class TLineRows {
public:
    TLineRows(const TOpaqueLines& lines, int width) : lines_(lines), width_(width), row_(std::size_t(width) * 3) {
        if (!lines.PerRow)
            for (int x = 0; x < width; ++x) PutColor(row_.data() + x * 3, lines.Colors[static_cast<std::size_t>(x)]);
    }
    const std::uint8_t* Row(int y) {
        if (!lines_.PerRow) return row_.data();
        const TColor c = lines_.Colors[static_cast<std::size_t>(y)];
        if (!built_ || c != color_) {
            for (int x = 0; x < width_; ++x) PutColor(row_.data() + x * 3, c);
            built_ = true;
            color_ = c;
        }
        return row_.data();
    }

private:
    static void PutColor(std::uint8_t* p, TColor c) {
        p[0] = BlueOf(c);
        p[1] = GreenOf(c);
        p[2] = RedOf(c);
    }
    const TOpaqueLines& lines_;
    int width_;
    std::vector<std::uint8_t> row_;
    bool built_ = false;
    TColor color_ = 0;
};

// What lies behind rect (rect inside bitmap) with the item's lines blended over
// it, alpha the weight of what lies behind: the parent's picture copied and the
// item's picture blended over it, as one step per row, each line's share of the
// blend computed once. As with the bitmap blend, nothing is blended when either
// picture is below 2 x 2.
void BlendLinesOverBackground(TBitmap24& bitmap, const TParentBackground& parentBg, TPoint point, TRect rect,
                              const TOpaqueLines& lines, std::uint8_t alpha) {
    const bool fromParent = BehindIsParentPicture(bitmap, parentBg);
    if (!fromParent) PutParentBackground(bitmap, parentBg, point, rect);
    if (rect.Width() < 2 || rect.Height() < 2 || bitmap.Width() < 2 || bitmap.Height() < 2) {
        if (fromParent) PutParentBackground(bitmap, parentBg, point, rect);
        return;
    }
    const auto width = static_cast<std::size_t>(rect.Width()) * 3;
    TRowBlendSource source;
    if (!lines.PerRow) {
        TLineRows rows(lines, rect.Width());
        source.Set(rows.Row(0), width, alpha);
    }
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const std::size_t line = static_cast<std::size_t>(y - rect.Top);
        if (lines.PerRow && (y == rect.Top || lines.Colors[line] != lines.Colors[line - 1])) {
            const TColor c = lines.Colors[line];
            const std::uint8_t pixel[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
            source.SetRepeating(pixel, width, alpha);
        }
        std::uint8_t* d = bitmap.ScanLine(y) + rect.Left * 3;
        if (!fromParent) {
            source.Blend(d, d, 0, width);
            continue;
        }
        // Columns over the parent's picture blend its pixels; any others what the bitmap holds.
        const TParentSpan span = ParentSpan(bitmap, *parentBg.Bitmap, parentBg.OffsetX + point.X,
                                            parentBg.OffsetY + point.Y, rect, y);
        const auto x0 = static_cast<std::size_t>(span.X1 > span.X0 ? span.X0 - rect.Left : rect.Width()) * 3;
        const auto x1 = static_cast<std::size_t>(span.X1 > span.X0 ? span.X1 - rect.Left : rect.Width()) * 3;
        source.Blend(d, d, 0, x0);
        if (x1 > x0) source.Blend(d + x0, span.Source, x0, x1 - x0);
        source.Blend(d + x1, d + x1, x1, width - x1);
    }
}

}  // namespace

void PaintOpaque(TBitmap24& bitmap, TRect rect, const TOpaqueLayers& layers) {
    rect = Intersect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (rect.IsEmpty()) return;
    TOpaqueLines lines;
    if (OpaqueLines(layers, rect.Width(), rect.Height(), lines)) {
        // Each row is its line colour or the one row of columns, copied.
        TLineRows rows(lines, rect.Width());
        for (int y = 0; y < rect.Height(); ++y)
            std::memcpy(bitmap.ScanLine(rect.Top + y) + rect.Left * 3, rows.Row(y), static_cast<std::size_t>(rect.Width()) * 3);
        return;
    }
    PaintOpaqueLayers(bitmap, rect, layers);
}

void PaintOpaqueLayers(TBitmap24& bitmap, TRect rect, const TOpaqueLayers& layers) {
    rect = Intersect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (rect.IsEmpty()) return;
    const TColor color = ColorToRgb(layers.Color);
    const int imagePercent = layers.ImagePercent;
    const int gradientPercent = layers.GradientPercent;
    const bool textured = layers.Texture && imagePercent > 0;
    if (textured) {
        const TRect uncovered = DrawTexture(bitmap, rect, *layers.Texture, layers.DrawType);
        if (!uncovered.IsEmpty()) FillDC(bitmap, uncovered, color);
    }
    const bool hasGradient = layers.Gradient && !layers.Gradient->empty();
    if (gradientPercent > 0) {
        if (textured) {
            TBitmap24 layer(rect.Width(), rect.Height());
            if (hasGradient)
                PaintGradient(layer, {0, 0, rect.Width(), rect.Height()}, *layers.Gradient);
            else
                layer.Fill(color);
            const auto alpha = static_cast<std::uint8_t>(std::clamp(imagePercent * 255 / 100, 0, 255));
            BlendBitmapAt(bitmap, layer, alpha, {rect.Left, rect.Top}, {0, 0, rect.Width(), rect.Height()});
        } else if (hasGradient) {
            PaintGradient(bitmap, rect, *layers.Gradient);
        } else {
            FillDC(bitmap, rect, color);
        }
    }
    // A texture that was not found leaves its share to the gradient, which then
    // lies in the whole rectangle; with no gradient either there is nothing but
    // stale pixels to keep, and the colour covers the rectangle.
    const int share = gradientPercent + (textured || gradientPercent > 0 ? imagePercent : 0);
    if (share == 0) {
        FillDC(bitmap, rect, layers.Transparency != 0 && SharedColor != clNone ? SharedColor : color);
    } else if (share <= 99) {
        BlendRectWithColor(bitmap, {rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1}, share, color);
    }
}

void PaintItemBackground(int skinIndex, const TParentBackground& parentBg, TColor customColor, int hotPatternIndex,
                         int patternIndex, const TsSkinTables* tables, TBitmap24& bitmap, TPoint point, TRect rect,
                         int state) {
    if (!tables || !tables->IsValidSectionIndex(skinIndex) || !InPaintRange(point, parentBg)) return;
    rect = Intersect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (rect.IsEmpty()) return;
    const TsGeneralData& section = tables->Sections[static_cast<std::size_t>(skinIndex)];
    const bool hot = state != 0;
    TOpaqueLayers layers;
    layers.Color = customColor != clNone ? customColor : hot ? section.HotColor : section.Color;
    layers.Transparency = hot ? section.HotTransparency : section.Transparency;
    layers.GradientPercent = hot ? section.HotGradientPercent : section.GradientPercent;
    layers.Gradient = hot ? &section.HotGradientArray : &section.GradientArray;
    layers.ImagePercent = hot ? section.HotImagePercent : section.ImagePercent;
    TFoundTexture texture;
    if (layers.ImagePercent > 0) {
        texture = FindTexture(*tables, skinIndex, hot ? hotPatternIndex : patternIndex, hot);
        if (texture.Found && !texture.Transparent) {
            layers.Texture = &texture.Texture;
            layers.DrawType = texture.StretchMode;
        }
    }

    const int t = layers.Transparency;
    if (!parentBg.Ready || t <= 0) {
        PaintOpaque(bitmap, rect, layers);
    } else if (t >= 100) {
        PutParentBackground(bitmap, parentBg, point, rect);
    } else {
        const auto alpha = static_cast<std::uint8_t>(std::clamp(t * 255 / 100, 0, 255));
        TOpaqueLines lines;
        if (OpaqueLines(layers, rect.Width(), rect.Height(), lines)) {
            BlendLinesOverBackground(bitmap, parentBg, point, rect, lines, alpha);
        } else {
            TBitmap24 item(rect.Width(), rect.Height());
            PaintOpaque(item, {0, 0, rect.Width(), rect.Height()}, layers);
            PutParentBackground(bitmap, parentBg, point, rect);
            BlendBitmapAt(bitmap, item, alpha, {rect.Left, rect.Top}, {0, 0, rect.Width(), rect.Height()});
        }
    }

    if (hot) return;
    // A transparency texture is drawn last, over whatever the layers left.
    TFoundTexture normal = FindTexture(*tables, skinIndex, patternIndex, false);
    const TFoundTexture* overlay = nullptr;
    TFoundTexture hotTexture;
    if (normal.Found && normal.Transparent && normal.StretchMode == tdTileByColumns) {
        overlay = &normal;
    } else if (!normal.Found || !normal.Transparent) {
        hotTexture = FindTexture(*tables, skinIndex, hotPatternIndex, true);
        if (hotTexture.Found && hotTexture.Transparent && hotTexture.StretchMode == tdTileByColumns) overlay = &hotTexture;
    }
    if (overlay && !overlay->Texture.Pattern) DrawTransparentTexture(bitmap, parentBg, point, rect, overlay->Texture.Mask);
}

void PaintSection(int skinIndex, const TParentBackground& parentBg, const TsSkinTables* tables, TBitmap24& bitmap,
                  TPoint point, TRect rect, int state, bool fillCentre, int patternIndex, int hotPatternIndex,
                  int borderIndex) {
    if (!tables || !tables->IsValidSectionIndex(skinIndex) || !InPaintRange(point, parentBg)) return;
    PaintItemBackground(skinIndex, parentBg, clNone, hotPatternIndex, patternIndex, tables, bitmap, point, rect, state);
    if (!tables->IsValidMaskIndex(borderIndex)) return;
    TParentBackground moved = parentBg;
    moved.OffsetX += point.X;
    moved.OffsetY += point.Y;
    DrawSkinRect(bitmap, rect, fillCentre, moved, state, *tables, tables->Masks[static_cast<std::size_t>(borderIndex)]);
}

void PaintSection(int skinIndex, const TParentBackground& parentBg, const TsSkinTables* tables, TBitmap24& bitmap,
                  TPoint point, TRect rect, int state, bool fillCentre) {
    if (!tables || !tables->IsValidSectionIndex(skinIndex)) return;
    const std::string& name = tables->Sections[static_cast<std::size_t>(skinIndex)].SectionName;
    PaintSection(skinIndex, parentBg, tables, bitmap, point, rect, state, fillCentre, -1, -1,
                 tables->MaskIndexOf(skinIndex, name, "BORDERSMASK"));
}

void PaintItem(const TItemSource& source, TParentBackground parentBg, bool fillCentre, TBitmap24& bitmap, TPoint point,
               TRect rect, int state) {
    const TsSkinTables* tables = source.Tables;
    if (bitmap.Empty() || !tables || !tables->IsValidSectionIndex(source.SkinIndex)) return;
    if (!InPaintRange(point, parentBg)) return;
    if (rect.Left < 0 || rect.Top < 0 || rect.Right > bitmap.Width() || rect.Bottom > bitmap.Height() || rect.IsEmpty())
        return;
    SharedColor = clNone;
    if (!parentBg.Ready && source.HasParent) SharedColor = GlobalFillColor = ColorToRgb(source.ParentColor);
    if (parentBg.Ready && !source.NeedsParentRepaint && SharedColor == clNone && source.ParentControlColor)
        SharedColor = source.ParentControlColor();

    PaintItemBackground(source.SkinIndex, parentBg, source.CustomColor, source.HotPatternIndex, source.PatternIndex,
                        tables, bitmap, point, rect, state);
    parentBg.OffsetX += point.X;
    parentBg.OffsetY += point.Y;
    if (tables->IsValidMaskIndex(source.BorderIndex))
        DrawSkinRect(bitmap, rect, fillCentre, parentBg, state, *tables,
                     tables->Masks[static_cast<std::size_t>(source.BorderIndex)]);
    GlobalFillColor = clNone;
    SharedColor = clNone;

    const std::string& name = tables->Sections[static_cast<std::size_t>(source.SkinIndex)].SectionName;
    struct TCornerImage { const char* Property; bool Right, Bottom; };
    static constexpr TCornerImage corners[] = {
        {"IMGTOPLEFT", false, false}, {"IMGTOPRIGHT", true, false}, {"IMGBTMLEFT", false, true}, {"IMGBTMRIGHT", true, true}};
    for (const TCornerImage& corner : corners) {
        const int index = tables->MaskIndexOf(source.SkinIndex, name, corner.Property);
        if (!tables->IsValidMaskIndex(index)) continue;
        const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(index)];
        TMaskImage image;
        if (!GetMaskImage(*tables, mask, image)) continue;
        // The bottom-left image sits at column 0 of the bitmap, whatever rect's left.
        const TPoint at{corner.Right ? rect.Right - image.StateWidth : corner.Bottom ? 0 : rect.Left,
                        corner.Bottom ? rect.Bottom - image.PartHeight : rect.Top};
        DrawSkinGlyph(bitmap, at, state, *tables, mask, 1);
    }
}

}  // namespace korvel

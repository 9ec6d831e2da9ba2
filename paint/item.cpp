#include "paint/item.h"

#include <algorithm>
#include <cstring>
#include <memory>
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
// picture is below 2 x 2. It is painted when Finish is called, or on the way as
// a frame over it needs it (TFrameUnderlay).
class TLinesUnderlay : public TFrameUnderlay {
public:
    TLinesUnderlay(TBitmap24& bitmap, const TParentBackground& parentBg, TPoint point, TRect rect, TOpaqueLines lines,
                   std::uint8_t alpha)
        : bitmap_(bitmap), parentBg_(parentBg), point_(point), rect_(rect), lines_(std::move(lines)), alpha_(alpha),
          fromParent_(BehindIsParentPicture(bitmap, parentBg)),
          blendable_(rect.Width() >= 2 && rect.Height() >= 2 && bitmap.Width() >= 2 && bitmap.Height() >= 2) {
        if (!blendable_) return;
        const auto width = static_cast<std::size_t>(rect.Width()) * 3;
        if (!lines_.PerRow) {
            TLineRows rows(lines_, rect.Width());
            sources_.emplace_back().Set(rows.Row(0), width, alpha_);
            return;
        }
        // One source per run of rows of one colour, as rows are visited in any order.
        std::size_t runs = 1;
        for (std::size_t line = 1; line < lines_.Colors.size(); ++line) runs += lines_.Colors[line] != lines_.Colors[line - 1];
        sources_.reserve(runs);
        sourceOf_.resize(lines_.Colors.size());
        for (std::size_t line = 0; line < lines_.Colors.size(); ++line) {
            const TColor c = lines_.Colors[line];
            if (line == 0 || c != lines_.Colors[line - 1]) {
                const std::uint8_t pixel[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
                sources_.emplace_back().SetRepeating(pixel, width, alpha_);
            }
            sourceOf_[line] = sources_.size() - 1;
        }
    }

    void PaintAround(TRect centre) override {
        if (around_) return;
        around_ = true;
        centre_ = Intersect(centre, rect_);
        done_.assign(static_cast<std::size_t>(std::max(centre_.Height(), 0)), false);
        for (int y = rect_.Top; y < rect_.Bottom; ++y) {
            if (centre_.IsEmpty() || y < centre_.Top || y >= centre_.Bottom) {
                PaintSegment(y, rect_.Left, rect_.Right);
                continue;
            }
            PaintSegment(y, rect_.Left, centre_.Left);
            PaintSegment(y, centre_.Right, rect_.Right);
        }
    }

    void PaintCentreRow(int y) override {
        if (!around_ || centre_.IsEmpty() || y < centre_.Top || y >= centre_.Bottom) return;
        if (done_[static_cast<std::size_t>(y - centre_.Top)]) return;
        done_[static_cast<std::size_t>(y - centre_.Top)] = true;
        PaintSegment(y, centre_.Left, centre_.Right);
    }

    bool BlendCentreRow(int y, const TMaskRowSource& source) override {
        if (!around_ || !blendable_ || !fromParent_ || !source.HasWeights() || centre_.IsEmpty() || y < centre_.Top ||
            y >= centre_.Bottom || done_[static_cast<std::size_t>(y - centre_.Top)])
            return false;
        const auto n = static_cast<std::size_t>(centre_.Width()) * 3;
        const TParentSpan span = Span(y);
        if (source.Bytes() != n || span.X1 <= span.X0 || span.X0 > centre_.Left || span.X1 < centre_.Right) return false;
        if (!Source(y).BlendThenWeigh(bitmap_.ScanLine(y) + centre_.Left * 3, span.Source + (centre_.Left - span.X0) * 3,
                                    static_cast<std::size_t>(centre_.Left - rect_.Left) * 3, n, source.EvenWeights(),
                                    source.OddWeights(), source.EvenShares(), source.OddShares()))
            return false;
        done_[static_cast<std::size_t>(y - centre_.Top)] = true;
        return true;
    }

    void Finish() override {
        if (!around_) {
            PaintAround({});
            return;
        }
        for (int y = centre_.Top; y < centre_.Bottom; ++y) PaintCentreRow(y);
    }

private:
    TParentSpan Span(int y) const {
        return ParentSpan(bitmap_, *parentBg_.Bitmap, parentBg_.OffsetX + point_.X, parentBg_.OffsetY + point_.Y, rect_, y);
    }

    // The row blend's source for row y.
    const TRowBlendSource& Source(int y) const {
        return sources_[lines_.PerRow ? sourceOf_[static_cast<std::size_t>(y - rect_.Top)] : 0];
    }

    // Columns [a, b) of row y: what lies behind, and the item blended over it.
    void PaintSegment(int y, int a, int b) {
        if (b <= a) return;
        const TRect part{a, y, b, y + 1};
        const TPoint at{point_.X + a - rect_.Left, point_.Y + y - rect_.Top};
        if (!blendable_) {
            PutParentBackground(bitmap_, parentBg_, at, part);
            return;
        }
        const TRowBlendSource& source = Source(y);
        std::uint8_t* row = bitmap_.ScanLine(y);
        auto blend = [&](int from, int to, const std::uint8_t* under) {
            if (to > from)
                source.Blend(row + from * 3, under, static_cast<std::size_t>(from - rect_.Left) * 3,
                              static_cast<std::size_t>(to - from) * 3);
        };
        if (!fromParent_) {
            PutParentBackground(bitmap_, parentBg_, at, part);
            blend(a, b, row + a * 3);
            return;
        }
        // Columns over the parent's picture blend its pixels; any others what the bitmap holds.
        const TParentSpan span = Span(y);
        const int s0 = span.X1 > span.X0 ? std::clamp(span.X0, a, b) : b;
        const int s1 = span.X1 > span.X0 ? std::clamp(span.X1, s0, b) : b;
        blend(a, s0, row + a * 3);
        if (s1 > s0) blend(s0, s1, span.Source + (s0 - span.X0) * 3);
        blend(s1, b, row + s1 * 3);
    }

    TBitmap24& bitmap_;
    TParentBackground parentBg_;
    TPoint point_;
    TRect rect_;
    TOpaqueLines lines_;
    std::uint8_t alpha_;
    bool fromParent_;
    bool blendable_;
    std::vector<TRowBlendSource> sources_;
    std::vector<std::size_t> sourceOf_;   // per row of lines given by row
    bool around_ = false;
    TRect centre_;
    std::vector<bool> done_;   // rows of the centre painted
};

// The transparency texture drawn over the layers of the normal set, if the section has one.
struct TOverlay {
    TFoundTexture Normal, Hot;
    const TFoundTexture* Texture = nullptr;
};
void FindOverlay(const TsSkinTables& tables, int skinIndex, int patternIndex, int hotPatternIndex, TOverlay& overlay) {
    overlay.Normal = FindTexture(tables, skinIndex, patternIndex, false);
    const TFoundTexture& normal = overlay.Normal;
    if (normal.Found && normal.Transparent && normal.StretchMode == tdTileByColumns) {
        overlay.Texture = &normal;
    } else if (!normal.Found || !normal.Transparent) {
        overlay.Hot = FindTexture(tables, skinIndex, hotPatternIndex, true);
        const TFoundTexture& hot = overlay.Hot;
        if (hot.Found && hot.Transparent && hot.StretchMode == tdTileByColumns) overlay.Texture = &hot;
    }
    if (overlay.Texture && overlay.Texture->Texture.Pattern) overlay.Texture = nullptr;
}

// PaintItemBackground; with deferred given, a partly transparent item whose lines
// blend over what lies behind and that has no transparency texture over it is
// not painted but left in *deferred, for the frame to paint on the way.
void PaintBackground(int skinIndex, const TParentBackground& parentBg, TColor customColor, int hotPatternIndex,
                     int patternIndex, const TsSkinTables* tables, TBitmap24& bitmap, TPoint point, TRect rect,
                     int state, std::unique_ptr<TLinesUnderlay>* deferred) {
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
    // A transparency texture is drawn last, over whatever the layers left (normal set only).
    TOverlay overlay;
    if (!hot) FindOverlay(*tables, skinIndex, patternIndex, hotPatternIndex, overlay);

    const int t = layers.Transparency;
    if (!parentBg.Ready || t <= 0) {
        PaintOpaque(bitmap, rect, layers);
    } else if (t >= 100) {
        PutParentBackground(bitmap, parentBg, point, rect);
    } else {
        const auto alpha = static_cast<std::uint8_t>(std::clamp(t * 255 / 100, 0, 255));
        TOpaqueLines lines;
        if (OpaqueLines(layers, rect.Width(), rect.Height(), lines)) {
            auto underlay = std::make_unique<TLinesUnderlay>(bitmap, parentBg, point, rect, std::move(lines), alpha);
            if (deferred && !overlay.Texture) {
                *deferred = std::move(underlay);
                return;
            }
            underlay->Finish();
        } else {
            TBitmap24 item(rect.Width(), rect.Height());
            PaintOpaque(item, {0, 0, rect.Width(), rect.Height()}, layers);
            PutParentBackground(bitmap, parentBg, point, rect);
            BlendBitmapAt(bitmap, item, alpha, {rect.Left, rect.Top}, {0, 0, rect.Width(), rect.Height()});
        }
    }
    if (overlay.Texture) DrawTransparentTexture(bitmap, parentBg, point, rect, overlay.Texture->Texture.Mask);
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
    PaintBackground(skinIndex, parentBg, customColor, hotPatternIndex, patternIndex, tables, bitmap, point, rect, state,
                    nullptr);
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

    // A background that the frame blends over is painted with the frame, the centre's rows in one step each.
    // Not when the frame reads the bitmap itself (its image, or the parent's pixels for its key pixels).
    std::unique_ptr<TLinesUnderlay> deferred;
    const bool framed = tables->IsValidMaskIndex(source.BorderIndex);
    const bool defer = framed && parentBg.Bitmap != &bitmap && &tables->MasterBitmap != &bitmap &&
                       tables->Masks[static_cast<std::size_t>(source.BorderIndex)].Bmp.get() != &bitmap;
    PaintBackground(source.SkinIndex, parentBg, source.CustomColor, source.HotPatternIndex, source.PatternIndex, tables,
                    bitmap, point, rect, state, defer ? &deferred : nullptr);
    parentBg.OffsetX += point.X;
    parentBg.OffsetY += point.Y;
    if (framed) {
        const TsMaskData& border = tables->Masks[static_cast<std::size_t>(source.BorderIndex)];
        if (deferred)
            DrawSkinRectOver(bitmap, rect, fillCentre, parentBg, state, *tables, border, *deferred);
        else
            DrawSkinRect(bitmap, rect, fillCentre, parentBg, state, *tables, border);
    }
    if (deferred) deferred->Finish();
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

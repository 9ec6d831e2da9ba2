// Feeds the painting core random small bitmaps (both row orders, sizes from 0)
// and random rectangles, points and sizes, negative and huge included: the
// blends, the mask and frame drawing, the texture types, the item composition
// and the caption routines must stay inside every bitmap they touch, and the
// fast paths must give the bytes of the plain ones.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "paint/blend.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/texture.h"

using namespace korvel;

namespace {

int Coordinate(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0: return in.ConsumeIntegralInRange(-3, 40);
    case 1: return in.ConsumeIntegralInRange(-100000, 100000);
    case 2: return in.PickValueInArray({INT_MIN, INT_MIN + 1, INT_MIN / 2, INT_MAX / 2, INT_MAX - 1, INT_MAX});
    case 3: return in.ConsumeIntegral<int>();
    default: return in.ConsumeIntegralInRange(-1, 1);
    }
}

TRect Rect(FuzzedDataProvider& in) {
    TRect r;
    r.Left = Coordinate(in);
    r.Top = Coordinate(in);
    r.Right = Coordinate(in);
    r.Bottom = Coordinate(in);
    return r;
}

TBitmap24 Bitmap(FuzzedDataProvider& in, int maxSide = 24) {
    const int w = in.ConsumeIntegralInRange(0, maxSide), h = in.ConsumeIntegralInRange(0, maxSide);
    TBitmap24 b(w, h, in.ConsumeBool() ? TRowOrder::TopDown : TRowOrder::BottomUp);
    for (int y = 0; y < b.Height(); ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w * 3; ++x) row[x] = in.ConsumeBool() ? 0xFF : in.ConsumeIntegral<std::uint8_t>();
    }
    return b;
}

TColor Colour(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? in.PickValueInArray({clNone, clNoKey, TColor(0), TColor(0xFF00000F)})
                            : in.ConsumeIntegral<TColor>();
}

TsMaskData Mask(FuzzedDataProvider& in, const TsSkinTables& tables) {
    TsMaskData m;
    if (in.ConsumeIntegralInRange(0, 3) == 0) m.Bmp = std::make_shared<TBitmap24>(Bitmap(in));
    const bool fits = in.ConsumeBool();
    const int w = tables.MasterBitmap.Width(), h = tables.MasterBitmap.Height();
    if (fits && w > 0 && h > 0) {
        const int l = in.ConsumeIntegralInRange(0, w - 1), t = in.ConsumeIntegralInRange(0, h - 1);
        m.R = {l, t, in.ConsumeIntegralInRange(l, w), in.ConsumeIntegralInRange(t, h)};
    } else {
        const TRect r = Rect(in);
        m.R = {r.Left, r.Top, r.Right, r.Bottom};
    }
    m.ImageCount = static_cast<std::int16_t>(in.ConsumeIntegralInRange(-2, 5));
    m.MaskType = static_cast<std::int16_t>(in.ConsumeIntegralInRange(-1, 2));
    m.BorderWidth = static_cast<std::int16_t>(in.ConsumeIntegralInRange(0, 2));
    m.StretchMode = static_cast<std::int16_t>(in.ConsumeIntegralInRange(-1, 11));
    return m;
}

TsSkinTables Skin(FuzzedDataProvider& in) {
    TsSkinTables t;
    t.MasterBitmap = Bitmap(in, 40);
    TsGeneralData s;
    s.SectionName = "PANEL";
    s.Color = Colour(in);
    s.HotColor = Colour(in);
    s.Transparency = in.ConsumeIntegralInRange(-10, 110);
    s.HotTransparency = in.ConsumeIntegralInRange(-10, 110);
    s.GradientPercent = in.ConsumeIntegralInRange(-10, 110);
    s.HotGradientPercent = in.ConsumeIntegralInRange(-10, 110);
    s.ImagePercent = in.ConsumeIntegralInRange(-10, 110);
    s.HotImagePercent = in.ConsumeIntegralInRange(-10, 110);
    s.GradientData = in.ConsumeRandomLengthString(80);
    s.GradientArray = ParseGradientData(s.GradientData);
    s.HotGradientArray = ParseGradientData(in.ConsumeRandomLengthString(80));
    for (int i = 0; i < 5; ++i) s.FontColor[static_cast<std::size_t>(i)] = in.ConsumeIntegral<std::int32_t>();
    t.Sections.push_back(s);
    const int masks = in.ConsumeIntegralInRange(0, 4);
    static const char* const properties[] = {"BORDERSMASK", "PATTERN", "HOTPATTERN", "IMGTOPLEFT", "IMGBTMRIGHT"};
    for (int i = 0; i < masks; ++i) {
        TsMaskData m = Mask(in, t);
        m.SectionName = "PANEL";
        m.PropertyName = in.PickValueInArray(properties);
        t.Masks.push_back(m);
    }
    if (in.ConsumeBool()) {
        TsPatternData p;
        p.SectionName = "PANEL";
        p.PropertyName = in.ConsumeBool() ? "PATTERN" : "HOTPATTERN";
        p.Img = std::make_shared<TBitmap24>(Bitmap(in));
        t.Patterns.push_back(p);
    }
    return t;
}

// Stops the run (a crash the fuzzer reports with its input) when two bitmaps differ.
void SameOrTrap(const TBitmap24& a, const TBitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) __builtin_trap();
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TBitmap24 dest = Bitmap(in, 40);
    TBitmap24 source = Bitmap(in);
    TBitmap24 parent = Bitmap(in, 40);
    const TParentBackground parentBg{&parent, Coordinate(in), Coordinate(in), in.ConsumeBool()};
    GlobalFillColor = in.ConsumeBool() ? clNone : Colour(in);
    SharedColor = in.ConsumeBool() ? clNone : Colour(in);
    const int rounds = in.ConsumeIntegralInRange(1, 6);
    for (int round = 0; round < rounds && in.remaining_bytes() > 0; ++round) {
        switch (in.ConsumeIntegralInRange(0, 11)) {
        case 0:
            BlendBitmapAt(dest, source, in.ConsumeIntegral<std::uint8_t>(), {Coordinate(in), Coordinate(in)}, Rect(in));
            break;
        case 1:
            BlendOver(dest, Coordinate(in), Coordinate(in), Colour(in),
                      in.PickValueInArray({0.4, 0.5, 0.0, 1.0, 0.3}), Rect(in), source);
            break;
        case 2:
            CopyTransparent(dest, source, Coordinate(in), Colour(in), Rect(in), Coordinate(in));
            break;
        case 3:
            BlendBitmap(dest, source, in.ConsumeIntegral<std::uint8_t>());
            BlendRectWithColor(dest, Rect(in), in.ConsumeIntegralInRange(-10, 110), Colour(in));
            FillDC(dest, Rect(in), Colour(in));
            break;
        case 4: {
            const TsSkinTables skin = Skin(in);
            const TsMaskData mask = Mask(in, skin);
            const TRect rect = Rect(in);
            const bool centre = in.ConsumeBool();
            const int state = in.ConsumeIntegralInRange(-1, 4);
            // The frame drawn a row at a time must give the tile walk's bytes.
            TBitmap24 walked = dest.Clone();
            DrawSkinRectTileByTile(walked, rect, centre, parentBg, state, skin, mask);
            DrawSkinRect(dest, rect, centre, parentBg, state, skin, mask);
            SameOrTrap(dest, walked);
            break;
        }
        case 5: {
            const TsSkinTables skin = Skin(in);
            const TsMaskData mask = Mask(in, skin);   // owns the picture the image points into
            TMaskImage image;
            if (GetMaskImage(skin, mask, image)) DrawMaskPiece(Rect(in), Rect(in), dest, image, parentBg);
            break;
        }
        case 6: {
            const TsSkinTables skin = Skin(in);
            const TsMaskData mask = Mask(in, skin);
            DrawSkinGlyph(dest, {Coordinate(in), Coordinate(in)}, in.ConsumeIntegralInRange(-1, 4), skin, mask,
                          in.ConsumeIntegralInRange(0, 2));
            break;
        }
        case 7: {
            const TsSkinTables skin = Skin(in);
            TItemSource item;
            item.Tables = &skin;
            item.SkinIndex = in.ConsumeIntegralInRange(-1, 1);
            item.BorderIndex = in.ConsumeIntegralInRange(-1, 3);
            item.PatternIndex = in.ConsumeIntegralInRange(-1, 3);
            item.HotPatternIndex = in.ConsumeIntegralInRange(-1, 3);
            item.CustomColor = in.ConsumeBool() ? clNone : Colour(in);
            item.HasParent = in.ConsumeBool();
            item.ParentColor = Colour(in);
            item.NeedsParentRepaint = in.ConsumeBool();
            const bool inside = in.ConsumeBool() && dest.Width() > 0 && dest.Height() > 0;
            TRect r = Rect(in);
            if (inside) {
                r.Left = in.ConsumeIntegralInRange(0, dest.Width() - 1);
                r.Top = in.ConsumeIntegralInRange(0, dest.Height() - 1);
                r.Right = in.ConsumeIntegralInRange(r.Left, dest.Width());
                r.Bottom = in.ConsumeIntegralInRange(r.Top, dest.Height());
            }
            PaintItem(item, parentBg, in.ConsumeBool(), dest, {Coordinate(in), Coordinate(in)}, r,
                      in.ConsumeIntegralInRange(0, 2));
            break;
        }
        case 8: {
            const TsSkinTables skin = Skin(in);
            PaintSection(0, parentBg, &skin, dest, {Coordinate(in), Coordinate(in)}, Rect(in),
                         in.ConsumeIntegralInRange(0, 2), in.ConsumeBool());
            break;
        }
        case 9: {
            const TsSkinTables skin = Skin(in);
            TTexture texture;
            TBitmap24 pattern = Bitmap(in);
            const TsMaskData mask = Mask(in, skin);
            if (in.ConsumeBool()) texture.Pattern = &pattern;
            else if (!GetMaskImage(skin, mask, texture.Mask)) break;
            DrawTexture(dest, Rect(in), texture, in.ConsumeIntegralInRange(-1, 11));
            break;
        }
        case 10: {
            const TsSkinTables skin = Skin(in);
            TSoftTextCanvas canvas(dest);
            canvas.IntersectClip(Rect(in));
            TRect r = Rect(in);
            const std::string text = in.ConsumeRandomLengthString(40);
            WriteTextEx(canvas, text, in.ConsumeBool(), in.ConsumeBool(),
                        {&skin, in.ConsumeIntegralInRange(-1, 1), in.ConsumeBool()}, in.ConsumeIntegral<unsigned>(), r);
            (void)CutText(canvas, text, Coordinate(in));
            DrawDottedFrame(canvas, Rect(in));
            break;
        }
        default: {
            TsSkinTables skin = Skin(in);
            const TsMaskData mask = Mask(in, skin);
            std::vector<TRect> holes;
            DrawSkinRectRegion(dest, holes, in.ConsumeIntegralInRange(-1, 4), Colour(in), skin, mask);
            ScanCornerHoles(holes, Coordinate(in), skin, mask, in.ConsumeIntegralInRange(0, 1), Coordinate(in));
            TCornerFill fill;
            fill.Kind = static_cast<TCornerFill::TKind>(in.ConsumeIntegralInRange(0, 2));
            fill.Color = Colour(in);
            fill.Parent = &parent;
            fill.OffsetX = Coordinate(in);
            fill.OffsetY = Coordinate(in);
            UpdateCorners(dest, skin, mask, in.ConsumeIntegralInRange(-1, 4), in.ConsumeIntegralInRange(0, 15), fill);
            break;
        }
        }
    }
    GlobalFillColor = clNone;
    SharedColor = clNone;
    return 0;
}

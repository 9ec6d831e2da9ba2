#include "paint/blend.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "paint/blend_over_row.h"
#include "paint/color.h"
#include "paint/fast24.h"
#include "paint/platform_canvas.h"
#include "gui/system_colors.h"

namespace korvel {
namespace {

// An inclusive rectangle clamped to a bitmap, turned into an exclusive one.
TRect ClampInclusive(TRect r, const TBitmap24& bitmap) {
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, bitmap.Width() - 1) + 1;
    r.Bottom = std::min(r.Bottom, bitmap.Height() - 1) + 1;
    return r;
}

bool IsKey(const std::uint8_t* p, TColor key) {
    return key <= 0xFEFFFFFFu && p[0] == BlueOf(key) && p[1] == GreenOf(key) && p[2] == RedOf(key);
}

// The source and destination spans of a copy of inclusive sourceRect to (destX, destY):
// the source is clamped to its bitmap (the destination moving with any cut at the
// start), then both are cut to what lies inside dest. Returns false when nothing is left.
struct TSpan {
    int SourceX, SourceY, DestX, DestY, Width, Height;
};
bool ClipCopy(TRect sourceRect, const TBitmap24& source, int destX, int destY, const TBitmap24& dest, TSpan& span) {
    // In 64 bits: the moves at the edges must not overflow for any coordinates.
    long long sl = sourceRect.Left, st = sourceRect.Top, dx = destX, dy = destY;
    if (sl < 0) dx -= sl, sl = 0;
    if (st < 0) dy -= st, st = 0;
    long long sr = std::min<long long>(sourceRect.Right, source.Width() - 1) + 1;
    long long sb = std::min<long long>(sourceRect.Bottom, source.Height() - 1) + 1;
    if (dx < 0) sl -= dx, dx = 0;
    if (dy < 0) st -= dy, dy = 0;
    sr = std::min(sr, sl + dest.Width() - dx);
    sb = std::min(sb, st + dest.Height() - dy);
    if (sr <= sl || sb <= st) return false;
    span = {static_cast<int>(sl), static_cast<int>(st), static_cast<int>(dx), static_cast<int>(dy),
            static_cast<int>(sr - sl), static_cast<int>(sb - st)};
    return true;
}

// Clamped before rounding (the same result for every finite factor) so that no
// factor, however large, rounds outside int.
std::uint8_t BlendOverChannel(int p, int d, double factor) {
    return static_cast<std::uint8_t>(RoundEven(std::clamp(p - factor * (p - d), 0.0, 255.0)));
}

// BlendOver's result for every (source, destination) byte pair, for the factors
// in use (0.4 for disabled looks, 0.5 for glyphs), built from the formula itself,
// and the fixed-point weights that reproduce it in vector lanes when the factor
// has them (see blend_over_row.h).
class TBlendOverTable {
public:
    struct Entry {
        bool Ready = false;
        double Factor = 0;
        bool Fast = false;
        TBlendOverWeights Weights;
        std::array<std::uint8_t, 256 * 256> Values;
    };

    const Entry& For(double factor) {
        for (auto& e : entries_)
            if (e.Ready && e.Factor == factor) return e;
        Entry& e = entries_[next_];
        next_ = (next_ + 1) % entries_.size();
        for (int p = 0; p < 256; ++p)
            for (int d = 0; d < 256; ++d) e.Values[p * 256 + d] = BlendOverChannel(p, d, factor);
        e.Factor = factor;
        e.Fast = FindBlendOverWeights(factor, e.Values.data(), e.Weights);
        e.Ready = true;
        return e;
    }

private:
    std::array<Entry, 2> entries_;
    std::size_t next_ = 0;
};

TBlendOverTable blendOverTable;

}  // namespace

void BlendBitmap(TBitmap24& dest, TBitmap24& source, std::uint8_t alpha) {
    TacFastSum24& sum = FastSum24;
    if (!sum.Attach(source, dest)) return;
    sum.Alpha = alpha;
    sum.DestLeft = sum.SourceLeft = 0;
    sum.DestTop = sum.SourceTop = 0;
    sum.DestRight = sum.SourceRight = sum.Width;
    sum.DestBottom = sum.SourceBottom = sum.Height;
    sum.BlendRect();
}

void BlendBitmapAt(TBitmap24& dest, TBitmap24& source, std::uint8_t alpha, TPoint destPoint, TRect sourceRect) {
    TacFastSum24& sum = FastSum24;
    if (!sum.Attach(source, dest)) return;
    // In 64 bits: the moves at the edges must not overflow for any coordinates.
    long long dx = destPoint.X, dy = destPoint.Y;
    long long sl = sourceRect.Left, st = sourceRect.Top, sr = sourceRect.Right, sb = sourceRect.Bottom;
    if (dx < 0) sl -= dx, dx = 0;
    if (dy < 0) st -= dy, dy = 0;
    // A cut at the source start moves the destination forward by the same amount,
    // so every pixel keeps its partner.
    if (sl < 0) dx -= sl, sl = 0;
    if (st < 0) dy -= st, st = 0;
    sr = std::min<long long>(sr, source.Width());
    sb = std::min<long long>(sb, source.Height());
    sr = std::min(sr, sl + dest.Width() - dx);
    sb = std::min(sb, st + dest.Height() - dy);
    if (sr <= sl || sb <= st) return;
    sum.Alpha = alpha;
    sum.SourceLeft = static_cast<int>(sl);
    sum.SourceTop = static_cast<int>(st);
    sum.SourceRight = static_cast<int>(sr);
    sum.SourceBottom = static_cast<int>(sb);
    sum.DestLeft = static_cast<int>(dx);
    sum.DestTop = static_cast<int>(dy);
    sum.DestRight = static_cast<int>(dx + (sr - sl));
    sum.DestBottom = static_cast<int>(dy + (sb - st));
    sum.BlendRect();
}

namespace {

// One channel of BlendRectWithColor: value weighs f = percent / 100, the colour's channel g = 1 - f.
std::uint8_t MixChannelWithColor(int value, int percent, int channel) {
    const double f = percent / 100.0, g = 1 - f;
    return static_cast<std::uint8_t>(std::clamp(RoundEven(f * value + g * channel), 0, 255));
}

}  // namespace

void BlendRectWithColor(TBitmap24& bitmap, TRect rect, int percent, TColor color) {
    const TRect r = ClampInclusive(rect, bitmap);
    if (r.IsEmpty()) return;
    color = ColorToRgb(color);
    // The result of a channel depends only on its old value: one table per channel.
    std::uint8_t table[3][256];
    const int channel[3] = {BlueOf(color), GreenOf(color), RedOf(color)};
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) table[c][v] = MixChannelWithColor(v, percent, channel[c]);
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint8_t* p = bitmap.ScanLine(y) + r.Left * 3;
        for (int x = r.Left; x < r.Right; ++x, p += 3) {
            p[0] = table[0][p[0]];
            p[1] = table[1][p[1]];
            p[2] = table[2][p[2]];
        }
    }
}

TColor BlendColorWithColor(TColor pixel, int percent, TColor color) {
    color = ColorToRgb(color);
    return MakeColor(MixChannelWithColor(RedOf(pixel), percent, RedOf(color)),
                     MixChannelWithColor(GreenOf(pixel), percent, GreenOf(color)),
                     MixChannelWithColor(BlueOf(pixel), percent, BlueOf(color)));
}

void BlendOver(TBitmap24& dest, int destX, int destY, TColor keyColor, double factor, TRect sourceRect,
               const TBitmap24& source) {
    if (!std::isfinite(factor)) return;
    TSpan s;
    if (!ClipCopy(sourceRect, source, destX, destY, dest, s)) return;
    const auto& blend = blendOverTable.For(factor);
    const std::uint8_t* table = blend.Values.data();
    const bool keyed = keyColor <= 0xFEFFFFFFu;
    const std::uint8_t key[3] = {BlueOf(keyColor), GreenOf(keyColor), RedOf(keyColor)};
    // Within one bitmap the pixel-by-pixel walk decides which bytes are read already blended.
    const bool fast = blend.Fast && &source != &dest;
    for (int y = 0; y < s.Height; ++y) {
        const std::uint8_t* p = source.ScanLine(s.SourceY + y) + s.SourceX * 3;
        std::uint8_t* d = dest.ScanLine(s.DestY + y) + s.DestX * 3;
        if (fast && keyed) {
            BlendOverRowKeyed(d, p, static_cast<std::size_t>(s.Width), blend.Weights, table, key);
        } else if (fast) {
            BlendOverRow(d, p, static_cast<std::size_t>(s.Width) * 3, blend.Weights, table);
        } else {
            for (int x = 0; x < s.Width; ++x, p += 3, d += 3) {
                if (IsKey(p, keyColor)) continue;
                d[0] = table[p[0] * 256 + d[0]];
                d[1] = table[p[1] * 256 + d[1]];
                d[2] = table[p[2] * 256 + d[2]];
            }
        }
    }
}

void BlendOverReference(TBitmap24& dest, int destX, int destY, TColor keyColor, double factor, TRect sourceRect,
                        const TBitmap24& source) {
    if (!std::isfinite(factor)) return;
    TSpan s;
    if (!ClipCopy(sourceRect, source, destX, destY, dest, s)) return;
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            const std::uint8_t* p = source.ScanLine(s.SourceY + y) + (s.SourceX + x) * 3;
            std::uint8_t* d = dest.ScanLine(s.DestY + y) + (s.DestX + x) * 3;
            if (IsKey(p, keyColor)) continue;
            for (int c = 0; c < 3; ++c) d[c] = BlendOverChannel(p[c], d[c], factor);
        }
}

void CopyTransparent(TBitmap24& dest, const TBitmap24& source, int destX, TColor keyColor, TRect sourceRect,
                     int destY) {
    TSpan s;
    if (!ClipCopy(sourceRect, source, destX, destY, dest, s)) return;
    for (int y = 0; y < s.Height; ++y) {
        const std::uint8_t* p = source.ScanLine(s.SourceY + y) + s.SourceX * 3;
        std::uint8_t* d = dest.ScanLine(s.DestY + y) + s.DestX * 3;
        for (int x = 0; x < s.Width; ++x, p += 3, d += 3)
            if (!IsKey(p, keyColor)) std::memcpy(d, p, 3);
    }
}

void GrayScale(TBitmap24& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3)
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
}

void DisabledLook(TBitmap24& bitmap, TsDisabledKind kind, TColor controlColor, TPoint position,
                  const TParentBackground& parentBg) {
    if (kind & dkGrayed) GrayScale(bitmap);
    if (!(kind & dkBlended)) return;
    if (parentBg.Ready && parentBg.Bitmap) {
        const TRect behind = TRect{0, 0, bitmap.Width(), bitmap.Height()}.Offset(parentBg.OffsetX + position.X,
                                                                                 parentBg.OffsetY + position.Y);
        BlendOver(bitmap, 0, 0, clNoKey, 0.4, behind, *parentBg.Bitmap);
    } else {
        const TColor color = SharedColor == clNone ? controlColor : SharedColor;
        BlendRectWithColor(bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, 50, color);
    }
}

void FadeRectToColor(TBitmap24& bitmap, TRect rect, int keepPercent, int radius, int softness, TColor color) {
    rect = Intersect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (rect.IsEmpty()) return;
    const int width = rect.Width(), height = rect.Height();
    TBitmap24 work(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(work.ScanLine(y), bitmap.ScanLine(rect.Top + y) + rect.Left * 3, static_cast<std::size_t>(width) * 3);
    TBitmap24 mask(width, height);
    const int s = std::max(0, std::min({width / 2, height / 2, softness}));
    const int r = std::max(0, std::min({width / 2, height / 2, radius}));
    const int keep = (keepPercent * 255) / 100;
    TPaintPlatform& platform = PaintPlatform();
    for (int c = 0; c <= s; ++c) {
        const int grey = c == 0 ? 255 : keep + RoundEven(double(255 - keep) / (s + 1) * (s + 1 - c));
        const auto g = static_cast<std::uint8_t>(std::clamp(grey, 0, 255));
        platform.FillRoundRect(mask, {c, c, width - c, height - c}, r, MakeColor(g, g, g));
    }
    const auto l = static_cast<std::uint8_t>(std::clamp(keep, 0, 255));
    platform.FillRoundRect(mask, {s, s, width - s, height - s}, r, MakeColor(l, l, l));

    color = ColorToRgb(color);
    const int k[3] = {BlueOf(color), GreenOf(color), RedOf(color)};
    for (int y = 0; y < height; ++y) {
        std::uint8_t* w = work.ScanLine(y);
        const std::uint8_t* m = mask.ScanLine(y);
        for (int i = 0; i < width * 3; ++i)
            w[i] = static_cast<std::uint8_t>(std::clamp(((w[i] - k[i % 3]) * m[i] + k[i % 3] * 256) >> 8, 0, 255));
    }
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.ScanLine(rect.Top + y) + rect.Left * 3, work.ScanLine(y), static_cast<std::size_t>(width) * 3);
}

void FillDC(TBitmap24& bitmap, TRect rect, TColor color) {
    rect = Intersect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (rect.IsEmpty()) return;
    color = ColorToRgb(color);
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        std::uint8_t* p = bitmap.ScanLine(y) + rect.Left * 3;
        for (int x = rect.Left; x < rect.Right; ++x, p += 3) {
            p[0] = BlueOf(color);
            p[1] = GreenOf(color);
            p[2] = RedOf(color);
        }
    }
}

TBitmap24 CreateBmp24(int width, int height) { return TBitmap24(width, height); }
TBitmap24 CreateBmpLike(const TBitmap24& bitmap) { return TBitmap24(bitmap.Width(), bitmap.Height(), bitmap.RowOrder()); }

}  // namespace korvel

// Turning pictures to a side.
#include "paint/turn.h"

#include <algorithm>

namespace korvel {

namespace {

// The upright pixel that lands on place pixel (x, y) of a width x height place.
TPoint UprightPoint(TTurn turn, int width, int height, int x, int y) {
    switch (turn) {
    case TTurn::None:         return {x, y};
    case TTurn::FlipVertical: return {x, height - 1 - y};
    case TTurn::Left:         return {height - 1 - y, x};   // upright (u, v) lands on (v, height - 1 - u)
    case TTurn::Right:        return {y, width - 1 - x};    // upright (u, v) lands on (width - 1 - v, u)
    }
    return {x, y};
}

// rect cut to the bitmap.
TRect Clipped(const TBitmap24& bitmap, TRect rect) {
    return {std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, bitmap.Width()),
            std::min(rect.Bottom, bitmap.Height())};
}

void CopyPixel(const std::uint8_t* from, std::uint8_t* to) { std::copy_n(from, 3, to); }

}  // namespace

TPoint UprightSize(TTurn turn, int width, int height) {
    if (turn == TTurn::Left || turn == TTurn::Right) return {height, width};
    return {width, height};
}

void PutTurned(const TBitmap24& upright, TBitmap24& dest, TRect rect, TTurn turn) {
    if (!InPaintRange(rect.Left) || !InPaintRange(rect.Top) || !InPaintRange(rect.Right) || !InPaintRange(rect.Bottom))
        return;
    const int w = rect.Width(), h = rect.Height();
    const TPoint size = UprightSize(turn, w, h);
    if (w <= 0 || h <= 0 || upright.Width() != size.X || upright.Height() != size.Y) return;
    const TRect c = Clipped(dest, rect);
    for (int y = c.Top; y < c.Bottom; ++y) {
        std::uint8_t* out = dest.ScanLine(y);
        for (int x = c.Left; x < c.Right; ++x) {
            const TPoint u = UprightPoint(turn, w, h, x - rect.Left, y - rect.Top);
            CopyPixel(upright.ScanLine(u.Y) + u.X * 3, out + x * 3);
        }
    }
}

TBitmap24 TakeUpright(const TBitmap24& source, TRect rect, TTurn turn) {
    const int w = std::max(rect.Width(), 0), h = std::max(rect.Height(), 0);
    const TPoint size = UprightSize(turn, w, h);
    TBitmap24 upright(size.X, size.Y);
    if (upright.Empty() || !InPaintRange(rect.Left) || !InPaintRange(rect.Top) || !InPaintRange(rect.Right) ||
        !InPaintRange(rect.Bottom))
        return upright;
    const TRect c = Clipped(source, rect);
    for (int y = c.Top; y < c.Bottom; ++y) {
        const std::uint8_t* in = source.ScanLine(y);
        for (int x = c.Left; x < c.Right; ++x) {
            const TPoint u = UprightPoint(turn, w, h, x - rect.Left, y - rect.Top);
            CopyPixel(in + x * 3, upright.ScanLine(u.Y) + u.X * 3);
        }
    }
    return upright;
}

}  // namespace korvel

#pragma once
// Points and rectangles of the painting code. A rectangle's Right and Bottom are
// exclusive unless a routine says it takes an inclusive rectangle.
#include <algorithm>

namespace korvel {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The largest coordinate (either sign) the painting routines accept: far beyond
// any bitmap, yet small enough that sums and differences of a few coordinates
// never overflow int. Rectangles, points and offsets beyond it are bad input and
// draw nothing.
constexpr int kMaxPaintCoordinate = 1 << 28;
inline bool InPaintRange(int v) { return v >= -kMaxPaintCoordinate && v <= kMaxPaintCoordinate; }
inline bool InPaintRange(const TPoint& p) { return InPaintRange(p.X) && InPaintRange(p.Y); }
inline bool InPaintRange(const TRect& r) {
    return InPaintRange(r.Left) && InPaintRange(r.Top) && InPaintRange(r.Right) && InPaintRange(r.Bottom);
}

inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// The part of a that also lies in b (empty rectangles come back with Right = Left or Bottom = Top).
inline TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

}  // namespace korvel

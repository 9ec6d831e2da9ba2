// The software drawing platform: plain loops over the working bitmap.
#include <algorithm>
#include <cmath>

#include "paint/platform_canvas.h"

namespace korvel {
namespace {

void PutPixel(TBitmap24& bitmap, int x, int y, TColor color) {
    std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
    p[0] = BlueOf(color);
    p[1] = GreenOf(color);
    p[2] = RedOf(color);
}

TSoftPaintPlatform softPlatform;
TPaintPlatform* installed = nullptr;

}  // namespace

TPaintPlatform& PaintPlatform() { return installed ? *installed : softPlatform; }
void SetPaintPlatform(TPaintPlatform* platform) { installed = platform; }

void TSoftPaintPlatform::FillRoundRect(TBitmap24& bitmap, const TRect& rect, int corner, TColor color) {
    // Without a pen the figure loses its right column and bottom row.
    const TRect figure{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
    const TRect area = Intersect(figure, {0, 0, bitmap.Width(), bitmap.Height()});
    if (area.IsEmpty()) return;
    const double rx = std::min(corner, figure.Width()) / 2.0, ry = std::min(corner, figure.Height()) / 2.0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            if (rx > 0 && ry > 0) {
                // Distance into the corner ellipse, measured at the pixel centre.
                const double px = x + 0.5, py = y + 0.5;
                double cx = px, cy = py;
                if (px < figure.Left + rx) cx = figure.Left + rx;
                else if (px > figure.Right - rx) cx = figure.Right - rx;
                if (py < figure.Top + ry) cy = figure.Top + ry;
                else if (py > figure.Bottom - ry) cy = figure.Bottom - ry;
                const double dx = (px - cx) / rx, dy = (py - cy) / ry;
                if (dx * dx + dy * dy > 1.0) continue;
            }
            PutPixel(bitmap, x, y, color);
        }
    }
}

void TSoftPaintPlatform::StretchCopy(TBitmap24& dest, const TRect& destRect, const TBitmap24& source,
                                     const TRect& sourceRect) {
    if (destRect.IsEmpty() || sourceRect.IsEmpty()) return;
    if (sourceRect.Left < 0 || sourceRect.Top < 0 || sourceRect.Right > source.Width() ||
        sourceRect.Bottom > source.Height())
        return;
    const TRect area = Intersect(destRect, {0, 0, dest.Width(), dest.Height()});
    const long long dw = destRect.Width(), dh = destRect.Height(), sw = sourceRect.Width(), sh = sourceRect.Height();
    for (int y = area.Top; y < area.Bottom; ++y) {
        const int sy = sourceRect.Top + static_cast<int>((y - destRect.Top) * sh / dh);
        const std::uint8_t* srow = source.ScanLine(sy);
        std::uint8_t* drow = dest.ScanLine(y);
        for (int x = area.Left; x < area.Right; ++x) {
            const int sx = sourceRect.Left + static_cast<int>((x - destRect.Left) * sw / dw);
            std::copy_n(srow + sx * 3, 3, drow + x * 3);
        }
    }
}

void TSoftPaintPlatform::GradientTriangles(TBitmap24& dest, std::span<const TGradientVertex> vertices,
                                           std::span<const TGradientTriangle> triangles) {
    const int n = static_cast<int>(vertices.size());
    for (const TGradientTriangle& t : triangles) {
        if (t.A < 0 || t.B < 0 || t.C < 0 || t.A >= n || t.B >= n || t.C >= n) continue;
        const TGradientVertex &a = vertices[t.A], &b = vertices[t.B], &c = vertices[t.C];
        const double area = double(b.X - a.X) * (c.Y - a.Y) - double(c.X - a.X) * (b.Y - a.Y);
        if (area == 0) continue;
        const TRect box = Intersect({std::min({a.X, b.X, c.X}), std::min({a.Y, b.Y, c.Y}),
                                     std::max({a.X, b.X, c.X}) + 1, std::max({a.Y, b.Y, c.Y}) + 1},
                                    {0, 0, dest.Width(), dest.Height()});
        for (int y = box.Top; y < box.Bottom; ++y) {
            for (int x = box.Left; x < box.Right; ++x) {
                const double wa = (double(b.X - x) * (c.Y - y) - double(c.X - x) * (b.Y - y)) / area;
                const double wb = (double(c.X - x) * (a.Y - y) - double(a.X - x) * (c.Y - y)) / area;
                const double wc = 1.0 - wa - wb;
                if (wa < 0 || wb < 0 || wc < -1e-9) continue;
                auto channel = [&](auto of) {
                    const double v = wa * of(a.Color) + wb * of(b.Color) + wc * of(c.Color);
                    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
                };
                PutPixel(dest, x, y,
                         MakeColor(channel(RedOf), channel(GreenOf), channel(BlueOf)));
            }
        }
    }
}

}  // namespace korvel

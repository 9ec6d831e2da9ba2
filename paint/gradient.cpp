#include "paint/gradient.h"

#include <algorithm>
#include <array>
#include <vector>

#include "paint/color.h"
#include "paint/platform_canvas.h"
#include "gui/system_colors.h"

namespace korvel {
namespace {

// Bands along one axis: first..last are the rows (or columns) of rect, fill(i, colour) paints one.
template <typename FillLine>
void Bands(const TsGradArray& stops, int first, int last, int offset, FillLine fill) {
    const int length = last - first + 1 + offset;
    int start = first;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        int end = std::min(start + stops[i].Percent * length / 100, last);
        if (i + 1 == stops.size()) end = last;
        if (end >= start) {
            const TColor c1 = ColorToRgb(stops[i].Color1), c2 = ColorToRgb(stops[i].Color2);
            const int rows = end - start + 1;
            const double dr = double(RedOf(c2) - RedOf(c1)) / rows, dg = double(GreenOf(c2) - GreenOf(c1)) / rows,
                         db = double(BlueOf(c2) - BlueOf(c1)) / rows;
            auto colour = [&](int k) {
                auto channel = [k](int base, double step) {
                    return static_cast<std::uint8_t>(std::clamp(RoundEven(base + step * k), 0, 255));
                };
                return MakeColor(channel(RedOf(c1), dr), channel(GreenOf(c1), dg), channel(BlueOf(c1), db));
            };
            // A band of one colour (steps of 0) is that colour on every line.
            const bool plain = dr == 0 && dg == 0 && db == 0;
            const TColor first = colour(0);
            for (int k = 0; k < rows; ++k) fill(start + k, plain ? first : colour(k));
        }
        // A length shortened below zero by a negative offset must not walk the
        // next band back in front of the rectangle.
        start = std::max(end, first);
    }
}

void PutRun(std::uint8_t* p, int count, TColor c) {
    for (int i = 0; i < count; ++i, p += 3) {
        p[0] = BlueOf(c);
        p[1] = GreenOf(c);
        p[2] = RedOf(c);
    }
}

}  // namespace

bool GradientLines(const TsGradArray& stops, int length, int offset, std::vector<TColor>& lines) {
    if (stops.empty() || length <= 0 || (stops[0].Mode != gmVertical && stops[0].Mode != gmHorizontal)) return false;
    // Colours are RGB (high byte 0): an unpainted line keeps a mark no colour has.
    constexpr TColor unpainted = 0xFFFFFFFF;
    std::vector<TColor> found(static_cast<std::size_t>(length), unpainted);
    bool inside = true;
    Bands(stops, 0, length - 1, offset, [&](int i, TColor c) {
        if (i < 0 || i >= length) {
            inside = false;
            return;
        }
        found[static_cast<std::size_t>(i)] = c;   // a line of two bands shows the later one
    });
    if (!inside || std::find(found.begin(), found.end(), unpainted) != found.end()) return false;
    lines = std::move(found);
    return true;
}

void PaintGradient(TBitmap24& bitmap, TRect rect, const TsGradArray& stops, int offset) {
    rect = Intersect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (rect.IsEmpty() || stops.empty()) return;
    // The colour of each line, computed once; horizontal bands make one row that every row copies.
    std::vector<TColor> lines;
    if (stops[0].Mode == gmHorizontal && GradientLines(stops, rect.Width(), offset, lines)) {
        std::uint8_t* first = bitmap.ScanLine(rect.Top) + rect.Left * 3;
        for (int x = 0; x < rect.Width(); ++x) PutRun(first + x * 3, 1, lines[static_cast<std::size_t>(x)]);
        for (int y = rect.Top + 1; y < rect.Bottom; ++y)
            std::copy_n(first, static_cast<std::size_t>(rect.Width()) * 3, bitmap.ScanLine(y) + rect.Left * 3);
        return;
    }
    switch (stops[0].Mode) {
    case gmVertical:
        Bands(stops, rect.Top, rect.Bottom - 1, offset, [&](int y, TColor c) {
            PutRun(bitmap.ScanLine(y) + rect.Left * 3, rect.Width(), c);
        });
        break;
    case gmHorizontal:
        Bands(stops, rect.Left, rect.Right - 1, offset, [&](int x, TColor c) {
            for (int y = rect.Top; y < rect.Bottom; ++y) PutRun(bitmap.ScanLine(y) + x * 3, 1, c);
        });
        break;
    case gmCornerMesh: {
        std::array<TColor, 5> colors{};
        for (std::size_t i = 0; i < colors.size(); ++i)
            colors[i] = i < stops.size() ? ColorToRgb(stops[i].Color1) : colors[i - 1];
        // Drawn into a picture of rect's size so that nothing outside rect is touched.
        const int w = rect.Width(), h = rect.Height();
        TBitmap24 mesh(w, h);
        const TGradientVertex v[5] = {
            {0, 0, colors[0]}, {w / 2, h / 2, colors[1]}, {w, 0, colors[2]}, {w, h, colors[3]}, {0, h, colors[4]}};
        const TGradientTriangle t[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
        PaintPlatform().GradientTriangles(mesh, v, t);
        for (int y = 0; y < h; ++y)
            std::copy_n(mesh.ScanLine(y), static_cast<std::size_t>(w) * 3, bitmap.ScanLine(rect.Top + y) + rect.Left * 3);
        break;
    }
    default:
        break;
    }
}

}  // namespace korvel

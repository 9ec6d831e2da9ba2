#include "paint/color.h"

#include <algorithm>
#include <cmath>

#include "gui/system_colors.h"

namespace korvel {

TColor MixColors(TColor a, TColor b, double factor) {
    auto mix = [factor](int ca, int cb) {
        return static_cast<TColor>(RoundEven(factor * (ca - cb) + cb)) & 0xFF;
    };
    return (a & 0xFF000000u) | mix(RedOf(a), RedOf(b)) | (mix(GreenOf(a), GreenOf(b)) << 8) |
           (mix(BlueOf(a), BlueOf(b)) << 16);
}

}  // namespace korvel

namespace korvel {

TColor ChangeSaturation(TColor color, int value) {
    if (value == 0) return color;
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    const double avg = (r + g + b) / 3.0;
    auto move = [&](int c) { return static_cast<TColor>(std::clamp(RoundEven(c + value * (avg - c) / 100), 0, 255)); };
    return (color & 0xFF000000u) | move(r) | (move(g) << 8) | (move(b) << 16);
}

TColor ChangeHue(int offset, TColor color) {
    color = ColorToRgb(color) & 0x00FFFFFFu;
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    const int v = std::max({r, g, b});
    const int d = v - std::min({r, g, b});
    const double s = v == 0 ? 0.0 : double(d) / v;
    if (s == 0) return color;
    double hue;
    if (r == v) hue = 60.0 * (g - b) / d;
    else if (g == v) hue = 120 + 60.0 * (b - r) / d;
    else hue = 240 + 60.0 * (r - g) / d;
    if (hue < 0) hue += 360;
    // The offset is taken round the circle first: whole turns change nothing (nor the
    // parity that rounding looks at), and hue + offset would overflow int near its ends.
    int h = RoundEven(hue + offset % 360) % 360;
    if (h < 0) h += 360;   // a negative offset turns the other way round the circle
    const int i = h / 60;
    const double f = h / 60.0 - i;
    auto level = [](double x) { return std::clamp(RoundEven(std::clamp(x, 0.0, 255.0)), 0, 255); };
    const int p = level(v * (1 - s)), q = level(v * (1 - f * s)), t = level(v * (1 - (1 - f) * s));
    int rr, gg, bb;
    switch (i) {
    case 0: rr = v, gg = t, bb = p; break;
    case 1: rr = q, gg = v, bb = p; break;
    case 2: rr = p, gg = v, bb = t; break;
    case 3: rr = p, gg = q, bb = v; break;
    case 4: rr = t, gg = p, bb = v; break;
    default: rr = v, gg = p, bb = q; break;
    }
    return MakeColor(static_cast<std::uint8_t>(rr), static_cast<std::uint8_t>(gg), static_cast<std::uint8_t>(bb));
}

}  // namespace korvel

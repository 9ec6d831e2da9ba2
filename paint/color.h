#pragma once
// Colour arithmetic of the painting engine.
#include <cmath>

#include "gui/colors.h"

namespace korvel {

// Each channel Round(Factor * (A - B) + B), rounding to nearest with ties to
// even; the result keeps A's high byte. Factor 1 gives A, 0 gives B.
TColor MixColors(TColor a, TColor b, double factor);

// std::floor without the library call where the conversion is exact (below
// 2^62 in magnitude); beyond it, and for NaN, the library's.
inline double FloorOf(double v) {
    if (!(v > -4.6e18 && v < 4.6e18)) return std::floor(v);
    const double t = static_cast<double>(static_cast<long long>(v));   // toward zero
    return t > v ? t - 1 : t;
}

// Round to nearest, ties to even: the rounding every colour formula uses.
// nearbyint honours the current rounding mode, which is to-nearest-even unless
// somebody changed it; computing it directly keeps us independent.
inline int RoundEven(double v) {
    const double floor = FloorOf(v);
    const double diff = v - floor;
    if (diff > 0.5) return static_cast<int>(floor) + 1;
    if (diff < 0.5) return static_cast<int>(floor);
    const int f = static_cast<int>(floor);
    return (f % 2 == 0) ? f : f + 1;
}

// Moves each channel toward the grey of the three (value 100 gives grey, negative
// values move away from it); 0 returns the colour unchanged. Keeps the high byte.
TColor ChangeSaturation(TColor color, int value);

// Turns the hue by offset degrees (either sign); greys come back unchanged. The
// colour is converted to RGB first; the result's high byte is 0.
TColor ChangeHue(int offset, TColor color);

}  // namespace korvel

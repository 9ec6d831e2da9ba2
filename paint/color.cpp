#include "paint/color.h"

#include <cmath>

namespace korvel {

int RoundEven(double v) {
    // nearbyint honours the current rounding mode, which is to-nearest-even
    // unless somebody changed it; computing it directly keeps us independent.
    double floor = std::floor(v);
    double diff = v - floor;
    if (diff > 0.5) return static_cast<int>(floor) + 1;
    if (diff < 0.5) return static_cast<int>(floor);
    int f = static_cast<int>(floor);
    return (f % 2 == 0) ? f : f + 1;
}

TColor MixColors(TColor a, TColor b, double factor) {
    auto mix = [factor](int ca, int cb) {
        return static_cast<TColor>(RoundEven(factor * (ca - cb) + cb)) & 0xFF;
    };
    return (a & 0xFF000000u) | mix(RedOf(a), RedOf(b)) | (mix(GreenOf(a), GreenOf(b)) << 8) |
           (mix(BlueOf(a), BlueOf(b)) << 16);
}

}  // namespace korvel

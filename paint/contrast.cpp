#include "paint/contrast.h"

#include <algorithm>
#include <cmath>

namespace korvel {

double RelativeLuminance(TColor c) {
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
}

double ContrastRatio(TColor a, TColor b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace korvel

#include "paint/scroll_metrics.h"

#include <cmath>
#include <limits>

namespace korvel {

int RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    if (value <= lo) return std::numeric_limits<int>::min();
    if (value >= hi) return std::numeric_limits<int>::max();
    const double down = std::floor(value);
    const double rest = value - down;
    double r = down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0)) r = down + 1.0;
    return static_cast<int>(r);
}

int ScrollButtonLength(const TScrollGeometry& g) {
    const int half = g.Along / 2;
    return g.Arrow < half ? g.Arrow : half;
}

int ScrollThumbLength(const TScrollGeometry& g) {
    if (g.PageSize == 0) return MinThumbLength;
    const int s = ScrollButtonLength(g);
    const double span = static_cast<double>(g.Max) + g.PageSize - g.Min;
    // A page at least as large as a (reversed) range has nothing to share out.
    if (span <= 0) return MinThumbLength;
    const double length = (static_cast<double>(g.Along) - 2.0 * s) / span * g.PageSize;
    return RoundHalfEven(length > MinThumbLength ? length : MinThumbLength);
}

int ScrollThumbCentre(const TScrollGeometry& g) {
    if (!g.Enabled) return g.Along / 2;
    if (g.Max == g.Min) return 0;
    const int s = ScrollButtonLength(g);
    const int t = ScrollThumbLength(g);
    const double track = static_cast<double>(g.Along) - 2.0 * s - t;
    const double range = static_cast<double>(g.Max) - g.Min;
    return s + t / 2 + RoundHalfEven(track / range * (static_cast<double>(g.Position) - g.Min));
}

int ScrollPointToPosition(const TScrollGeometry& g, int along) {
    if (!g.Enabled) return 0;
    const int s = ScrollButtonLength(g);
    const int t = ScrollThumbLength(g);
    const double track = static_cast<double>(g.Along) - 2.0 * s - t;
    if (track <= 0) return 0;
    const double range = static_cast<double>(g.Max) - g.Min;
    return RoundHalfEven((static_cast<double>(along) - s - t / 2.0) * range / track);
}

int ClampScrollPosition(int position, int min, int max) {
    if (position > max) position = max;
    if (position < min) position = min;
    return position;
}

TMaskFrameSize MaskFrameSize(bool ownBitmap, int width, int height, int imageCount, int maskType) {
    if (ownBitmap) return {width / 3, height / 2};
    const int parts = maskType + 1;
    return {imageCount > 0 ? width / imageCount : 0, parts > 0 ? height / parts : 0};
}

bool TScrollPartStates::Set(TScrollPart part, int state) {
    if (states_[part] == state) return false;
    states_[part] = state;
    if (state == 0) return true;
    for (int p = spFirstButton; p <= spThumb; ++p) {
        if (p == part) continue;
        const bool track = p == spFirstTrack || p == spSecondTrack;
        states_[p] = track ? 1 : 0;
    }
    return true;
}

}  // namespace korvel

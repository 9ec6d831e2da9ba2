#pragma once
// The band rule of vertical and horizontal gradients, written out for the tests
// that compute a gradient's expected lines: a band of Percent covers
// Percent x length div 100 lines on from where the band before it ended (the
// shared boundary line shows the later band's first colour), a Percent above
// 100 counts as 100, and the last stop always reaches the last line. Line k of a
// band of n lines is Color1 + k x (Color2 - Color1) / n per channel, rounded to
// nearest (halves to even).
#include <algorithm>
#include <cstddef>
#include <vector>

#include "gui/colors.h"
#include "paint/color.h"

namespace korvel::testing {

struct TRuleStop {
    TColor Color1, Color2;
    int Percent;
};
struct TRuleBand {
    int First, Last;   // lines of the rectangle, both inclusive
};

// The lines each stop covers in a rectangle `length` lines long.
inline std::vector<TRuleBand> RuleBands(const std::vector<TRuleStop>& stops, int length) {
    std::vector<TRuleBand> bands;
    int start = 0;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const int percent = std::clamp(stops[i].Percent, 0, 100);
        const int end = i + 1 == stops.size() ? length - 1 : std::min(start + percent * length / 100, length - 1);
        bands.push_back({start, end});
        start = end;
    }
    return bands;
}

// The colour of every line, each from the last band that holds it.
inline std::vector<TColor> RuleLines(const std::vector<TRuleStop>& stops, const std::vector<TRuleBand>& bands, int length) {
    std::vector<TColor> lines(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < bands.size() && i < stops.size(); ++i) {
        const int n = bands[i].Last - bands[i].First + 1;
        const TColor c1 = stops[i].Color1, c2 = stops[i].Color2;
        for (int k = 0; k < n; ++k) {
            auto channel = [&](int from, int to) {
                return static_cast<std::uint8_t>(RoundEven(from + k * (double(to - from) / n)));
            };
            lines[static_cast<std::size_t>(bands[i].First + k)] =
                MakeColor(channel(RedOf(c1), RedOf(c2)), channel(GreenOf(c1), GreenOf(c2)), channel(BlueOf(c1), BlueOf(c2)));
        }
    }
    return lines;
}

}  // namespace korvel::testing

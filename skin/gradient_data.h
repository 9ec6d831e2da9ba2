#pragma once
// Gradient descriptions of skin sections: a text of integers separated by ";",
// five per stop (Color1; Color2; Percent; Mode; an unused fifth value).
#include <cstdint>
#include <string_view>
#include <vector>

#include "gui/colors.h"

namespace korvel {

// Gradient modes, chosen by the first stop.
enum TsGradientMode : std::int32_t { gmVertical = 0, gmHorizontal = 1, gmCornerMesh = 2 };

struct TsGradientStop {
    TColor Color1 = 0;
    TColor Color2 = 0;
    std::uint8_t Percent = 0;   // share of the height (or width) covered, 0 to 100
    std::int32_t Mode = 0;      // TsGradientMode of the first stop decides the drawing
};

using TsGradArray = std::vector<TsGradientStop>;

// Parses a gradient text. The number of stops is the number of values div 5;
// a trailing incomplete stop is ignored. Percent is capped to 0..100. A value
// that is not a decimal integer reads as 0, so a damaged text never fails a load.
TsGradArray ParseGradientData(std::string_view text);

}  // namespace korvel

#pragma once
// Colour arithmetic of the painting engine.
#include "skin/colors.h"

namespace korvel {

// Each channel Round(Factor * (A - B) + B), rounding to nearest with ties to
// even; the result keeps A's high byte. Factor 1 gives A, 0 gives B.
TColor MixColors(TColor a, TColor b, double factor);

// Round to nearest, ties to even: the rounding every colour formula uses.
int RoundEven(double v);

}  // namespace korvel

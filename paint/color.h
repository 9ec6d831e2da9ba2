#pragma once
// Colour arithmetic of the painting engine.
#include "gui/colors.h"

namespace korvel {

// Each channel Round(Factor * (A - B) + B), rounding to nearest with ties to
// even; the result keeps A's high byte. Factor 1 gives A, 0 gives B.
TColor MixColors(TColor a, TColor b, double factor);

// Round to nearest, ties to even: the rounding every colour formula uses.
int RoundEven(double v);

// Moves each channel toward the grey of the three (value 100 gives grey, negative
// values move away from it); 0 returns the colour unchanged. Keeps the high byte.
TColor ChangeSaturation(TColor color, int value);

// Turns the hue by offset degrees (either sign); greys come back unchanged. The
// colour is converted to RGB first; the result's high byte is 0.
TColor ChangeHue(int offset, TColor color);

}  // namespace korvel

#pragma once
// How well text reads on a colour: the relative luminance of an sRGB colour
// and the contrast ratio of two colours (WCAG 2), and the ratio body text needs.
#include "gui/colors.h"

namespace korvel {

// Body text reads when its colour and the colour behind it reach this ratio.
constexpr double MinimumTextContrast = 4.5;

// 0 for black to 1 for white; each channel linearised, weighted 0.2126 red,
// 0.7152 green, 0.0722 blue. The high byte of c is ignored.
double RelativeLuminance(TColor c);

// (lighter + 0.05) / (darker + 0.05) of the two luminances: 1 to 21, the same
// whichever colour comes first.
double ContrastRatio(TColor a, TColor b);

}  // namespace korvel

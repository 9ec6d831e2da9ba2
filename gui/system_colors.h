#pragma once
// System colours. A colour whose high byte is 0xFF names a
// system colour by its low byte (the button face is 0xFF00000F); it is turned
// into RGB before use. The platform supplies the current values; natively a
// fixed table of the usual desktop defaults answers.
#include "gui/colors.h"

namespace korvel {

constexpr TColor clSystemColor = 0xFF000000;
constexpr int SysColorBtnFace = 15;
constexpr TColor clBtnFace = clSystemColor | SysColorBtnFace;

// Answers the RGB value of a system colour index (0 to 30; others give 0).
using TSystemColorSource = TColor (*)(int index);

// Installs the platform's source; nullptr restores the fixed table.
void SetSystemColorSource(TSystemColorSource source);
TColor SystemColorToRgb(int index);
TColor FixedSystemColor(int index);

// A system colour becomes its RGB value; every other colour is returned unchanged.
TColor ColorToRgb(TColor color);

}  // namespace korvel

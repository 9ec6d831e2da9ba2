#pragma once
// Recolouring of a freshly loaded skin by a hue offset and a saturation amount.
#include "skin/skin_data.h"

namespace korvel {

// The saturation value handed to ChangeSaturation for a manager's Saturation:
// the remainder of -saturation divided by 101, keeping the sign of -saturation.
int SaturationAmount(int saturation);

// Hue pass first, then saturation, each skipped when its amount is 0: the master
// bitmap and every mask picture of its own (transparent-key and grey pixels kept),
// every section's colours, font colours (-1 kept) and gradient colours, and the
// skin's Shadow1Color. Patterns, ShadowColor and the border colours stay.
void RecolourSkin(TsSkinTables& tables, int hueOffset, int saturation);

}  // namespace korvel

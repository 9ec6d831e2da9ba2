#include "paint/shared_state.h"

namespace korvel {

TParentBackground ParentBackground;
TColor SharedColor = clNone;
TColor GlobalFillColor = clNone;

}  // namespace korvel

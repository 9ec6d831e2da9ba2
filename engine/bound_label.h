#pragma once
// Placement of the caption label an edit control can carry beside itself.
#include "paint/geometry.h"

namespace korvel {

enum TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// Where the label goes, from the edit's bounds and the label's size (integer
// division truncating toward zero). With maxWidth not 0 the label is word-wrapped
// to maxWidth and at least as high as the edit.
struct TBoundLabelPlace {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool WordWrap = false;
};
TBoundLabelPlace PlaceBoundLabel(TsCaptionLayout layout, TRect edit, int labelWidth, int labelHeight, int indent,
                                 int maxWidth);

// The label's text alignment for a layout: 0 left, 1 right, 2 centre.
int BoundLabelAlignment(TsCaptionLayout layout);

}  // namespace korvel

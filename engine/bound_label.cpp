#include "engine/bound_label.h"

#include <algorithm>

namespace korvel {

TBoundLabelPlace PlaceBoundLabel(TsCaptionLayout layout, TRect edit, int labelWidth, int labelHeight, int indent,
                                 int maxWidth) {
    const int ew = edit.Right - edit.Left;
    const int eh = edit.Bottom - edit.Top;
    TBoundLabelPlace p{0, 0, labelWidth, labelHeight, false};
    switch (layout) {
        case sclLeft:
            p.Left = edit.Left - labelWidth - indent - 4;
            p.Top = edit.Top + (eh - labelHeight) / 2 - 1;
            break;
        case sclTopLeft:
            p.Left = edit.Left;
            p.Top = edit.Top - labelHeight - indent;
            break;
        case sclTopCenter:
            p.Left = edit.Left + (ew - labelWidth) / 2;
            p.Top = edit.Top - labelHeight - indent;
            break;
        case sclTopRight:
            p.Left = edit.Left + ew - labelWidth;
            p.Top = edit.Top - labelHeight - indent;
            break;
    }
    if (maxWidth != 0) {
        p.Width = maxWidth;
        p.WordWrap = true;
        p.Height = std::max(labelHeight, eh);
    }
    return p;
}

int BoundLabelAlignment(TsCaptionLayout layout) {
    switch (layout) {
        case sclTopLeft: return 0;
        case sclTopCenter: return 2;
        case sclLeft:
        case sclTopRight: return 1;
    }
    return 1;
}

}  // namespace korvel

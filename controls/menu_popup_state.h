#pragma once
// The state of the one popup menu being prepared or shown (process-wide: one
// popup at a time, replaced by a popup with another first item and dropped
// when the popup window goes).
#include <windows.h>

#include <string>
#include <vector>

#include "gui/bitmap24.h"
#include "paint/geometry.h"

namespace korvel {

struct TPopupState {
    TBitmap24 Background;
    // The popup's first item, by command id (an id is not given again at once; a pointer could be).
    UINT FirstItem = 0;
    bool HasFirstItem = false;
    // The extra line as its event described it.
    std::string ExtraSection;
    std::string ExtraCaption;
    TBitmap24 ExtraGlyph;
    bool ExtraVisible = false;
    bool ExtraFetched = false;
    bool ExtraFetching = false;
    int GlyphWidth = 0;
    int IcoLineWidth = 0;
    std::vector<TRect> Holes;
    bool FrameMessageQueued = false;
    bool DrawingFrame = false;
    HWND Window = nullptr;

    void DropBackground() { Background = TBitmap24(); }
    void DropExtraLine() {
        ExtraSection.clear();
        ExtraCaption.clear();
        ExtraGlyph = TBitmap24();
        ExtraVisible = false;
        ExtraFetched = false;
    }
};

TPopupState& PopupState();

}  // namespace korvel

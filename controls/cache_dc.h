#pragma once
// A memory device context over a control's cache bitmap, for the GDI drawing
// (captions, user paint handlers) that lands in the cache before it is copied
// to the screen. Selects the bitmap for its lifetime and gives everything back.
#include <windows.h>

#include "gui/bitmap24.h"
#include "gui/graphics.h"

namespace korvel {

class TCacheDC {
public:
    explicit TCacheDC(TBitmap24& bitmap) : dc_(CreateCountedMemoryDC(nullptr)) {
        if (dc_ && bitmap.Handle()) old_ = SelectObject(dc_, static_cast<HBITMAP>(bitmap.Handle()));
    }
    ~TCacheDC() {
        if (!dc_) return;
        if (old_) SelectObject(dc_, old_);
        DeleteCountedDC(dc_);
        GdiFlush();   // the cache's pixels may be read straight after
    }
    TCacheDC(const TCacheDC&) = delete;
    TCacheDC& operator=(const TCacheDC&) = delete;

    // Null when the bitmap is empty (a 0 x 0 cache has no pixels to draw on).
    HDC Handle() const { return old_ ? dc_ : nullptr; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace korvel

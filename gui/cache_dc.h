#pragma once
// A memory device context with a working bitmap selected, for the GDI drawing
// (captions, icons, user paint handlers) that lands in a cache before it is
// copied to the screen, or for copying from the cache to a window. Selects the
// bitmap for its lifetime and gives everything back; the device context is
// counted with the framework's other live GDI objects.
#include <windows.h>

#include "gui/bitmap24.h"
#include "gui/graphics.h"

namespace korvel {

class TCacheDC {
public:
    explicit TCacheDC(const TBitmap24& bitmap) : dc_(CreateCountedMemoryDC(nullptr)) {
        if (dc_ && bitmap.Handle()) old_ = SelectObject(dc_, static_cast<HBITMAP>(bitmap.Handle()));
    }
    ~TCacheDC() {
        if (!dc_) return;
        GdiFlush();   // the cache's pixels may be read straight after
        if (old_) SelectObject(dc_, old_);
        DeleteCountedDC(dc_);
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

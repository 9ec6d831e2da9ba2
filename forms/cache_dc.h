#pragma once
// A memory device context with a working bitmap selected, for GDI calls that
// draw into a cache (icons, text) or copy from it to a window.
#include <windows.h>

#include "gui/bitmap24.h"

namespace korvel {

class TCacheDC {
public:
    explicit TCacheDC(const TBitmap24& bitmap) : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_ && bitmap.Handle()) old_ = SelectObject(dc_, static_cast<HBITMAP>(bitmap.Handle()));
    }
    ~TCacheDC() {
        if (!dc_) return;
        GdiFlush();
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    TCacheDC(const TCacheDC&) = delete;
    TCacheDC& operator=(const TCacheDC&) = delete;
    // Null when the bitmap has no GDI handle (it is empty).
    HDC Handle() const { return old_ ? dc_ : nullptr; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace korvel

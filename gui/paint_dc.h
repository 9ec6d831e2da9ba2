#pragma once
// The device context a WM_PAINT is answered with: the one the message brings
// (WParam, a paint into a given DC) or the window's own from BeginPaint, which
// EndPaint gives back when the scope ends, on every path.
#include <windows.h>

namespace korvel {

class TPaintDC {
public:
    TPaintDC(HWND window, WPARAM given)
        : window_(window), dc_(given ? reinterpret_cast<HDC>(given) : BeginPaint(window, &ps_)), own_(given == 0) {}
    ~TPaintDC() {
        if (own_) EndPaint(window_, &ps_);
    }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;

    HDC Handle() const { return dc_; }

private:
    PAINTSTRUCT ps_{};
    HWND window_;
    HDC dc_;
    bool own_;
};

}  // namespace korvel

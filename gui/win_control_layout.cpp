// A windowed control's layout: aligned and anchored children, and the size
// constraints the system's tracking respects.
#include "gui/win_control.h"

#include <algorithm>

namespace korvel {

void TWinControl::OnGetMinMaxInfo(TMessage& m) {
    TControl::WndProc(m);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    const TSizeConstraints& c = Constraints();
    if (c.MinWidth() > 0) info->ptMinTrackSize.x = c.MinWidth();
    if (c.MinHeight() > 0) info->ptMinTrackSize.y = c.MinHeight();
    if (c.MaxWidth() > 0) {
        info->ptMaxTrackSize.x = c.MaxWidth();
        info->ptMaxSize.x = std::min<LONG>(info->ptMaxSize.x, c.MaxWidth());
    }
    if (c.MaxHeight() > 0) {
        info->ptMaxTrackSize.y = c.MaxHeight();
        info->ptMaxSize.y = std::min<LONG>(info->ptMaxSize.y, c.MaxHeight());
    }
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0) AlignControls();
}

void TWinControl::AlignControls() {
    if (alignDisabled_ > 0) return;
    RECT r = ClientRect();
    OffsetRect(&r, alignOrigin_.x, alignOrigin_.y);
    for (TControl* c : controls_) {
        if (!c->Visible()) continue;
        switch (c->Align()) {
        case TAlign::alNone:   break;
        case TAlign::alTop:    c->SetBounds(r.left, r.top, r.right - r.left, c->Height()); r.top += c->Height(); break;
        case TAlign::alBottom: r.bottom -= c->Height(); c->SetBounds(r.left, r.bottom, r.right - r.left, c->Height()); break;
        case TAlign::alLeft:   c->SetBounds(r.left, r.top, c->Width(), r.bottom - r.top); r.left += c->Width(); break;
        case TAlign::alRight:  r.right -= c->Width(); c->SetBounds(r.right, r.top, c->Width(), r.bottom - r.top); break;
        case TAlign::alClient: break;
        }
    }
    for (TControl* c : controls_)
        if (c->Visible() && c->Align() == TAlign::alClient)
            c->SetBounds(r.left, r.top, std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top));
    AnchorControls();
    ClientAreaAligned(r);
}

void TWinControl::AnchorControls() {
    RECT client = ClientRect();
    for (TControl* c : controls_) {
        TAnchors a = c->Anchors();
        if (c->Align() != TAlign::alNone || !(a & (akRight | akBottom))) continue;
        int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
        if (a & akRight) {
            int right = client.right - c->anchorRight_;
            if (a & akLeft) width = std::max(0, right - left);
            else left = right - width;
        }
        if (a & akBottom) {
            int bottom = client.bottom - c->anchorBottom_;
            if (a & akTop) height = std::max(0, bottom - top);
            else top = bottom - height;
        }
        c->anchoring_ = true;
        c->SetBounds(left, top, width, height);
        c->anchoring_ = false;
    }
}

}  // namespace korvel

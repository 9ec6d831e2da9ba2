// A form's own scrolling: the window's own scroll bars, shown while the
// content reaches beyond the client area, and the children moved with them.
#include <algorithm>

#include "gui/exceptions.h"
#include "gui/forms.h"

namespace korvel {

namespace {

int ClientExtent(TForm& form, bool vertical) {
    const RECT r = form.ClientRect();
    return vertical ? r.bottom : r.right;
}

}  // namespace

// ---- one direction -----------------------------------------------------------------

void TControlScrollBar::SetRange(int value) {
    if (value < 0) throw EInvalidOperation("A scroll range cannot be negative: " + std::to_string(value));
    if (value == range_) return;
    range_ = value;
    form_->UpdateScrollBars();
}

void TControlScrollBar::SetIncrement(int value) {
    if (value < 1 || value > 32767) throw EInvalidOperation("A scroll increment must be 1 to 32767: " + std::to_string(value));
    increment_ = value;
}

void TControlScrollBar::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    form_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int value) { form_->ScrollTo(*this, value); }

void TControlScrollBar::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TControlScrollBar*>(&source);
    if (!other) return TPersistent::Assign(source);
    increment_ = other->increment_;
    smooth_ = other->smooth_;
    range_ = other->range_;
    visible_ = other->visible_;
    form_->UpdateScrollBars();
}

// ---- the form ----------------------------------------------------------------------

void TForm::SetAutoScroll(bool value) {
    if (value == autoScroll_) return;
    autoScroll_ = value;
    UpdateScrollBars();
}

int TForm::ContentExtent(bool vertical) const {
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible()) continue;
        const TAlign a = c->Align();
        if (a != TAlign::alNone && a != (vertical ? TAlign::alTop : TAlign::alLeft)) continue;
        extent = std::max(extent, vertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    // Children sit where the content's origin puts them.
    const POINT origin = AlignOrigin();
    return extent - (vertical ? origin.y : origin.x);
}

void TForm::UpdateScrollBars() {
    if (!HandleAllocated() || scrolling_ || InState(csDestroying)) return;
    if (updatingScrollBars_) return;   // a bar shown or hidden resized the client: the loop below sees it
    const bool anyShown = (GetWindowLongPtrW(Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
    if (!autoScroll_ && !anyShown && horzScrollBar_.position_ == 0 && vertScrollBar_.position_ == 0) return;   // nothing to do
    updatingScrollBars_ = true;
    // Showing one bar narrows the client for the other: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        bool changed = false;
        for (TControlScrollBar* bar : {&horzScrollBar_, &vertScrollBar_}) {
            const int type = bar->vertical_ ? SB_VERT : SB_HORZ;
            // Without AutoScroll the form has no bars of its own (a skinned form's bars are its provider's).
            const int content = std::max(bar->range_, ContentExtent(bar->vertical_));
            const int client = ClientExtent(*this, bar->vertical_);
            const bool needed = autoScroll_ && bar->visible_ && content > client;
            const int maxPosition = needed ? content - client : 0;
            if (bar->position_ > maxPosition) ScrollTo(*bar, maxPosition);
            const bool shown = (GetWindowLongPtrW(Handle(), GWL_STYLE) & (bar->vertical_ ? WS_VSCROLL : WS_HSCROLL)) != 0;
            if (needed) {
                SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, content - 1, static_cast<UINT>(client), bar->position_, 0};
                SetScrollInfo(Handle(), type, &info, TRUE);
            }
            if (needed != shown) {
                ShowScrollBar(Handle(), type, needed);
                changed = true;
            }
        }
        if (!changed) break;
    }
    updatingScrollBars_ = false;
}

void TForm::ScrollTo(TControlScrollBar& bar, int position) {
    position = std::max(0, position);
    const int delta = bar.position_ - position;
    if (delta == 0) return;
    bar.position_ = position;
    scrolling_ = true;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (bar.vertical_) c->SetBounds(c->Left(), c->Top() + delta, c->Width(), c->Height());
        else c->SetBounds(c->Left() + delta, c->Top(), c->Width(), c->Height());
    }
    const POINT origin = AlignOrigin();
    SetAlignOrigin(bar.vertical_ ? POINT{origin.x, origin.y + delta} : POINT{origin.x + delta, origin.y});
    EnableAlign();
    scrolling_ = false;
    if (HandleAllocated()) {
        SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, position, 0};
        SetScrollInfo(Handle(), bar.vertical_ ? SB_VERT : SB_HORZ, &info, TRUE);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TForm::OnScrollMessage(TMessage& m) {
    TControlScrollBar& bar = m.Msg == WM_VSCROLL ? vertScrollBar_ : horzScrollBar_;
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(Handle(), bar.vertical_ ? SB_VERT : SB_HORZ, &info)) return;
    const int page = static_cast<int>(info.nPage);
    const int last = std::max(0, info.nMax - info.nMin + 1 - page);
    int position = bar.position_;
    switch (LOWORD(m.WParam)) {
    case SB_LINEUP:        position -= bar.increment_; break;
    case SB_LINEDOWN:      position += bar.increment_; break;
    case SB_PAGEUP:        position -= page; break;
    case SB_PAGEDOWN:      position += page; break;
    case SB_THUMBTRACK:    if (bar.smooth_) position = info.nTrackPos; break;
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP:           position = 0; break;
    case SB_BOTTOM:        position = last; break;
    default:               return;
    }
    ScrollTo(bar, std::clamp(position, 0, last));
    m.Result = 0;
}

}  // namespace korvel

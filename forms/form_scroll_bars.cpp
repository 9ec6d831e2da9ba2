// The skinned scroll bars a provider puts on its form in place of the form's
// own scrolling: measuring the content, placing the bars and the grip between
// them, and moving the form's children when a bar moves.
#include <algorithm>

#include "controls/panel.h"
#include "controls/scroll_bar.h"
#include "forms/skin_provider.h"

namespace korvel {

namespace {

// An MDI frame scrolls its children through its client window. An MDI child
// scrolls its own content like any form: the provider took its own scrolling
// over at creation, so without these bars the content beyond its client area
// could never be reached.
bool ScrollsItself(const TForm* form) { return form->FormStyle() != TFormStyle::fsMDIForm; }

// Sets Flag for as long as the scope runs, exceptions included.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

int TsSkinProvider::ContentExtent(bool vertical) const {
    int extent = 0;
    for (int i = 0; i < form_->ControlCount(); ++i) {
        const TControl* c = form_->Controls(i);
        if (c == VScrollBar || c == HScrollBar || c == FormGrip || !c->Visible()) continue;
        const TAlign a = c->Align();
        if (a != TAlign::alNone && a != (vertical ? TAlign::alTop : TAlign::alLeft)) continue;
        extent = std::max(extent, vertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    // Measured in the content, not on the screen: a scrolled form reaches as far as an unscrolled one.
    extent -= vertical ? ScrollOffsetV : ScrollOffsetH;
    const TsScrollBar* other = vertical ? HScrollBar : VScrollBar;
    if (other) extent += vertical ? other->Height() : other->Width();
    return extent + 2;
}

void TsSkinProvider::MeasureContent() {
    ContentHeight = ContentExtent(true);
    ContentWidth = ContentExtent(false);
}

void TsSkinProvider::OnChildBoundsChanged(TMessage& m) {
    PassOn(m);
    const auto* child = reinterpret_cast<const TControl*>(m.LParam);
    if (ScrollGuard || updatingScrollBars_ || child == VScrollBar || child == HScrollBar || child == FormGrip) return;
    MeasureContent();
    if (form_->Visible()) UpdateFormScrollBars();
}

void TsSkinProvider::UpdateFormScrollBars() {
    if (updatingScrollBars_ || ScrollGuard || !SavedAutoScroll || !ScrollsItself(form_)) return;
    if (InState(csLoading) || InState(csDestroying) || form_->InState(csDestroying)) return;
    if ((form_->ControlState() & csCreating) || !form_->HandleAllocated()) return;
    TFlagScope updating(updatingScrollBars_);
    const RECT client = form_->ClientRect();
    const int cw = client.right, ch = client.bottom;
    const auto content = [](int measured, int range) { return range == 0 ? measured : std::max(measured, range); };
    const int contentV = content(ContentHeight, form_->VertScrollBar().Range());
    const int contentH = content(ContentWidth, form_->HorzScrollBar().Range());
    const bool usable = skinData_->Section() != nullptr && form_->Visible();
    // max = content - client + 4 > 0 and page + 4 < content: the content is larger than the client.
    const auto needed = [usable](int c, int size) { return usable && c - size + 4 > 0 && size < c; };
    const bool needV = form_->VertScrollBar().Visible() && needed(contentV, ch);
    const bool needH = form_->HorzScrollBar().Visible() && needed(contentH, cw);
    if (!needV) ScrollBackAndFree(VScrollBar);
    if (!needH) ScrollBackAndFree(HScrollBar);
    if (!(needV && needH) && FormGrip) {
        delete FormGrip;
        FormGrip = nullptr;
    }
    const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
    const bool rtl = form_->UseRightToLeftAlignment();
    const int both = needV && needH ? 1 : 0;
    if (needV) {
        RECT r = rtl ? RECT{1, 1, cx + 1, ch - 1} : RECT{cw - cx, 0, cw, ch};
        r.bottom -= both * cy;
        PlaceScrollBar(VScrollBar, true, contentV, ch, r);
    }
    if (needH) {
        RECT r{0, ch - cy, cw, ch};
        if (both && rtl) r.left += cx;
        else if (both) r.right -= cx;
        PlaceScrollBar(HScrollBar, false, contentH, cw, r);
    }
    if (both) {
        if (!FormGrip) {
            FormGrip = new TsGrip(this);
            FormGrip->SkinData().SetSkinManager(skinData_->SkinManager());
            FormGrip->LinkedControl = form_;
            FormGrip->SetParent(form_);
        }
        const int left = rtl ? 0 : cw - cx;
        FormGrip->SetBounds(left, ch - cy, cx, cy);
        FormGrip->BringToFront();
    }
}

void TsSkinProvider::PlaceScrollBar(TsScrollBar*& bar, bool vertical, int content, int client, const RECT& r) {
    if (!bar) {
        bar = new TsScrollBar(form_);
        bar->FreeNotification(this);
        bar->SetVisible(false);   // hidden until placed
        bar->SetTabStop(false);
        bar->SetKind(vertical ? sbVertical : sbHorizontal);
        bar->SkinData.SetSkinManager(skinData_->SkinManager());
        TsScrollBar* self = bar;
        bar->OwnerNotification = [this, self](int previous) { ScrollBarChanged(self, previous); };
        bar->SetParent(form_);
    }
    const TControlScrollBar& own = vertical ? form_->VertScrollBar() : form_->HorzScrollBar();
    bar->SetSmooth(own.Smooth());
    bar->SetSmallChange(static_cast<std::uint16_t>(own.Increment()));
    bar->SetLargeChange(80);
    bar->SetPageSize(client - 4);
    // A smaller range moves the content back through the change handler.
    bar->SetParams(bar->Position(), 0, content - client + 4);
    bar->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    bar->SetVisible(true);
    bar->BringToFront();
}

void TsSkinProvider::ScrollBackAndFree(TsScrollBar*& bar) {
    if (!bar) return;
    bar->SetPosition(0);
    // Whatever the bar's skin state did with the position, the content goes back to where it started.
    if (const int offset = bar == VScrollBar ? ScrollOffsetV : ScrollOffsetH; offset != 0) ScrollBarChanged(bar, -offset + bar->Position());
    TsScrollBar* gone = bar;
    bar = nullptr;
    delete gone;
}

void TsSkinProvider::ScrollBarChanged(TsScrollBar* bar, int previous) {
    if (ScrollGuard || !bar) return;
    TFlagScope guard(ScrollGuard);
    const bool vertical = bar == VScrollBar;
    const int delta = previous - bar->Position();
    if (delta == 0) return;
    form_->DisableAlign();
    for (int i = 0; i < form_->ControlCount(); ++i) {
        TControl* c = form_->Controls(i);
        if (c == VScrollBar || c == HScrollBar || c == FormGrip) continue;
        if (auto* other = dynamic_cast<TsScrollBar*>(c); other && other->LinkedControl()) continue;
        if (vertical) c->SetBounds(c->Left(), c->Top() + delta, c->Width(), c->Height());
        else c->SetBounds(c->Left() + delta, c->Top(), c->Width(), c->Height());
    }
    (vertical ? ScrollOffsetV : ScrollOffsetH) += delta;
    form_->SetAlignOrigin({ScrollOffsetH, ScrollOffsetV});
    form_->EnableAlign();
}

void TsSkinProvider::TakeOverScrolling() {
    if (form_->AutoScroll()) form_->SetAutoScroll(false);
    // The form's own bars went: the content stays reachable through ours.
    MeasureContent();
    if (form_->Visible()) UpdateFormScrollBars();
}

void TsSkinProvider::GiveBackScrolling() {
    ScrollBackAndFree(VScrollBar);
    ScrollBackAndFree(HScrollBar);
    delete FormGrip;
    FormGrip = nullptr;
    if (SavedAutoScroll && !form_->InState(csDestroying)) form_->SetAutoScroll(true);
}

}  // namespace korvel

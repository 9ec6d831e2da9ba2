// The skinned scroll bar: its properties, geometry and range, its window
// (the native bar or a plain window of its own) and its window procedure.
#include "controls/scroll_bar.h"

#include <utility>

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/forms.h"

namespace korvel {

TsScrollBar::TsScrollBar(TComponent* owner) : TWinControl(owner), SkinData(this, true) {
    SetControlStyle(csOpaque | csDoubleClicks);
    SetTabStop(true);
    SkinData.ControlCode = ccScrollBar;
    SetBounds(Left(), Top(), Width() == 0 ? 121 : Width(), Height() == 0 ? GetSystemMetrics(SM_CYHSCROLL) : Height());
    SkinData.Loaded();
}

TsScrollBar::~TsScrollBar() {
    Destroying();
    FreeTimer();
}

bool TsScrollBar::Skinned() {
    // Without a manager of its own the bar reads the default one.
    TsSkinManager* manager = SkinData.SkinManager();
    return manager && !manager->InState(csDestroying) && manager->Active() && manager->SkinData().Active;
}

bool TsScrollBar::CanFocus() const { return TWinControl::CanFocus() && TabStop(); }

// ---- properties ---------------------------------------------------------------------------

void TsScrollBar::SetKind(TScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated()) RecreateAs(plainWindow_);
}

void TsScrollBar::SetMin(int value) {
    SetParams(position_, value, max_);
    SkinData.Invalidate();
}

void TsScrollBar::SetMax(int value) {
    SetParams(position_, min_, value);
    SkinData.Invalidate();
}

void TsScrollBar::SetPosition(int value) {
    if (InState(csDestroying) || (ControlState() & csCreating)) return;
    RangeSetter(value, min_, max_);
    RepaintIfNeeded();
}

void TsScrollBar::SetParams(int position, int min, int max) { RangeSetter(position, min, max); }

void TsScrollBar::SetPageSize(int value) {
    if (value < 0 || value == pageSize_) return;
    pageSize_ = value;
    if (HandleAllocated() && !plainWindow_) GiveNativeRange();
    SkinData.Invalidate();
    repaintNeeded_ = true;
}

void TsScrollBar::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData.Invalidate();
}

// ---- geometry -----------------------------------------------------------------------------

TScrollGeometry TsScrollBar::Geometry() const {
    const bool horizontal = kind_ == sbHorizontal;
    return {horizontal ? Width() : Height(), GetSystemMetrics(horizontal ? SM_CXHSCROLL : SM_CYVSCROLL),
            min_, max_, position_, pageSize_, Enabled()};
}

int TsScrollBar::Along(POINT p) const { return kind_ == sbHorizontal ? p.x : p.y; }

int TsScrollBar::Direction() const { return kind_ == sbHorizontal && UseRightToLeftAlignment() ? -1 : 1; }

// The part of the bar from one point to another along it, across the whole bar.
RECT TsScrollBar::Span(int from, int to) const {
    const int across = kind_ == sbHorizontal ? Height() : Width();
    return kind_ == sbHorizontal ? RECT{from, 0, to, across} : RECT{0, from, across, to};
}


RECT TsScrollBar::FirstButtonRect() const {
    const TScrollGeometry g = Geometry();
    return Span(0, ScrollButtonLength(g));
}

RECT TsScrollBar::SecondButtonRect() const {
    const TScrollGeometry g = Geometry();
    return Span(g.Along - ScrollButtonLength(g), g.Along);
}

RECT TsScrollBar::ThumbRect() const {
    const TScrollGeometry g = Geometry();
    const int t = ScrollThumbLength(g);
    const int from = ScrollThumbCentre(g) - t / 2;
    return Span(from, from + t);
}

// ---- range, change, states ------------------------------------------------------------------

void TsScrollBar::GiveNativeRange() {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_),
                    Direction() < 0 ? max_ - position_ : position_, 0};
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TsScrollBar::RangeSetter(int position, int min, int max) {
    if (Skinned()) {
        const int p = ClampScrollPosition(position, min, max);
        if (min != min_ || max != max_) {
            min_ = min;
            max_ = max;
            if (HandleAllocated() && !plainWindow_) {
                SCROLLINFO info{sizeof(info), SIF_RANGE, min_, max_, 0, 0, 0};
                SetScrollInfo(Handle(), SB_CTL, &info, p == position_);
            }
        }
        if (p == position_) {
            SendScroll(lastCode_);
            return;
        }
        const int previous = position_;
        position_ = p;
        repaintNeeded_ = true;
        Change(previous);
        if (!IsLoading() && !InState(csReading) && !(ControlState() & csCreating) && Parent()) RepaintIfNeeded();
        return;
    }
    if (max < min) throw EInvalidOperation("Scrollbar property out of range");
    const int p = ClampScrollPosition(position, min, max);
    const bool rangeChanged = min != min_ || max != max_;
    min_ = min;
    max_ = max;
    if (HandleAllocated() && !plainWindow_ && rangeChanged) {
        SCROLLINFO info{sizeof(info), SIF_RANGE, min_, max_, 0, 0, 0};
        SetScrollInfo(Handle(), SB_CTL, &info, p == position_);
    }
    if (p == position_) return;
    const int previous = position_;
    position_ = p;
    if (HandleAllocated() && !plainWindow_) SetScrollPos(Handle(), SB_CTL, Direction() < 0 ? max_ - p : p, TRUE);
    SetEnabled(true);
    if (OwnerNotification) OwnerNotification(previous);
    if (OnChange) OnChange(this);
}

void TsScrollBar::SendScroll(TScrollCode code) {
    if (!OnScroll) return;
    int p = position_;
    OnScroll(this, code, p);
}

void TsScrollBar::Change(int previous) {
    if (notificationsHeld_) return;
    if (OwnerNotification) OwnerNotification(previous);
    SendScroll(lastCode_);
    if (OnChange) OnChange(this);
}

void TsScrollBar::SetPartState(TScrollPart part, int state) {
    if (parts_.Set(part, state)) repaintNeeded_ = true;
}

void TsScrollBar::RepaintIfNeeded() {
    suspended_ = false;
    if (!repaintNeeded_ || !HandleAllocated() || !Skinned()) return;
    HDC dc = GetDC(Handle());
    Paint(dc);
    ReleaseDC(Handle(), dc);
}

// ---- window -------------------------------------------------------------------------------

void TsScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    if (plainWindow_) return;   // a window of our own class, registered by the framework
    params.WinClassName = L"SCROLLBAR";
    params.SystemClass = true;
    if (kind_ == sbHorizontal) params.Style |= SBS_HORZ;
    else params.Style |= SBS_VERT | (UseRightToLeftAlignment() ? SBS_LEFTALIGN : SBS_RIGHTALIGN);
    if (Skinned()) recreatePending_ = true;
}

void TsScrollBar::HandleCreated() {
    if (!plainWindow_) GiveNativeRange();
}

void TsScrollBar::Loaded() {
    TWinControl::Loaded();
    SkinData.Loaded();
    if (recreatePending_ && HandleAllocated()) RecreateAs(true);
}

void TsScrollBar::RecreateAs(bool plain) {
    recreatePending_ = false;
    plainWindow_ = plain;
    FreeTimer();
    if (HandleAllocated()) RecreateWnd();
    recreatePending_ = false;   // the new window is what the skin state asks for
}

bool TsScrollBar::AnswerScrollQuery(TMessage& m) {
    // The plain window answers what a native scroll bar is asked, so readers of
    // scroll bars (accessibility tools, tests) still find the values.
    switch (m.Msg) {
    case SBM_GETPOS: m.Result = position_; return true;
    case SBM_GETRANGE:
        if (m.WParam) *reinterpret_cast<int*>(m.WParam) = min_;
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = max_;
        m.Result = 0;
        return true;
    case SBM_GETSCROLLINFO: {
        auto* info = reinterpret_cast<SCROLLINFO*>(m.LParam);
        if (!info) return true;
        if (info->fMask & SIF_RANGE) {
            info->nMin = min_;
            info->nMax = max_;
        }
        if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(pageSize_);
        if (info->fMask & SIF_POS) info->nPos = position_;
        if (info->fMask & SIF_TRACKPOS) info->nTrackPos = position_;
        m.Result = 1;
        return true;
    }
    case SBM_SETPOS: {
        const int previous = position_;
        SetPosition(static_cast<int>(m.WParam));
        m.Result = previous;
        return true;
    }
    default: return false;
    }
}


// ---- window procedure ---------------------------------------------------------------------

bool TsScrollBar::HandleSkinMessage(TMessage& m) {
    if (SkinCommandOf(m.WParam) == SMC_PARENTUPDATED) {
        SkinData.Updating = false;
        repaintNeeded_ = true;
        RepaintIfNeeded();
        return true;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Removed =
            [this] {
                parts_.Reset();
                // Also sent when the skin has no section named after the bar, while the
                // manager goes on skinning: the bar stays as it is then.
                if (!Skinned()) RecreateAs(false);
            },
        .Applied =
            [this] {
                SkinData.BackgroundChanged = true;
                RecreateAs(true);
            },
    });
}

void TsScrollBar::WndProc(TMessage& m) {
    if (InState(csDestroying)) return TWinControl::WndProc(m);
    if (m.Msg == SM_ALPHACMD && HandleSkinMessage(m)) return;
    if (m.Msg == WM_REPAINTAFTERSKINCHANGE) {
        repaintAfterChangeWindow_ = nullptr;
        if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
        return;
    }
    if (recreatePending_ && (m.Msg == WM_PAINT || m.Msg == WM_NCHITTEST) && HandleAllocated() && Skinned()) {
        RecreateAs(true);   // the old window is gone; the new one paints itself
        m.Result = m.Msg == WM_NCHITTEST ? HTCLIENT : 0;
        return;
    }
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        if (!(notificationsHeld_ && Skinned())) OnNativeScroll(m);
        return;
    }
    if (m.Msg == CN_CTLCOLORSCROLLBAR) return DefaultHandler(m);
    if (m.Msg == WM_ERASEBKGND) {
        if (suspended_ || plainWindow_) {
            m.Result = 1;   // the paint covers every pixel
            return;
        }
        return TWinControl::WndProc(m);
    }
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    const bool skinned = Skinned();
    if (m.Msg == WM_PAINT && (plainWindow_ ? skinned || suspended_ : suspended_)) return OnPaintMessage(m);
    if (plainWindow_ && AnswerScrollQuery(m)) return;
    if (skinned && plainWindow_ && HandleSkinned(m)) return;
    SkinData.CommonWndProc(m);
    if (m.Msg == SM_ALPHACMD) return;
    TWinControl::WndProc(m);
}

// ---- registration -------------------------------------------------------------------------

void RegisterScrollBarClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& registry = TClassRegistry::Instance();
        registry.RegisterClass<TsScrollBar>("TsScrollBar", "TWinControl");
        using S = std::function<void(TsScrollBar&, const TValue&, TReadContext&)>;
        const auto prop = [&registry](const std::string& name, S setter) {
            registry.RegisterProperty<TsScrollBar>("TsScrollBar", name, std::move(setter));
        };
        RegisterSkinDataProperties<TsScrollBar>("TsScrollBar");
        prop("Kind", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetKind(v.AsEnum({{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}}) == sbVertical
                          ? sbVertical
                          : sbHorizontal);
        });
        prop("Min", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetMin(v.AsInteger()); });
        prop("Max", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetMax(v.AsInteger()); });
        prop("Position", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetPosition(v.AsInteger()); });
        prop("PageSize", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetPageSize(v.AsInteger()); });
        prop("SmallChange", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetSmallChange(static_cast<std::uint16_t>(v.AsInteger()));
        });
        prop("LargeChange", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetLargeChange(static_cast<std::uint16_t>(v.AsInteger()));
        });
        prop("Smooth", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetSmooth(v.AsBoolean()); });
        prop("DisabledKind", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        prop("OnChange", [](TsScrollBar& b, const TValue& v, TReadContext& r) { b.OnChange = r.Handler(v); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel

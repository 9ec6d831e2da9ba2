// The skinned scroll bar's input: presses, releases and hit tests on its
// parts, the auto-repeat and drag timers, keys, and the native bar's
// scroll notifications.
#include "controls/scroll_bar.h"

#include <algorithm>

#include "engine/skin_message.h"
#include "gui/application.h"
#include "gui/forms.h"

namespace korvel {
namespace {

// The auto-repeat's first delay and its pace, and the drag timer's pace.
constexpr unsigned kRepeatDelay = 500;
constexpr unsigned kRepeatPace = 100;
constexpr unsigned kDragPace = 10;

POINT ClientPoint(LPARAM lparam) { return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))}; }

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

// ---- mouse --------------------------------------------------------------------------------

POINT TsScrollBar::CursorInClient() const {
    POINT p{};
    GetCursorPos(&p);
    return ScreenToClient(p);
}

void TsScrollBar::StartTimer(TScrollTimer kind, unsigned interval) {
    FreeTimer();
    if (!HandleAllocated()) return;
    if (!SetTimer(Handle(), TimerId, interval, nullptr)) return;
    timer_ = kind;
    timerInterval_ = interval;
}

void TsScrollBar::FreeTimer() {
    if (timer_ != stNone && HandleAllocated()) KillTimer(Handle(), TimerId);
    timer_ = stNone;
    timerInterval_ = 0;
}

void TsScrollBar::OnMouseDown(POINT p) {
    savedShowHint_ = Application().ShowHint();
    hintSaved_ = true;
    Application().SetShowHint(false);
    dragOffset_ = 0;
    if (CanFocus() && !Focused()) SetFocus();
    SetCapture(Handle());
    const TScrollGeometry g = Geometry();
    const int along = Along(p);
    // What the owner does on the position's change (moving controls, scrolling
    // a window) paints nothing of this bar: it is painted once, pressed, below.
    suspended_ = true;
    if (Inside(FirstButtonRect(), p)) {
        if (parts_.State(spFirstButton) != 2) {
            lastCode_ = scLineUp;
            SetPartState(spFirstButton, 2);
            if (position_ == min_) SendScroll(scLineUp);
            else SetPosition(position_ - smallChange_);
            StartTimer(stLine, kRepeatDelay);
        }
    } else if (Inside(SecondButtonRect(), p)) {
        if (parts_.State(spSecondButton) != 2) {
            lastCode_ = scLineDown;
            SetPartState(spSecondButton, 2);
            if (position_ != max_) {
                SetPosition(position_ + smallChange_);
                StartTimer(stLine, kRepeatDelay);
            }
        }
    } else if (Inside(ThumbRect(), p)) {
        lastCode_ = scTrack;
        if (!smooth_) {
            notificationsHeld_ = true;
            dragStart_ = position_;
        }
        if (parts_.State(spThumb) != 2) {
            dragOffset_ = ScrollPointToPosition(g, along) - position_;
            SetPartState(spThumb, 2);
            StartTimer(stDrag, kDragPace);
        }
    } else if (along < ScrollThumbCentre(g)) {
        if (parts_.State(spFirstTrack) != 2) {
            lastCode_ = scPageUp;
            SetPartState(spFirstTrack, 2);
            SetPartState(spSecondTrack, SkinData.IsActive() ? 1 : 0);
            if (largeChange_ != 0) SetPosition(position_ - largeChange_);
            StartTimer(stPage, kRepeatDelay);
        }
    } else if (parts_.State(spSecondTrack) != 2) {
        lastCode_ = scPageDown;
        SetPartState(spSecondTrack, 2);
        SetPartState(spFirstTrack, SkinData.IsActive() ? 1 : 0);
        if (largeChange_ != 0) SetPosition(position_ + largeChange_);
        StartTimer(stPage, kRepeatDelay);
    }
    RepaintIfNeeded();
}

void TsScrollBar::OnTimerTick() {
    if (timer_ == stNone) return;
    if (timer_ == stDrag) {
        if (!ControlIsReady(this) || SkinData.MouseAbove) return;
        if (GetCapture() != Handle()) SetCapture(Handle());
        if (parts_.State(spThumb) == 2) DragTo(CursorInClient());
        return;
    }
    if (timerInterval_ != kRepeatPace) StartTimer(timer_, kRepeatPace);
    if (timer_ == stLine) {
        if (parts_.State(spFirstButton) == 2) SetPosition(position_ - smallChange_);
        else if (parts_.State(spSecondButton) == 2) SetPosition(position_ + smallChange_);
        else FreeTimer();
        return;
    }
    // Page: until the thumb reaches the cursor. The point's position is counted from Min.
    const int under = ScrollPointToPosition(Geometry(), Along(CursorInClient())) + min_;
    if (parts_.State(spFirstTrack) == 2 && under < position_) SetPosition(position_ - largeChange_);
    else if (parts_.State(spSecondTrack) == 2 && under > position_) SetPosition(position_ + largeChange_);
    else FreeTimer();
}

void TsScrollBar::DragTo(POINT client) {
    const int p = ScrollPointToPosition(Geometry(), Along(client)) - dragOffset_;
    if (p != position_) SetPosition(p);
}

void TsScrollBar::OnMouseUp(POINT p) {
    FreeTimer();
    const bool thumbPressed = parts_.State(spThumb) == 2;
    if (Inside(ThumbRect(), p) || thumbPressed) {
        lastCode_ = scPosition;
        const int active = SkinData.IsActive() ? 1 : 0;
        SetPartState(spFirstTrack, active);
        SetPartState(spSecondTrack, active);
        if (thumbPressed) {
            SetPosition(ScrollPointToPosition(Geometry(), Along(p)) - dragOffset_);
            SetPartState(spThumb, Inside(ThumbRect(), p) ? 1 : 0);
            if (notificationsHeld_) {
                notificationsHeld_ = false;
                if (position_ != dragStart_) Change(dragStart_);
            }
        }
    } else if (parts_.State(spFirstButton) == 2 && Inside(FirstButtonRect(), p)) {
        SetPartState(spFirstButton, 1);
    } else if (parts_.State(spSecondButton) == 2 && Inside(SecondButtonRect(), p)) {
        SetPartState(spSecondButton, 1);
    } else {
        const int active = SkinData.IsActive() ? 1 : 0;
        if (parts_.State(spFirstTrack) == 2) SetPartState(spFirstTrack, active);
        if (parts_.State(spSecondTrack) == 2) SetPartState(spSecondTrack, active);
        // A pressed button left behind is no longer pressed.
        if (parts_.State(spFirstButton) == 2) SetPartState(spFirstButton, 0);
        if (parts_.State(spSecondButton) == 2) SetPartState(spSecondButton, 0);
    }
    notificationsHeld_ = false;
    RepaintIfNeeded();
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TsScrollBar::CancelPress() {
    // The capture went elsewhere (a menu, a message box) before the release:
    // nothing stays pressed or repeating, and a held drag announces where it ended.
    FreeTimer();
    const int active = SkinData.IsActive() ? 1 : 0;
    bool pressed = false;
    for (TScrollPart part : {spFirstButton, spSecondButton, spThumb, spFirstTrack, spSecondTrack}) {
        if (parts_.State(part) != 2) continue;
        pressed = true;
        SetPartState(part, part == spFirstTrack || part == spSecondTrack ? active : 0);
    }
    if (notificationsHeld_) {
        notificationsHeld_ = false;
        if (position_ != dragStart_) Change(dragStart_);
    }
    if (hintSaved_) Application().SetShowHint(savedShowHint_);
    hintSaved_ = false;
    if (pressed) RepaintIfNeeded();
}

void TsScrollBar::OnHitTest(const TMessage& m) {
    const POINT p = ScreenToClient(ClientPoint(m.LParam));
    if (Inside(ThumbRect(), p) || parts_.State(spThumb) == 2) {
        if (parts_.State(spThumb) == 2) DragTo(p);
        else SetPartState(spThumb, 1);
    } else if (Inside(FirstButtonRect(), p) && parts_.State(spFirstButton) != 2) {
        SetPartState(spFirstButton, 1);
    } else if (Inside(SecondButtonRect(), p) && parts_.State(spSecondButton) != 2) {
        SetPartState(spSecondButton, 1);
    } else if (!Inside(FirstButtonRect(), p) && !Inside(SecondButtonRect(), p)) {
        SetPartState(spThumb, 0);
        SetPartState(spFirstButton, 0);
        SetPartState(spSecondButton, 0);
    }
    RepaintIfNeeded();
}

// ---- keys and native notifications ----------------------------------------------------------

void TsScrollBar::OnKeyDown(TMessage& m) {
    switch (m.WParam) {
    case VK_PRIOR: lastCode_ = scPageUp; SetPosition(position_ - largeChange_); break;
    case VK_NEXT:  lastCode_ = scPageDown; SetPosition(position_ + largeChange_); break;
    case VK_END:   lastCode_ = scBottom; SetPosition(max_); break;
    case VK_HOME:  lastCode_ = scTop; SetPosition(min_); break;
    case VK_RIGHT:
    case VK_DOWN:  lastCode_ = scLineDown; SetPosition(position_ + smallChange_); break;
    case VK_LEFT:
    case VK_UP:    lastCode_ = scLineUp; SetPosition(position_ - smallChange_); break;
    default: break;
    }
}

void TsScrollBar::OnNativeScroll(TMessage& m) {
    static constexpr TScrollCode codes[] = {scLineUp,   scLineDown, scPageUp, scPageDown, scPosition,
                                            scTrack,    scTop,      scBottom, scEndScroll};
    const unsigned native = LOWORD(m.WParam);
    if (native > SB_ENDSCROLL) return;
    const TScrollCode code = codes[native];
    const int dir = Direction();
    long long value = position_;
    switch (code) {
    case scLineUp:   value -= static_cast<long long>(smallChange_) * dir; break;
    case scLineDown: value += static_cast<long long>(smallChange_) * dir; break;
    case scPageUp:   value -= static_cast<long long>(largeChange_) * dir; break;
    case scPageDown: value += static_cast<long long>(largeChange_) * dir; break;
    case scTop:      value = min_; break;
    case scBottom:   value = max_; break;
    case scPosition:
    case scTrack: {
        SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
        if (HandleAllocated() && GetScrollInfo(Handle(), SB_CTL, &info))
            value = dir < 0 ? max_ - info.nTrackPos : info.nTrackPos;
        break;
    }
    default: break;
    }
    int v = static_cast<int>(std::clamp<long long>(value, std::min(min_, max_), std::max(min_, max_)));
    lastCode_ = code;
    if (OnScroll) OnScroll(this, code, v);
    SetPosition(v);
    m.Result = 0;
}

// The messages of the skinned plain window.
bool TsScrollBar::HandleSkinned(TMessage& m) {
    switch (m.Msg) {
    case WM_PRINT:
        SendMessageW(Handle(), WM_PAINT, m.WParam, m.LParam);
        SendMessageW(Handle(), WM_NCPAINT, m.WParam, m.LParam);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Enabled() || !ControlIsReady(this)) return false;
        OnMouseDown(ClientPoint(m.LParam));
        return false;   // and the framework's press handling
    case WM_LBUTTONUP:
        if (!Enabled() || !ControlIsReady(this)) return false;
        OnMouseUp(ClientPoint(m.LParam));
        TWinControl::WndProc(m);
        SendScroll(scEndScroll);
        if (hintSaved_) Application().SetShowHint(savedShowHint_);
        hintSaved_ = false;
        return true;
    case WM_TIMER:
        if (m.WParam != TimerId) return false;
        OnTimerTick();
        return true;
    case WM_NCHITTEST:
        TWinControl::WndProc(m);
        if (Enabled()) OnHitTest(m);
        return true;
    case CM_MOUSEENTER:
        SetPartState(spFirstTrack, 1);
        SetPartState(spSecondTrack, 1);
        RepaintIfNeeded();
        return false;
    case CM_MOUSELEAVE:
        SetPartState(spFirstButton, 0);
        SetPartState(spSecondButton, 0);
        if (parts_.State(spThumb) != 2) {
            SetPartState(spThumb, 0);
            SetPartState(spFirstTrack, 0);
            SetPartState(spSecondTrack, 0);
        }
        RepaintIfNeeded();
        return false;
    case WM_KEYDOWN:
        OnKeyDown(m);
        return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
        SkinData.CommonWndProc(m);
        TWinControl::WndProc(m);
        repaintNeeded_ = true;
        if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
        return true;
    case WM_CANCELMODE:
        CancelPress();
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != Handle()) CancelPress();
        return false;
    default: return false;
    }
}


}  // namespace korvel

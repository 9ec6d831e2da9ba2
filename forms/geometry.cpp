// Where a skinned form goes: its maximised place and tracking size, snapping
// to the work area's edges while it moves, and moving or sizing by an inverted
// outline that changes the window once, at the release.
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "forms/skin_provider.h"

namespace korvel {

namespace {

RECT WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

bool IsSizingCode(int code) { return code >= HTLEFT && code <= HTBOTTOMRIGHT; }

// One outline drag at a time in the whole program.
struct TOutlineState {
    bool OutlineActive = false;
    bool OutlineStarting = false;
    bool OutlineIsMove = false;
    int OutlineHitCode = 0;
    bool FromPress = false;   // the size command comes from a press on a border, whose code stands
    TsSkinProvider* Provider = nullptr;
    RECT Rect{};        // in the coordinates of the form's position (screen, or an MDI client's)
    RECT StartRect{};
    POINT Anchor{};     // screen point the rectangle follows from
    int MinWidth = 0;
    int MinHeight = 0;
    HDC DesktopDC = nullptr;
    int SavedDC = 0;
};

TOutlineState& Outline() {
    static TOutlineState state;
    return state;
}

// Screen offset of the coordinates a form's position is given in: an MDI
// child's are its client window's.
POINT PositionOrigin(TForm* form) {
    POINT origin{0, 0};
    if (form->HandleAllocated() && (GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CHILD)) {
        if (HWND parent = GetParent(form->Handle())) ClientToScreen(parent, &origin);
    }
    return origin;
}

// A closed outline on the desktop; drawn twice it is gone (the pen inverts).
void DrawOutline(const TOutlineState& s, TForm* form) {
    if (!s.DesktopDC) return;
    const POINT o = PositionOrigin(form);
    RECT r = s.Rect;
    if (s.OutlineIsMove) {
        r.right = r.left + form->Width();
        r.bottom = r.top + form->Height();
    }
    OffsetRect(&r, o.x, o.y);
    const POINT points[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}, {r.left, r.top}};
    Polyline(s.DesktopDC, points, 5);
}

}  // namespace

// ---- maximised size ----------------------------------------------------------------

void TsSkinProvider::MaximisedSize(TMessage& m) {
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (!info) return PassOn(m);
    info->ptMaxTrackSize = {-1, -1};
    info->ptMaxPosition = {-1, -1};
    PassOn(m);
    // What the form's own handler left open comes from the work area; the frame hangs outside it.
    const RECT work = WorkArea();
    const int b = HasBorder() ? FrameWidth() : 0;
    if (info->ptMaxTrackSize.x == -1) info->ptMaxTrackSize.x = work.right - work.left + 2 * b;
    if (info->ptMaxTrackSize.y == -1) info->ptMaxTrackSize.y = work.bottom - work.top + 2 * b;
    if (info->ptMaxPosition.x == -1) info->ptMaxPosition.x = work.left - b;
    if (info->ptMaxPosition.y == -1) info->ptMaxPosition.y = work.top - b;
}

// ---- screen snap -------------------------------------------------------------------

void TsSkinProvider::SnapToWorkArea(WINDOWPOS& p) const {
    if (!screenSnap_ || Maximized() || (p.flags & SWP_NOMOVE) || (p.x == 0 && p.y == 0)) return;
    const RECT work = WorkArea();
    MONITORINFO monitor{sizeof(monitor), {}, {}, 0};
    POINT m{0, 0};
    if (form_->HandleAllocated() && GetMonitorInfoW(MonitorFromWindow(form_->Handle(), MONITOR_DEFAULTTONEAREST), &monitor))
        m = {monitor.rcMonitor.left, monitor.rcMonitor.top};
    // An MDI child's position counts from its client window: the edges it snaps
    // to are the screen's all the same, so the rules see it on the screen.
    const POINT o = PositionOrigin(form_);
    int x = p.x + o.x, y = p.y + o.y;
    const int w = form_->Width(), h = form_->Height();
    if (std::abs(x + w - work.right) < snapBuffer_) x = work.right - w;
    if (std::abs(y + h - work.bottom) < snapBuffer_) y = work.bottom - h;
    if (std::abs(x + m.x - work.left) < snapBuffer_) x = work.left - m.x;
    if (std::abs(y + m.y - work.top) < snapBuffer_) y = work.top - m.y;
    p.x = x - o.x;
    p.y = y - o.y;
}

// ---- outline moving and sizing -----------------------------------------------------

bool TsSkinProvider::OutlineDragging() const { return Outline().OutlineActive && Outline().Provider == this; }

void TsSkinProvider::RecordOutlineHit(int code) {
    TOutlineState& s = Outline();
    // The code of the press that starts a drag; a running drag keeps its own.
    if (resizeMode_ == TResizeMode::rmBorder && !s.OutlineActive && (code == HTCAPTION || IsSizingCode(code)))
        s.OutlineHitCode = code;
}

bool TsSkinProvider::OutlinePress(TMessage& m) {
    if (resizeMode_ != TResizeMode::rmBorder || Outline().OutlineActive || Minimized()) return false;
    const int code = static_cast<int>(m.WParam);
    if (code != HTCAPTION && !IsSizingCode(code)) return false;   // buttons, icon and menu keep their own handling
    if (Maximized() && (code == HTCAPTION || WindowPoint(m.LParam).y <= FrameHeight() + CaptionHeight())) return false;
    SetHotButton(0);
    Outline().OutlineHitCode = code;
    Outline().FromPress = true;
    const bool move = !IsSizingCode(code);
    const POINT press{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    // The outline replaces the system's own move and size loop (which would wait for the release here).
    form_->Perform(WM_SYSCOMMAND, move ? SC_MOVE : SC_SIZE, MAKELPARAM(press.x, press.y));
    Outline().FromPress = false;
    m.Result = 0;
    return true;
}

bool TsSkinProvider::OutlineCommand(TMessage& m) {
    const WPARAM command = m.WParam & 0xFFF0;
    if (resizeMode_ != TResizeMode::rmBorder || Outline().OutlineActive || (command != SC_MOVE && command != SC_SIZE)) return false;
    POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (!Outline().FromPress) {   // from the system menu or the keyboard: the pointer is where the drag starts
        GetCursorPos(&screen);
        if (command == SC_SIZE) Outline().OutlineHitCode = 0;
    }
    StartOutline(command == SC_MOVE, screen);
    m.Result = 0;
    return true;
}

void TsSkinProvider::StartOutline(bool move, POINT screen) {
    TOutlineState& s = Outline();
    if (s.OutlineActive || !form_->HandleAllocated()) return;
    SetCapture(form_->Handle());
    s.OutlineActive = true;
    s.OutlineStarting = !move;
    s.OutlineIsMove = move;
    s.Provider = this;
    s.DesktopDC = GetDCEx(GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (s.DesktopDC) {
        s.SavedDC = SaveDC(s.DesktopDC);
        SetROP2(s.DesktopDC, R2_NOT);
        SelectObject(s.DesktopDC, GetStockObject(BLACK_PEN));
    }
    s.Rect = {form_->Left(), form_->Top(), form_->Left() + form_->Width(), form_->Top() + form_->Height()};
    s.StartRect = s.Rect;
    s.Anchor = screen;
    // Without a constraint the system's smallest tracking size holds, as it does for the system's own sizing.
    // An explicit constraint is the limit; the system's smallest tracking size
    // applies only where none is set.
    const auto limit = [](int constraint, int systemMetric) {
        return constraint > 0 ? constraint : GetSystemMetrics(systemMetric);
    };
    s.MinWidth = move ? 0 : limit(form_->Constraints().MinWidth(), SM_CXMINTRACK);
    s.MinHeight = move ? 0 : limit(form_->Constraints().MinHeight(), SM_CYMINTRACK);
    DrawOutline(s, form_);
}

void TsSkinProvider::TrackOutline(TMessage& m) {
    TOutlineState& s = Outline();
    if (!OutlineDragging()) return;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ClientToScreen(form_->Handle(), &p);
    if (s.OutlineStarting) {   // the first move after a size command only sets where the edges follow from
        s.OutlineStarting = false;
        s.Anchor = p;
        return;
    }
    DrawOutline(s, form_);   // erase
    const int dx = p.x - s.Anchor.x, dy = p.y - s.Anchor.y;
    if (s.OutlineIsMove) {
        OffsetRect(&s.Rect, dx, dy);
        s.Anchor = p;
    } else {
        // The edges follow the whole way from the anchor, so an edge held at the
        // minimum meets the pointer again where it left it.
        RECT r = s.StartRect;
        const int c = s.OutlineHitCode;
        const bool left = c == HTLEFT || c == HTTOPLEFT || c == HTBOTTOMLEFT;
        const bool right = c == HTRIGHT || c == HTTOPRIGHT || c == HTBOTTOMRIGHT;
        const bool top = c == HTTOP || c == HTTOPLEFT || c == HTTOPRIGHT;
        const bool bottom = c == HTBOTTOM || c == HTBOTTOMLEFT || c == HTBOTTOMRIGHT;
        if (left) r.left = std::min(r.left + dx, r.right - s.MinWidth);
        if (right) r.right = std::max(r.right + dx, r.left + s.MinWidth);
        if (top) r.top = std::min(r.top + dy, r.bottom - s.MinHeight);
        if (bottom) r.bottom = std::max(r.bottom + dy, r.top + s.MinHeight);
        s.Rect = r;
    }
    DrawOutline(s, form_);
}

void TsSkinProvider::EndOutline(bool apply) {
    TOutlineState& s = Outline();
    if (!OutlineDragging()) return;
    s.OutlineActive = false;   // first: releasing the capture sends messages that must not end it again
    if (GetCapture() == form_->Handle()) ReleaseCapture();
    DrawOutline(s, form_);   // erase
    if (s.DesktopDC) {
        RestoreDC(s.DesktopDC, s.SavedDC);
        ReleaseDC(GetDesktopWindow(), s.DesktopDC);
        s.DesktopDC = nullptr;
    }
    const bool sized = !s.OutlineIsMove && !s.OutlineStarting;
    const RECT r = s.Rect;
    s.Provider = nullptr;
    s.OutlineHitCode = 0;
    if (!apply) return;
    if (s.OutlineIsMove) form_->SetBounds(r.left, r.top, form_->Width(), form_->Height());
    else if (sized) form_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    form_->Repaint();
}

}  // namespace korvel

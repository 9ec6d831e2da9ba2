#include "gui/win_control.h"

#include <algorithm>
#include <unordered_map>

#include <windowsx.h>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/menus.h"
#include "gui/text.h"

namespace korvel {

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

namespace {

std::unordered_map<HWND, TWinControl*>& Windows() {
    // Never destroyed: windows may still be unbound while static objects go.
    static auto* windows = new std::unordered_map<HWND, TWinControl*>;
    return *windows;
}

// The control whose window of our own class is inside CreateWindowEx: its first
// messages arrive before CreateWindowEx returns the handle.
thread_local TWinControl* creatingControl = nullptr;

int nextChildId = 100;

void RegisterOwnClass(const TCreateParams& params) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, params.WinClassName.c_str(), &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = params.ClassStyle;
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassExW(&wc))
        throw EInvalidOperation(FormatText("Cannot register the window class %s: %s",
                                           {Narrow(params.WinClassName), SystemErrorMessage(GetLastError())}));
}

}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    TWinControl* control = TWinControl::FindControl(hwnd);
    if (!control && creatingControl) {
        control = creatingControl;
        creatingControl = nullptr;
        control->Bind(hwnd, false);
    }
    if (!control) return DefWindowProcW(hwnd, msg, wparam, lparam);
    if (msg == WM_DESTROY) control->text_ = control->GetText();   // the window takes its text with it
    TMessage message{msg, wparam, lparam, 0};
    {
        // An exception must never unwind through Win32's own frames: the
        // application's handler reports it and the message loop goes on.
        TDispatchScope scope;
        GuardedEntry([&] { control->Perform(message); });
        if (msg == WM_NCDESTROY) control->Unbind();
    }   // released forms may go here: Control is not used after this
    return message.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // The derived parts are gone: hooks they or others installed must not see the destruction messages.
    ResetWindowProc();
    Destroying();
    DestroyComponents();
    // Children owned elsewhere lose their parent; their windows go with ours.
    for (TControl* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
    // Leave the parent while still a windowed control, so it drops us from its tab order too.
    if (Parent()) Parent()->RemoveControl(this);
    DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND handle) {
    if (!handle) return nullptr;
    auto it = Windows().find(handle);
    return it == Windows().end() ? nullptr : it->second;
}

void TWinControl::Bind(HWND handle, bool systemClass) {
    handle_ = handle;
    Windows()[handle] = this;
    ++GdiCounters().Windows;
    if (systemClass)
        defWndProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
    else
        defWndProc_ = DefWindowProcW;
}

void TWinControl::Unbind() {
    if (!handle_) return;
    Windows().erase(handle_);
    handle_ = nullptr;
    captureControl_ = nullptr;
    --GdiCounters().Windows;
}

HWND TWinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = Widen(text_);
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) | (Enabled() ? 0 : WS_DISABLED) |
                   (tabStop_ ? WS_TABSTOP : 0);
    if (ControlStyle() & csAcceptsControls) params.Style |= WS_CLIPCHILDREN;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WinClassName = Widen(ClassName());
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent) {
        if (!Parent()) throw EInvalidOperation(FormatText("Control '%s' has no parent window", {Name()}));
        params.WndParent = Parent()->Handle();
        if (handle_) return;   // the parent created our window with its own
    }
    if (!params.SystemClass) RegisterOwnClass(params);
    SetControlState(ControlState() | csCreating);
    controlId_ = (params.Style & WS_CHILD) ? static_cast<UINT>(nextChildId++) : 0;
    HMENU id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId_));
    creatingControl = params.SystemClass ? nullptr : this;
    HWND created = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                   params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                                   GetModuleHandleW(nullptr), nullptr);
    creatingControl = nullptr;
    SetControlState(ControlState() & ~csCreating);
    if (!created) throw EInvalidOperation(FormatText("Error creating window: %s", {SystemErrorMessage(GetLastError())}));
    if (params.SystemClass) Bind(created, true);
    if (params.Style & WS_CHILD) SetWindowPos(created, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    HandleCreated();
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    if (MouseControl() == this) SetMouseControl(nullptr);
    // WM_NCDESTROY unbinds this window and every child window. An MDI child
    // leaves through its client window, which then activates the next one.
    HWND parent = GetParent(handle_);
    if ((GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD) && parent)
        SendMessageW(parent, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
    if (handle_) DestroyWindow(handle_);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    bool hadFocus = Focused();
    bool topLevel = !(GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD);
    bool wasVisible = IsWindowVisible(handle_);
    bool wasActive = GetActiveWindow() == handle_;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(handle_, &placement);
    DestroyHandle();
    SetControlState(ControlState() | csRecreating);
    try {
        CreateHandle();
    } catch (...) {
        SetControlState(ControlState() & ~csRecreating);
        throw;
    }
    SetControlState(ControlState() & ~csRecreating);
    if (topLevel) {
        // The new window stands where the old one stood (CreateParams took our
        // bounds, which follow the window); only a maximised or minimised window
        // needs its restored place back, and every shown one its state.
        WINDOWPLACEMENT fresh{};
        fresh.length = sizeof(fresh);
        GetWindowPlacement(handle_, &fresh);
        bool maximised = placement.showCmd == SW_SHOWMAXIMIZED;
        bool minimised = placement.showCmd == SW_SHOWMINIMIZED;
        if (maximised || minimised) fresh.rcNormalPosition = placement.rcNormalPosition;
        fresh.showCmd = !wasVisible ? SW_HIDE
                        : maximised ? SW_SHOWMAXIMIZED
                        : minimised ? SW_SHOWMINNOACTIVE
                        : wasActive ? SW_SHOWNORMAL
                                    : SW_SHOWNOACTIVATE;
        SetWindowPlacement(handle_, &fresh);
    } else if (wasVisible && !IsWindowVisible(handle_) && Visible()) {
        ShowWindow(handle_, SW_SHOWNA);
    }
    if (hadFocus) ::SetFocus(handle_);
    Perform(CM_RECREATEWND);
}

void TWinControl::WindowProcChanged() {
    // Win32 asks for the frame size only when told: the new chain may answer WM_NCCALCSIZE differently.
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::ChangeStyle(DWORD add, DWORD remove) {
    if (!handle_) return;
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(remove)) | static_cast<LONG_PTR>(add));
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(w);
        if (handle_) w->CreateHandle();
    } else {
        control->Invalidate();
    }
    control->ParentFontChanged();
    if (control->ParentColor()) control->SetParentColor(true);
    control->UpdateAnchorRules();
    if (control->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        control->Invalidate();
    }
    if (captureControl_ == control) captureControl_ = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
}

TControl* TWinControl::ControlAtPos(POINT client) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, client)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
    // A copy: an answering handler may change the children (it is the last one asked).
    std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        c->Perform(m);
        if (m.Result != 0) return;
    }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool resized = width != width_ || height != height_;
    TControl::SetBounds(left, top, width, height);
    if (handle_) SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    else if (resized) AlignControls();   // with a window, WM_SIZE does it
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, width_, height_};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::Invalidate() {
    // Under a hidden control (a page not shown, a hidden form) the window is
    // painted whole when it is shown: marking it now is a server call for nothing.
    if (handle_ && Showing()) InvalidateRect(handle_, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

std::string TWinControl::GetText() const {
    if (!handle_) return text_;
    int length = GetWindowTextLengthW(handle_);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(handle_, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(got));
    return Narrow(buffer);
}

void TWinControl::SetTextValue(const std::string& value) {
    if (value == GetText()) return;
    text_ = value;
    if (handle_) {
        SetWindowTextW(handle_, Widen(value).c_str());
        Invalidate();
    }
    Perform(CM_TEXTCHANGED);
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
    else if (Visible() && Parent() && Parent()->HandleAllocated()) CreateHandle();
    if (MouseControl() == this && !Visible()) SetMouseControl(nullptr);
}

void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::FontChanged() {
    // A new colour keeps the handle the window has: WM_SETFONT would only make
    // it lay out and redraw its text again (the Invalidate below repaints it).
    if (handle_ && !Font().ChangeKeepsHandle()) {
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    }
    for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED);
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED);
    Invalidate();
}

HBRUSH TWinControl::ColorBrush() {
    if (brush_.Color() != Color()) brush_.SetColor(Color());
    return brush_.Handle();
}

void TWinControl::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    ::FillRect(dc, &r, ColorBrush());
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || c->Width() < 1 || c->Height() < 1) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        int saved = SaveDC(dc);
        POINT origin;
        GetWindowOrgEx(dc, &origin);
        SetWindowOrgEx(dc, origin.x - r.left, origin.y - r.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::OnPaint(TMessage& m) {
    PAINTSTRUCT ps{};
    // Set before BeginPaint: the WM_ERASEBKGND it sends then knows that the paint covers every pixel.
    SetControlState(ControlState() | csCustomPaint);
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(handle_, &ps);
    struct TEndPaint {
        TWinControl* self;
        PAINTSTRUCT* ps;
        bool own;
        ~TEndPaint() {
            self->SetControlState(self->ControlState() & ~csCustomPaint);
            if (own) EndPaint(self->handle_, ps);
        }
    } guard{this, &ps, m.WParam == 0};
    PaintWindow(dc);
    PaintControls(dc);
}

void TWinControl::OnEraseBackground(TMessage& m) {
    m.Result = 1;
    // Our own paint covers every pixel; anyone else asking (a child drawing its
    // parent's background, RedrawWindow with RDW_ERASENOW) gets the colour.
    if (ControlState() & csCustomPaint) return;
    RECT r = ClientRect();
    ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
}

void TWinControl::OnCancelMode(TMessage& m) {
    if (GetCapture() == handle_) ReleaseCapture();   // WM_CAPTURECHANGED tells the windowless child
    Perform(CM_CANCELMODE);
    TControl::WndProc(m);
}

void TWinControl::OnCaptureChanged(TMessage& m) {
    // Someone took the mouse (a message box, a menu, another window): a press
    // in progress is over, and the pointer goes to whatever lies under it again.
    TControl* lost = captureControl_;
    captureControl_ = nullptr;
    if (lost) lost->Perform(CM_CANCELMODE);
    if (reinterpret_cast<HWND>(m.LParam) != handle_ && (ControlState() & csLButtonDown)) Perform(CM_CANCELMODE);
    TControl::WndProc(m);
}

void TWinControl::OnSysColorChange(TMessage& m) {
    brush_.SetColor(Color());   // a system colour's brush was made from the old value
    // Win32 tells top-level windows only; native children keep colours of their own too.
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_) SendMessageW(w->handle_, m.Msg, m.WParam, m.LParam);
    Invalidate();
    TControl::WndProc(m);
}

void TWinControl::OnCtlColor(TMessage& m) {
    auto dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    m.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

void TWinControl::TrackMouse(TMessage& m) {
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
    SetMouseControl(target ? target : this);
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
}

void TWinControl::RouteMouse(TMessage& m) {
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
    if (!target || (!target->Enabled() && !captureControl_)) return TControl::WndProc(m);
    // A child without csDoubleClicks gets the second press of a double-click as a plain press.
    UINT msg = m.Msg == WM_LBUTTONDBLCLK && !(target->ControlStyle() & csDoubleClicks) ? WM_LBUTTONDOWN : m.Msg;
    TMessage routed{msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()), 0};
    // The second press of a double-click holds the mouse like the first, until the release.
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        SetCapture(handle_);
        captureControl_ = target;
    }
    target->Perform(routed);
    // Win32 makes WM_CONTEXTMENU of the window's own right-button release: the
    // window then finds the windowless control's pop-up menu itself.
    if (m.Msg == WM_RBUTTONUP) DefaultHandler(m);
    if (m.Msg == WM_LBUTTONUP && captureControl_) {
        captureControl_ = nullptr;
        ReleaseCapture();
    }
    m.Result = routed.Result;
}

void TWinControl::OnSetCursor(TMessage& m) {
    if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
        POINT p;
        GetCursorPos(&p);
        TControl* target = ControlAtPos(ScreenToClient(p));
        TCursor cursor = (target ? target : this)->Cursor();
        if (cursor != crDefault) {
            ::SetCursor(CursorHandle(cursor));
            m.Result = TRUE;
            return;
        }
    }
    TControl::WndProc(m);
}

TWinControl* TWinControl::ChildById(UINT id) const {
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->controlId_ == id) return w;
    return nullptr;
}

void TWinControl::OnContextMenu(TMessage& m) {
    // (-1, -1): from the keyboard (Shift+F10, the menu key); the menu opens at the client origin.
    POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    bool keyboard = screen.x == -1 && screen.y == -1;
    TControl* target = keyboard ? nullptr : ControlAtPos(ScreenToClient(screen));
    if (!target || !target->PopupMenu()) target = this;
    TPopupMenu* menu = target->PopupMenu();
    if (!menu || !menu->AutoPopup()) return TControl::WndProc(m);   // Win32 asks the parent window next
    if (keyboard) screen = target->ClientToScreen({0, 0});
    menu->SetPopupComponent(target);
    m.Result = 1;
    menu->Popup(screen.x, screen.y);
}

bool TWinControl::ReflectNotification(TMessage& m) {
    TWinControl* child = nullptr;
    switch (m.Msg) {
    case WM_NOTIFY:
        child = FindControl(reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom);
        break;
    case WM_DRAWITEM: {   // menu items are the menu owner's, not a child's
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        if (item->CtlType != ODT_MENU) child = FindControl(item->hwndItem);
        break;
    }
    case WM_MEASUREITEM: {   // may come while the child's CreateWindowEx runs, before its handle is known
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(m.LParam);
        if (item->CtlType != ODT_MENU) child = ChildById(item->CtlID);
        break;
    }
    default:   // WM_COMMAND, WM_HSCROLL, WM_VSCROLL, WM_CTLCOLOR*: the child's window in LParam
        child = FindControl(reinterpret_cast<HWND>(m.LParam));
        break;
    }
    if (!child || child == this) return false;
    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    // A colour request the child leaves unanswered gets the system's colours.
    bool colour = m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC;
    return !(colour && m.Result == 0);
}

void TWinControl::WndProc(TMessage& m) {
    bool ownClass = defWndProc_ == DefWindowProcW;
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:    // WParam: the DC to draw into (PrintWindow, a child drawing our background)
        if (ownClass) return OnPaint(m);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        if (OnKeyMessage(m)) return;
        break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        m.Result = IsMenuKey(static_cast<WORD>(m.WParam)) ? 1 : 0;
        for (TWinControl* p = Parent(); m.Result == 0 && m.Msg == CN_KEYDOWN && p; p = p->Parent())
            m.Result = p->Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this));
        return;
    case WM_CONTEXTMENU:    return OnContextMenu(m);
    case WM_GETMINMAXINFO:  return OnGetMinMaxInfo(m);
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        if (DispatchMenuMessage(m)) return;   // an item of one of our menus
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        // An item of one of our menus, else a child's own drawing.
        if (DispatchMenuMessage(m) || ReflectNotification(m)) return;
        break;
    case WM_ERASEBKGND:
        if (ownClass) return OnEraseBackground(m);
        break;
    case WM_COMMAND:
        if (m.LParam == 0 && DispatchMenuMessage(m)) return;   // from a menu or an accelerator
        [[fallthrough]];
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (ReflectNotification(m)) return;
        break;
    case WM_CANCELMODE:     return OnCancelMode(m);
    case WM_CAPTURECHANGED: return OnCaptureChanged(m);
    case WM_SYSCOLORCHANGE: return OnSysColorChange(m);
    case WM_MOUSEMOVE:
        TrackMouse(m);
        return RouteMouse(m);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return RouteMouse(m);
    case WM_MOUSELEAVE:
        if (TControl* mc = MouseControl(); mc == this || (mc && mc->Parent() == this && !dynamic_cast<TWinControl*>(mc)))
            SetMouseControl(nullptr);
        break;
    case WM_SETCURSOR:      return OnSetCursor(m);
    case WM_SETFOCUS: {
        Perform(CM_ENTER);
        TControl* top = this;
        while (top->Parent()) top = top->Parent();
        top->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
        break;
    }
    case WM_KILLFOCUS:      Perform(CM_EXIT); break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Broadcast(m);
        if (m.Result != 0) return;
        break;
    case WM_SIZE:           AlignControls(); break;
    case WM_WINDOWPOSCHANGED: {
        RECT r;
        GetWindowRect(handle_, &r);
        if (HWND parent = (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr)
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        left_ = r.left;
        top_ = r.top;
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        BoundsChanged();
        break;
    }
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSTATIC: return OnCtlColor(m);   // a scroll bar keeps the system's colours
    }
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!handle_ || IsFrameworkMessage(m.Msg)) return;
    m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

}  // namespace korvel

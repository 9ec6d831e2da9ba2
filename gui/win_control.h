#pragma once
// TWinControl: a control with a window of its own, created on demand. Native
// Win32 controls are subclassed, so every message they receive passes through
// the control's window procedure slot before the original Win32 procedure.
#include <string>
#include <vector>

#include "gui/control.h"

namespace korvel {

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // A system class ("BUTTON", "EDIT") is created and subclassed; any other
    // name is registered as a class of our own.
    std::wstring WinClassName;
    bool SystemClass = false;
    UINT ClassStyle = CS_DBLCLKS;
};

// Whether Caption marks Key as its accelerator ("&Save" for S, compared
// without regard to case; "&&" is a literal ampersand).
bool IsAccel(UINT key, const std::string& caption);

// Key may be changed by the handler; 0 swallows the key (the control's own
// Win32 handling never sees it).
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    // The window handle, created (with the parent's) on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // Destroys and creates the window again (styles that Win32 fixes at creation).
    // A shown window is shown again; a top-level window keeps its place, size,
    // maximised or minimised state and activation.
    void RecreateWnd();

    // Children (windowed and windowless), in index order.
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    // The visible, enabled windowless child at a client point, or nullptr.
    TControl* ControlAtPos(POINT client) const;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const;
    // While loading, the value is only kept: the siblings that come later are
    // not there yet. ApplyStoredTabOrders puts them in place once they are.
    void SetTabOrder(int value);
    // Gives each windowed child whose tab order was set while loading that
    // place among its siblings; the others fill the free places in their
    // present order. A stored place outside the list, or one already taken,
    // counts as none.
    void ApplyStoredTabOrders();
    // Windowed descendants in tab order (depth first).
    std::vector<TWinControl*> TabOrderList() const;
    // Moves the focus to the next (or previous) tab stop after Current; false when there is none.
    // SiblingsOnly keeps to the direct children (the arrow keys' moves).
    bool SelectNext(TWinControl* current, bool forward, bool siblingsOnly = false);

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void Invalidate() override;
    void Update() override;

    // While alignment is disabled (the calls nest), moving children aligns
    // nothing; enabling it again aligns the children once.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    bool AlignDisabled() const { return alignDisabled_ > 0; }
    // Where the aligned children's area starts, relative to the client origin:
    // a scrolled control's content starts above or left of it.
    POINT AlignOrigin() const { return alignOrigin_; }
    void SetAlignOrigin(POINT origin) { alignOrigin_ = origin; }

    // Paints the windowless children into DC (a DC of this window's client area).
    void PaintControls(HDC dc);

    // Passes a message to every child (windowed and windowless) in index order
    // until one answers with Result != 0.
    void Broadcast(TMessage& message);

    // The control that owns a window handle, or nullptr.
    static TWinControl* FindControl(HWND handle);

    // Keys reaching the control (WM_KEYDOWN and WM_SYSKEYDOWN, WM_KEYUP and
    // WM_SYSKEYUP, WM_CHAR).
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    std::string GetText() const override;
    void SetTextValue(const std::string& value) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void WindowProcChanged() override;

    // A window with WS_CHILD goes into the parent control's window, unless
    // WndParent already names another (an MDI child in its frame's client window).
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateHandle();
    // After the window exists: the place to send settings Win32 keeps in the window.
    virtual void HandleCreated() {}
    // Paints the client area of a window of our own class (not of a native control).
    virtual void PaintWindow(HDC dc);
    void AlignControls();
    // Told after AlignControls of the client area the aligned children left free.
    virtual void ClientAreaAligned(const RECT& rest) { (void)rest; }
    // Keeps children anchored to the right or bottom at their distances from those edges.
    void AnchorControls();
    HBRUSH ColorBrush();
    // Style bits the window must carry now (for controls that change them at run time).
    void ChangeStyle(DWORD add, DWORD remove);
    // Key input; the defaults raise the events. Setting Key to 0 swallows it.
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    // A key press is a shortcut of a pop-up menu of this control or a parent,
    // or of the form's menu: its item was clicked.
    bool IsMenuKey(WORD key);

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void RouteMouse(TMessage& message);
    void TrackMouse(TMessage& message);
    bool ReflectNotification(TMessage& message);
    void OnPaint(TMessage& message);
    void OnEraseBackground(TMessage& message);
    void OnCancelMode(TMessage& message);
    void OnCaptureChanged(TMessage& message);
    void OnSysColorChange(TMessage& message);
    void OnCtlColor(TMessage& message);
    TWinControl* ChildById(UINT id) const;
    void OnSetCursor(TMessage& message);
    // True when the key was swallowed.
    bool OnKeyMessage(TMessage& message);
    void OnContextMenu(TMessage& message);
    void OnGetMinMaxInfo(TMessage& message);
    void Bind(HWND handle, bool systemClass);
    void Unbind();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    UINT controlId_ = 0;   // a child window's id, known before the window exists
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    TControl* captureControl_ = nullptr;
    bool tabStop_ = false;
    int storedTabOrder_ = -1;   // set while loading; -1: none
    int alignDisabled_ = 0;
    POINT alignOrigin_{0, 0};
    TBrush brush_;
};

}  // namespace korvel

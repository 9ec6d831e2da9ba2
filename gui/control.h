#pragma once
// TControl: the base of everything visible. A parent tree (separate from the
// owner tree), bounds, visibility, colour, font, alignment, control style and
// state, and the window procedure slot every message passes through.
#include <functional>
#include <memory>
#include <string>

#include "gui/component.h"
#include "gui/graphics.h"
#include "gui/messages.h"

namespace korvel {

class TAction;
class TWinControl;
class TPopupMenu;
LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

// Modifier keys and mouse buttons held during an input event.
enum TShiftStateFlag : std::uint8_t {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,   // the press is the second of a double click
};
using TShiftState = std::uint8_t;
// The modifier keys held now.
TShiftState KeyboardShiftState();
// A mouse message's key flags (MK_*), with Alt from the keyboard.
TShiftState MouseShiftState(WPARAM keys);

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// X and Y are client coordinates of the control the event is raised for.
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

// What a modal form answers (ShowModal) and a button sets on its form.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

// The smallest and largest outer size a control may take (0: no limit).
// Applied by SetBounds and, for a top-level window, to the user's sizing.
class TSizeConstraints : public TPersistent {
public:
    std::string ClassName() const override { return "TSizeConstraints"; }
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    // Each throws EInvalidOperation for a negative value. A maximum below the
    // minimum lowers the minimum with it, and the other way round.
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);
    // Width and height moved inside the limits.
    void Apply(int& width, int& height) const;
    void Assign(const TPersistent& source) override;
    std::function<void()> OnChange;

private:
    void Set(int& field, int value, int& other, bool isMax);
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;

enum TControlStyleFlag : std::uint32_t {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csClickEvents = 1u << 2,     // a left press and release inside the control is a click
    csOpaque = 1u << 3,          // the control paints every pixel of its area
    csSetCaption = 1u << 4,
    csDoubleClicks = 1u << 5,
    csParentBackground = 1u << 6,  // opt-in: with visual styles on, the parent's themed background shows through
};
using TControlStyle = std::uint32_t;

enum TControlStateFlag : std::uint32_t {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csCreating = 1u << 2,        // the window handle is being created
    csCustomPaint = 1u << 3,     // the control is painting itself (and its windowless children)
    csFocusing = 1u << 4,
    csRecreating = 1u << 5,      // RecreateWnd is creating the window again
};
using TControlState = std::uint32_t;

// Whether the desktop draws controls with visual styles (themes) for this program.
bool ThemeServicesEnabled();

enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Cursor identifiers (0 = the parent's / class cursor).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crHSplit = -14;   // the splitters' sizing arrows
constexpr TCursor crVSplit = -15;
HCURSOR CursorHandle(TCursor cursor);

// A window procedure as a value: a control's own, or another object's method.
using TWndMethod = std::function<void(TMessage&)>;

class TControl;
struct TWndHookNode;

// What a hook calls for a message it passes on: the next hook in the chain, and
// after the last one the control's own WndProc. Valid during the hook's call.
class TWndNext {
public:
    void operator()(TMessage& message) const;

private:
    friend class TControl;
    TWndNext(TControl* control, const TWndHookNode* node) : control_(control), node_(node) {}
    TControl* control_;
    const TWndHookNode* node_;
};

// A hook's procedure: handles the message, or passes it on through Next.
using TWndHook = std::function<void(TMessage& message, const TWndNext& next)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    std::string ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // The client origin relative to the parent's client origin (windowless children: their bounds).
    POINT ClientOrigin() const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to the top visible.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState value) { controlState_ = value; }

    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value);
    bool UseRightToLeftReading() const { return biDiMode_ != TBiDiMode::bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return biDiMode_ == TBiDiMode::bdRightToLeft; }

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    // The text of a control: a caption for buttons, labels, panels and forms.
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value) { SetTextValue(value); }
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetTextValue(value); }

    TSizeConstraints& Constraints() { return constraints_; }

    // The menu shown on a right click, Shift+F10 or the menu key over the
    // control (WM_CONTEXTMENU); forgotten when it is freed.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* value);
    // The action the control shows and runs (see gui/actions.h): linking takes
    // its caption, enabled and visible state at once and follows their changes.
    TAction* Action() const { return action_; }
    void SetAction(TAction* value);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }

    // The window procedure slot: a chain of hooks in front of the control's own
    // WndProc. Each hook belongs to an owner (any object's address); the latest
    // hook sees a message first and calls Next for what it passes on. An owner
    // removes only its own hook, wherever it sits in the chain, so hooks may go
    // in any order. A control that already has its window recomputes its frame
    // (WM_NCCALCSIZE) under the changed chain. One hook per owner: hooking
    // twice throws EInvalidOperation.
    void HookWindowProc(const void* owner, TWndHook hook);
    // False when Owner has no hook here (any more).
    bool UnhookWindowProc(const void* owner);
    bool WindowProcHooked(const void* owner) const;
    // The owner of the hook that sees messages first, nullptr without hooks.
    const void* OutermostWindowHook() const;
    // Sends a message record straight through the slot; the record comes back
    // with whatever the receivers wrote into LParam or Result.
    LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
    void Perform(TMessage& message);

    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void BringToFront();

    // Runs OnClick when the control has one, else executes its action.
    virtual void Click();
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    // Raised for windowed and windowless controls alike (a windowless control
    // gets the messages of the pointer over it from its parent).
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Live controls, for leak checks.
    static int LiveControls();

    // The control under the mouse as the framework tracks it (enter/leave).
    static TControl* MouseControl();
    // Moves the tracked mouse control, sending CM_MOUSELEAVE and CM_MOUSEENTER.
    static void SetMouseControl(TControl* control);

protected:
    // The control's own procedure; ends in DefaultHandler.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    virtual std::string GetText() const { return text_; }
    virtual void SetTextValue(const std::string& value);
    // The colour and font changed (after the notification): repaint, tell children.
    virtual void ColorChanged();
    virtual void FontChanged();
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void ParentFontChanged();
    virtual void BoundsChanged() {}
    // The hook chain changed (a windowed control recomputes its frame).
    virtual void WindowProcChanged() {}
    // Drops every hook: a control being destroyed gets its messages in its own WndProc only.
    void ResetWindowProc() { hooks_.reset(); }
    // Mouse input in client coordinates; the defaults raise the events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DblClick();
    // The linked action's properties changed (or the link was made): the
    // control takes Caption, Hint, Enabled and Visible from it.
    virtual void ActionChanged(const TAction& action);
    void Notification(TComponent* component, TOperation operation) override;
    bool IsLoading() const { return InState(csLoading); }
    void Loaded() override;
    // Remembers the distances to the parent's right and bottom edges that anchors keep.
    void UpdateAnchorRules();

    std::string text_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

private:
    void OnFontObjectChanged();
    void OnMouseButton(TMessage& message);
    void OnMouseInput(TMessage& message);

    TWinControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool fontFromParent_ = false;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = akLeft | akTop;
    int anchorRight_ = 0;      // parent client width minus our right edge, when last placed by code
    int anchorBottom_ = 0;
    bool anchoring_ = false;   // bounds set by the parent's anchoring: the distances stay
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState controlState_ = 0;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    TCursor cursor_ = crDefault;
    std::string hint_;
    int tag_ = 0;
    std::shared_ptr<TWndHookNode> hooks_;   // the outermost first
    TSizeConstraints constraints_;
    TPopupMenu* popupMenu_ = nullptr;
    TAction* action_ = nullptr;

    void CallHooks(const std::shared_ptr<TWndHookNode>& node, TMessage& message);

    friend class TAction;   // tells its clients of its changes
    friend class TWndNext;
    friend class TWinControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace korvel

#include "gui/control.h"

#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>

#include "gui/actions.h"
#include "gui/exceptions.h"
#include "gui/menus.h"
#include "gui/win_control.h"

namespace korvel {
namespace {

int liveControls = 0;
TControl* mouseControl = nullptr;

}  // namespace

TShiftState KeyboardShiftState() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) & 0x8000) shift |= ssAlt;
    return shift;
}

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState shift = (GetKeyState(VK_MENU) & 0x8000) ? ssAlt : 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    return shift;
}

void TSizeConstraints::Set(int& field, int value, int& other, bool isMax) {
    if (value < 0) throw EInvalidOperation("A size constraint cannot be negative");
    if (value == field) return;
    field = value;
    // A maximum below the minimum (or a minimum above the maximum) takes the other along.
    if (value > 0 && other > 0 && (isMax ? other > value : other < value)) other = value;
    if (OnChange) OnChange();
}

void TSizeConstraints::SetMinWidth(int value) { Set(minWidth_, value, maxWidth_, false); }
void TSizeConstraints::SetMinHeight(int value) { Set(minHeight_, value, maxHeight_, false); }
void TSizeConstraints::SetMaxWidth(int value) { Set(maxWidth_, value, minWidth_, true); }
void TSizeConstraints::SetMaxHeight(int value) { Set(maxHeight_, value, minHeight_, true); }

void TSizeConstraints::Apply(int& width, int& height) const {
    if (maxWidth_ > 0) width = std::min(width, maxWidth_);
    if (maxHeight_ > 0) height = std::min(height, maxHeight_);
    if (minWidth_ > 0) width = std::max(width, minWidth_);
    if (minHeight_ > 0) height = std::max(height, minHeight_);
}

void TSizeConstraints::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TSizeConstraints*>(&source);
    if (!other) return TPersistent::Assign(source);
    minWidth_ = other->minWidth_;
    minHeight_ = other->minHeight_;
    maxWidth_ = other->maxWidth_;
    maxHeight_ = other->maxHeight_;
    if (OnChange) OnChange();
}

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
    case crArrow:     return LoadCursorW(nullptr, IDC_ARROW);
    case crIBeam:     return LoadCursorW(nullptr, IDC_IBEAM);
    case crHandPoint: return LoadCursorW(nullptr, IDC_HAND);
    case crHSplit:    return LoadCursorW(nullptr, IDC_SIZEWE);
    case crVSplit:    return LoadCursorW(nullptr, IDC_SIZENS);
    }
    return nullptr;
}

struct TWndHookNode {
    const void* Owner;
    TWndHook Hook;
    // Kept by a node that leaves the chain, so a call running in it still reaches the rest.
    std::shared_ptr<TWndHookNode> Next;
};

TControl::TControl(TComponent* owner) : TComponent(owner) {
    ++liveControls;
    font_.OnChange = [this] { OnFontObjectChanged(); };
    constraints_.OnChange = [this] { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl() {
    ResetWindowProc();
    Destroying();
    SetPopupMenu(nullptr);
    SetAction(nullptr);
    if (mouseControl == this) mouseControl = nullptr;
    DestroyComponents();
    if (parent_) parent_->RemoveControl(this);
    --liveControls;
}

int TControl::LiveControls() { return liveControls; }

TControl* TControl::MouseControl() { return mouseControl; }

void TControl::SetMouseControl(TControl* control) {
    if (control == mouseControl) return;
    TControl* previous = mouseControl;
    mouseControl = control;
    if (previous) previous->Perform(CM_MOUSELEAVE);
    // The leave handler may itself have moved the tracking; only the latest target is told.
    if (control && mouseControl == control) control->Perform(CM_MOUSEENTER);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    constraints_.Apply(width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool visibleOnParent = parent_ && visible_ && !dynamic_cast<TWinControl*>(this);
    if (visibleOnParent) Invalidate();   // the old place
    left_ = left;
    top_ = top;
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    if (visibleOnParent) Invalidate();   // the new place
    if (!anchoring_) UpdateAnchorRules();
    BoundsChanged();
    if (parent_ && align_ != TAlign::alNone) parent_->AlignControls();
    // A scrolling parent measures its content again.
    if (parent_) parent_->Perform(CM_CHILDBOUNDSCHANGED, 0, reinterpret_cast<LPARAM>(this));
}

POINT TControl::ClientOrigin() const {
    POINT p{left_, top_};
    return p;
}

POINT TControl::ClientToScreen(POINT p) const {
    if (auto* self = dynamic_cast<const TWinControl*>(this); self && self->HandleAllocated()) {
        ::ClientToScreen(const_cast<TWinControl*>(self)->Handle(), &p);
        return p;
    }
    if (!parent_) return p;
    return parent_->ClientToScreen({p.x + left_, p.y + top_});
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    VisibleChanged();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
}

void TControl::VisibleChanged() {
    if (mouseControl == this && !visible_) SetMouseControl(nullptr);
    if (parent_) parent_->Invalidate();
}

void TControl::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
}

void TControl::EnabledChanged() { Invalidate(); }

void TControl::SetColor(TColor value) {
    parentColor_ = false;
    if (value == color_) return;
    color_ = value;
    ColorChanged();
    Perform(CM_COLORCHANGED);
}

void TControl::ColorChanged() { Invalidate(); }

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value && parent_ && parent_->Color() != color_) {
        color_ = parent_->Color();
        ColorChanged();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::OnFontObjectChanged() {
    if (!fontFromParent_) parentFont_ = false;
    FontChanged();
    Perform(CM_FONTCHANGED);
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    fontFromParent_ = true;
    font_.Assign(parent_->Font());
    fontFromParent_ = false;
}

void TControl::SetAlign(TAlign value) {
    if (value == align_) return;
    align_ = value;
    if (parent_) parent_->AlignControls();
}

void TControl::SetAnchors(TAnchors value) {
    anchors_ = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!parent_) return;
    RECT client = parent_->ClientRect();
    anchorRight_ = client.right - (left_ + width_);
    anchorBottom_ = client.bottom - (top_ + height_);
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
}

void TControl::SetBiDiMode(TBiDiMode value) {
    if (value == biDiMode_) return;
    biDiMode_ = value;
    Perform(CM_BIDIMODECHANGED, 0, 0);
    Invalidate();
}

void TControl::SetCursor(TCursor value) {
    if (value == cursor_) return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetTextValue(const std::string& value) {
    if (value == GetText()) return;
    text_ = value;
    Invalidate();
    Perform(CM_TEXTCHANGED);
}

void TControl::HookWindowProc(const void* owner, TWndHook hook) {
    if (!owner || !hook) throw EInvalidOperation("A window procedure hook needs an owner and a procedure");
    if (WindowProcHooked(owner)) throw EInvalidOperation("The window procedure is already hooked by this owner");
    hooks_ = std::make_shared<TWndHookNode>(TWndHookNode{owner, std::move(hook), hooks_});
    WindowProcChanged();
}

bool TControl::UnhookWindowProc(const void* owner) {
    for (std::shared_ptr<TWndHookNode>* link = &hooks_; *link; link = &(*link)->Next) {
        if ((*link)->Owner != owner) continue;
        *link = (*link)->Next;
        WindowProcChanged();
        return true;
    }
    return false;
}

bool TControl::WindowProcHooked(const void* owner) const {
    for (const TWndHookNode* node = hooks_.get(); node; node = node->Next.get())
        if (node->Owner == owner) return true;
    return false;
}

const void* TControl::OutermostWindowHook() const { return hooks_ ? hooks_->Owner : nullptr; }

void TControl::CallHooks(const std::shared_ptr<TWndHookNode>& node, TMessage& message) {
    if (!node) return WndProc(message);
    std::shared_ptr<TWndHookNode> running = node;   // alive while its hook runs, even if unhooked meanwhile
    running->Hook(message, TWndNext(this, running.get()));
}

void TWndNext::operator()(TMessage& message) const { control_->CallHooks(node_->Next, message); }

void TControl::Perform(TMessage& message) { CallHooks(hooks_, message); }

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
    TMessage message{msg, wparam, lparam, 0};
    Perform(message);
    return message.Result;
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, !(controlStyle_ & csOpaque));
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
        SetWindowPos(self->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
    else if (action_) action_->Execute();
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    if (value == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TControl::SetAction(TAction* value) {
    if (value == action_) return;
    if (action_) action_->RemoveClient(this);
    action_ = value;
    if (value) {
        value->AddClient(this);
        ActionChanged(*value);
    }
}

void TControl::ActionChanged(const TAction& action) {
    SetCaption(action.Caption());
    SetHint(action.Hint());
    SetEnabled(action.Enabled());
    SetVisible(action.Visible());
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == popupMenu_) popupMenu_ = nullptr;
    if (component == action_) action_ = nullptr;
}

void TControl::OnMouseInput(TMessage& m) {
    struct TButtonMessage {
        UINT Msg;
        TMouseButton Button;
        bool Down;
        bool Double;
    };
    static constexpr TButtonMessage kButtons[] = {
        {WM_LBUTTONDOWN, TMouseButton::mbLeft, true, false},   {WM_LBUTTONUP, TMouseButton::mbLeft, false, false},
        {WM_LBUTTONDBLCLK, TMouseButton::mbLeft, true, true},  {WM_RBUTTONDOWN, TMouseButton::mbRight, true, false},
        {WM_RBUTTONUP, TMouseButton::mbRight, false, false},   {WM_RBUTTONDBLCLK, TMouseButton::mbRight, true, true},
        {WM_MBUTTONDOWN, TMouseButton::mbMiddle, true, false}, {WM_MBUTTONUP, TMouseButton::mbMiddle, false, false},
        {WM_MBUTTONDBLCLK, TMouseButton::mbMiddle, true, true},
    };
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = MouseShiftState(m.WParam);
    if (m.Msg == WM_MOUSEMOVE) return MouseMove(shift, x, y);
    for (const auto& b : kButtons) {
        if (b.Msg != m.Msg) continue;
        if (b.Double && b.Button == TMouseButton::mbLeft) DblClick();
        if (b.Down) MouseDown(b.Button, shift | (b.Double ? ssDouble : 0), x, y);
        else MouseUp(b.Button, shift, x, y);
        return;
    }
}

void TControl::OnMouseButton(TMessage& m) {
    // Clicks of windowless controls and of our own windows: a press and a
    // release both inside the control.
    if (!(controlStyle_ & csClickEvents)) return;
    if (m.Msg == WM_LBUTTONDOWN) {
        controlState_ |= csClicked | csLButtonDown;
        return;
    }
    bool wasClicked = controlState_ & csClicked;
    controlState_ &= ~(csClicked | csLButtonDown);
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    RECT client = ClientRect();
    if (wasClicked && PtInRect(&client, p)) Click();
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
        // Without csDoubleClicks the second press of a double-click is a plain press.
        if (controlStyle_ & csDoubleClicks) {
            OnMouseInput(m);
            break;
        }
        m.Msg = WM_LBUTTONDOWN;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:      OnMouseButton(m); OnMouseInput(m); break;
    case CM_CANCELMODE:     controlState_ &= ~(csClicked | csLButtonDown); break;
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:  OnMouseInput(m); break;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); break;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_) SetParentColor(true);
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

bool ThemeServicesEnabled() { return IsAppThemed() && IsThemeActive(); }

}  // namespace korvel

#include "gui/control.h"

#include <uxtheme.h>

#include "gui/exceptions.h"
#include "gui/win_control.h"

namespace korvel {
namespace {

int liveControls = 0;
TControl* mouseControl = nullptr;

}  // namespace

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
    case crArrow:     return LoadCursorW(nullptr, IDC_ARROW);
    case crIBeam:     return LoadCursorW(nullptr, IDC_IBEAM);
    case crHandPoint: return LoadCursorW(nullptr, IDC_HAND);
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
}

TControl::~TControl() {
    ResetWindowProc();
    Destroying();
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
        if (controlStyle_ & csDoubleClicks) break;
        m.Msg = WM_LBUTTONDOWN;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:      OnMouseButton(m); break;
    case CM_CANCELMODE:     controlState_ &= ~(csClicked | csLButtonDown); break;
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

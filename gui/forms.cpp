#include "gui/forms.h"

#include <algorithm>
#include <vector>

#include "gui/application.h"
#include "gui/definition_reader.h"
#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {
namespace {

std::vector<TForm*>& FormList() {
    static auto* forms = new std::vector<TForm*>;
    return *forms;
}

}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    icon_.OnChange = [this] { ApplyIcon(); };
    FormList().push_back(this);
}

TForm::~TForm() {
    Destroying();
    DestroyComponents();
    auto& forms = FormList();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

int TForm::FormCount() { return static_cast<int>(FormList().size()); }

TForm* TForm::Forms(int index) { return FormList().at(static_cast<size_t>(index)); }

void TForm::ReadDefinition(const std::string& text, HMODULE module) { ReadComponentDefinition(*this, text, module); }

void TForm::ReadDefinitionResource(HMODULE module, const std::string& resourceName) {
    HRSRC found = FindResourceW(module, Widen(resourceName).c_str(), MAKEINTRESOURCEW(10));   // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EInvalidOperation(FormatText("Window definition resource %s not found", {resourceName}));
    ReadDefinition(std::string(static_cast<const char*>(data), SizeofResource(module, found)), module);
}

void TForm::FrameStyles(DWORD& style, DWORD& exStyle) const {
    style = WS_CLIPCHILDREN;
    exStyle = 0;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:        style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle:      style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable:    style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog:      style |= WS_POPUP | WS_CAPTION; exStyle |= WS_EX_DLGMODALFRAME; break;
    case TFormBorderStyle::bsToolWindow:  style |= WS_CAPTION; exStyle |= WS_EX_TOOLWINDOW; break;
    case TFormBorderStyle::bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; exStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu)) {
        style |= WS_SYSMENU;
        bool dialogLike = borderStyle_ == TFormBorderStyle::bsDialog || borderStyle_ == TFormBorderStyle::bsToolWindow ||
                          borderStyle_ == TFormBorderStyle::bsSizeToolWin;
        if (!dialogLike && (borderIcons_ & biMinimize)) style |= WS_MINIMIZEBOX;
        if (!dialogLike && (borderIcons_ & biMaximize)) style |= WS_MAXIMIZEBOX;
        if ((borderIcons_ & biHelp) && (dialogLike || !(borderIcons_ & (biMinimize | biMaximize))))
            exStyle |= WS_EX_CONTEXTHELP;
    }
}

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    DWORD style, exStyle;
    FrameStyles(style, exStyle);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

RECT TForm::ClientRect() const {
    if (HandleAllocated() || clientWidth_ < 0) return TWinControl::ClientRect();
    return {0, 0, clientWidth_, clientHeight_};
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_) return;
    borderIcons_ = value;
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    RecreateWnd();
}

TWindowState TForm::WindowState() const {
    if (!HandleAllocated()) return windowState_;
    HWND h = const_cast<TForm*>(this)->Handle();
    if (IsIconic(h)) return TWindowState::wsMinimized;
    if (IsZoomed(h)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState value) {
    windowState_ = value;
    if (!HandleAllocated() || !Visible()) return;
    static constexpr int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ShowWindow(Handle(), kShow[static_cast<int>(value)]);
}

void TForm::PlaceOnScreen(TCreateParams& params) const {
    if (position_ == TPosition::poDefault) {
        params.X = params.Y = CW_USEDEFAULT;
        return;
    }
    if (position_ == TPosition::poDesigned) return;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (position_ == TPosition::poMainFormCenter && Application().MainForm() && Application().MainForm() != this)
        area = Application().MainForm()->BoundsRect();
    params.X = area.left + (area.right - area.left - params.Width) / 2;
    params.Y = area.top + (area.bottom - area.top - params.Height) / 2;
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    FrameStyles(params.Style, params.ExStyle);
    if (clientWidth_ >= 0) {
        RECT r{0, 0, clientWidth_, clientHeight_};
        AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
        params.Width = r.right - r.left;
        params.Height = r.bottom - r.top;
    }
    PlaceOnScreen(params);
}

void TForm::HandleCreated() { ApplyIcon(); }

void TForm::ApplyIcon() {
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
    Perform(CM_ICONCHANGED);
}

void TForm::VisibleChanged() {
    if (IsLoading()) return;   // shown once the definition is complete
    if (Visible()) {
        static constexpr int kShow[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(Handle(), kShow[static_cast<int>(windowState_)]);
        UpdateWindow(Handle());
        if (OnShow) OnShow(this);
    } else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
    }
    if (MouseControl() == this && !Visible()) SetMouseControl(nullptr);
}

void TForm::Loaded() {
    TWinControl::Loaded();
    if (Visible()) VisibleChanged();
}

void TForm::Close() {
    TCloseAction action = Application().MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    switch (action) {
    case TCloseAction::caNone:     return;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); return;
    case TCloseAction::caHide:     Hide(); return;
    case TCloseAction::caFree:
        Hide();
        if (Application().MainForm() == this) Application().Terminate();
        return;
    }
}

TWinControl* TForm::ActiveControl() const {
    TWinControl* focused = FindControl(GetFocus());
    for (TControl* c = focused; c; c = c->Parent())
        if (c == this) return focused;
    return nullptr;
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE: Close(); return;   // never the default: it would destroy the window at once
    }
    TWinControl::WndProc(m);
}

}  // namespace korvel

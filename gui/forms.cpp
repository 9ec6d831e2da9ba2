#include "gui/forms.h"

#include <algorithm>
#include <vector>

#include "gui/application.h"
#include "gui/definition_reader.h"
#include "gui/exceptions.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/text.h"

namespace korvel {
namespace {

std::vector<TForm*>& FormList() {
    static auto* forms = new std::vector<TForm*>;
    return *forms;
}

// Forms whose release message has arrived, waiting to be freed.
std::vector<TForm*>& ReleasedForms() {
    static auto* forms = new std::vector<TForm*>;
    return *forms;
}

void Forget(std::vector<TForm*>& list, const TForm* form) {
    list.erase(std::remove(list.begin(), list.end(), form), list.end());
}

// The application's MDI form other than Except.
TForm* FindMDIForm(const TForm* except) {
    for (TForm* form : FormList())
        if (form != except && form->FormStyle() == TFormStyle::fsMDIForm) return form;
    return nullptr;
}

// The first child window of the client window that a framework MDI child owns, then the next ones.
HWND NextMDIWindow(HWND window) {
    for (; window; window = GetWindow(window, GW_HWNDNEXT)) {
        auto* form = dynamic_cast<TForm*>(TWinControl::FindControl(window));
        if (form && form->FormStyle() == TFormStyle::fsMDIChild) return window;
    }
    return nullptr;
}

constexpr const char* kNoMDIForm = "Cannot create an MDI child form: the application has no MDI form";

struct TDisabledWindows {
    HWND Modal;
    std::vector<HWND> Windows;
};

// Disables every visible, enabled top-level window of the thread but the modal form's.
BOOL CALLBACK DisableWindow(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<TDisabledWindows*>(param);
    if (window != list->Modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        list->Windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

namespace {
thread_local int dispatchDepth = 0;
}  // namespace

TDispatchScope::TDispatchScope() { ++dispatchDepth; }

TDispatchScope::~TDispatchScope() {
    if (--dispatchDepth == 0) FreeReleasedForms();
}

int TDispatchScope::Depth() { return dispatchDepth; }

void FreeReleasedForms() {
    // Freeing sends messages, whose procedures end here again: the outer call finishes the list,
    // so a form never goes twice (a released form that owns another released one frees it itself).
    static bool freeing = false;
    if (freeing) return;
    freeing = true;
    auto& released = ReleasedForms();
    for (;;) {
        // A form whose ShowModal still runs waits: its loop is on the stack.
        auto it = std::find_if(released.rbegin(), released.rend(), [](TForm* f) { return !f->Modal(); });
        if (it == released.rend()) break;
        TForm* form = *it;
        released.erase(std::next(it).base());
        delete form;   // leaves the form list and its owner's component list
    }
    freeing = false;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    icon_.OnChange = [this] { ApplyIcon(); };
    FormList().push_back(this);
}

TForm::~TForm() {
    Destroying();
    SetMenu(nullptr);   // a menu that outlives the form keeps its Win32 menu
    Forget(ReleasedForms(), this);
    DestroyComponents();
    // An MDI child leaves its frame while it still handles its messages as one.
    if (formStyle_ == TFormStyle::fsMDIChild) DestroyHandle();
    Forget(FormList(), this);
    if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

int TForm::FormCount() { return static_cast<int>(FormList().size()); }

TForm* TForm::Forms(int index) { return FormList().at(static_cast<size_t>(index)); }

void TForm::ReadDefinition(const std::string& text, HMODULE module) {
    ReadComponentDefinition(*this, text, module);
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (...) {
        HandleCurrentException();   // the form stands: the handler's failure is reported
    }
}

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
    AdjustWindowRectEx(&r, style, HasMenuBar(), exStyle);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

RECT TForm::ClientRect() const {
    if (HandleAllocated() || clientWidth_ < 0) return TWinControl::ClientRect();
    return {0, 0, clientWidth_, clientHeight_};
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    // With a window, the new one is made around the client size the old one has now.
    if (HandleAllocated()) return RecreateWnd();
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
}

void TForm::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_) return;
    borderIcons_ = value;
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    if (!HandleAllocated()) return;
    // Win32 lets a live window change these bits; recreating it would destroy the
    // window under whoever is handling one of its messages (a skin change is).
    DWORD style, exStyle;
    FrameStyles(style, exStyle);
    constexpr DWORD iconStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    ChangeStyle(style & iconStyles, iconStyles & ~style);
    const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE,
                      (ex & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP)) | (exStyle & WS_EX_CONTEXTHELP));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TWindowState TForm::WindowState() const {
    if (!HandleAllocated()) return windowState_;
    HWND h = const_cast<TForm*>(this)->Handle();
    if (IsIconic(h)) return TWindowState::wsMinimized;
    if (IsZoomed(h)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_) return;
    if (value == TFormStyle::fsMDIChild && !FindMDIForm(this)) throw EInvalidOperation(kNoMDIForm);
    formStyle_ = value;
    RecreateWnd();
}

TForm* TForm::MDIParentForm() { return FindMDIForm(nullptr); }

HWND TForm::ClientHandle() {
    if (formStyle_ != TFormStyle::fsMDIForm) return nullptr;
    HandleNeeded();
    return clientHandle_;
}

void TForm::CreateClientWindow() {
    CLIENTCREATESTRUCT client{nullptr, 0xFF00};   // no window menu; child ids from 0xFF00
    clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                    0, 0, 0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), &client);
    if (!clientHandle_)
        throw EInvalidOperation(FormatText("Error creating the MDI client window: %s", {SystemErrorMessage(GetLastError())}));
    AlignControls();
}

void TForm::ClientAreaAligned(const RECT& rest) {
    if (clientHandle_)
        SetWindowPos(clientHandle_, nullptr, rest.left, rest.top, std::max(0L, rest.right - rest.left),
                     std::max(0L, rest.bottom - rest.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

TForm* TForm::MDIChildOf(HWND window) const {
    auto* form = dynamic_cast<TForm*>(FindControl(window));
    return form && form->formStyle_ == TFormStyle::fsMDIChild ? form : nullptr;
}

int TForm::MDIChildCount() {
    int count = 0;
    if (clientHandle_)
        for (HWND w = NextMDIWindow(GetWindow(clientHandle_, GW_CHILD)); w; w = NextMDIWindow(GetWindow(w, GW_HWNDNEXT)))
            ++count;
    return count;
}

TForm* TForm::MDIChildren(int index) {
    int i = 0;
    if (clientHandle_ && index >= 0)
        for (HWND w = NextMDIWindow(GetWindow(clientHandle_, GW_CHILD)); w; w = NextMDIWindow(GetWindow(w, GW_HWNDNEXT)))
            if (i++ == index) return MDIChildOf(w);
    throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(index)}));
}

TForm* TForm::ActiveMDIChild() {
    if (!clientHandle_) return nullptr;
    return MDIChildOf(reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0)));
}

void TForm::MDICommand(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (clientHandle_) SendMessageW(clientHandle_, msg, wparam, lparam);
}

void TForm::Cascade() { MDICommand(WM_MDICASCADE, 0, 0); }

void TForm::Tile() { MDICommand(WM_MDITILE, MDITILE_HORIZONTAL, 0); }

void TForm::Next() { MDICommand(WM_MDINEXT, 0, 0); }

void TForm::Previous() { MDICommand(WM_MDINEXT, 0, 1); }

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
    DWORD disabled = params.Style & WS_DISABLED;
    FrameStyles(params.Style, params.ExStyle);
    // Created hidden: VisibleChanged shows the first window in its window
    // state, RecreateWnd a new one in the state the old one had.
    params.Style |= disabled;
    if (formStyle_ == TFormStyle::fsMDIChild) {
        TForm* frame = FindMDIForm(this);
        if (!frame) throw EInvalidOperation(kNoMDIForm);
        params.Style = (params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
        params.ExStyle |= WS_EX_MDICHILD;
        params.WndParent = frame->ClientHandle();
    }
    if (clientWidth_ >= 0) {
        RECT r{0, 0, clientWidth_, clientHeight_};
        AdjustWindowRectEx(&r, params.Style, HasMenuBar(), params.ExStyle);
        params.Width = r.right - r.left;
        params.Height = r.bottom - r.top;
        Constraints().Apply(params.Width, params.Height);
    }
    if (formStyle_ != TFormStyle::fsMDIChild) {
        // Secondary forms are owned by the main form's window: they stay above it and minimise with it.
        TForm* main = Application().MainForm();
        if (main && main != this && !main->InState(csDestroying) && main->formStyle_ != TFormStyle::fsMDIChild)
            params.WndParent = main->Handle();
    }
    // A recreated window stays where the user left it.
    if (ControlState() & csRecreating) return;
    if (formStyle_ != TFormStyle::fsMDIChild || position_ == TPosition::poDefault) PlaceOnScreen(params);
}

void TForm::HandleCreated() {
    ApplyIcon();
    if (HasMenuBar()) ::SetMenu(Handle(), menu_->Handle());
    if (formStyle_ == TFormStyle::fsMDIForm) CreateClientWindow();
}

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
        // Already the active window: no activation follows to place the focus.
        if (GetActiveWindow() == Handle() && !FocusedControl()) FocusActiveControl();
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
    if (modal_) {   // ShowModal's loop asks OnClose
        modalResult_ = mrCancel;
        return;
    }
    bool main = Application().MainForm() == this;
    TCloseAction action = main ? TCloseAction::caFree : TCloseAction::caHide;
    if (!main && formStyle_ == TFormStyle::fsMDIChild)
        action = (borderIcons_ & biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone;
    if (OnClose) OnClose(this, action);
    switch (action) {
    case TCloseAction::caNone:     return;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); return;
    case TCloseAction::caHide:     Hide(); return;
    case TCloseAction::caFree:
        if (!main) return Release();
        Hide();
        Application().Terminate();
        return;
    }
}

void TForm::SetMenu(TMainMenu* value) {
    if (value == menu_) return;
    if (value && value->form_ && value->form_ != this)
        throw EInvalidOperation(FormatText("Menu '%s' is already being used by another form", {value->Name()}));
    if (menu_) {
        menu_->form_ = nullptr;
        menu_->RemoveFreeNotification(this);
    }
    if (menu_ && menu_->MergedInto()) menu_->MergedInto()->Unmerge(menu_);
    menu_ = value;
    if (value) {
        value->form_ = this;
        value->FreeNotification(this);
    }
    if (formStyle_ == TFormStyle::fsMDIChild && !InState(csDestroying)) {
        TForm* frame = FindMDIForm(this);
        if (frame && frame->HandleAllocated() && HandleAllocated() && frame->ActiveMDIChild() == this) MergeIntoFrame(true);
    }
    // The bar takes its height from the outer size: the client size is the one
    // before the bar came or went (Win32's WM_SIZE on the way reports the other).
    const int width = clientWidth_, height = clientHeight_;
    if (HandleAllocated() && formStyle_ != TFormStyle::fsMDIChild) ::SetMenu(Handle(), HasMenuBar() ? menu_->Handle() : nullptr);
    if (InState(csDestroying)) return;
    if (width >= 0) SetClientSize(width, height);
    MenuChanged();
}

void TForm::MenuChanged() {
    if (InState(csDestroying)) return;
    if (HasMenuBar() && HandleAllocated() && GetMenu(Handle()) == menu_->Handle()) DrawMenuBar(Handle());
    Perform(CM_MENUCHANGED);
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menu_) menu_ = nullptr;
    if (component == activeControl_) activeControl_ = nullptr;
}

TModalResult TForm::ShowModal() {
    if (modal_ || Visible()) throw EInvalidOperation("Cannot make a visible window modal");
    if (formStyle_ == TFormStyle::fsMDIChild) throw EInvalidOperation("Cannot make an MDI child form modal");
    HWND previous = GetActiveWindow();
    TDisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    // Modal until ShowModal returns: a release meanwhile frees the form only
    // afterwards (hiding it below runs window procedures, which free released forms).
    struct TModalScope {
        TForm* form;
        ~TModalScope() { form->modal_ = false; }
    } scope{this};
    // The other windows come back however the loop ends, before the form hides,
    // so that Win32 gives the activation back to them.
    struct TRestore {
        TDisabledWindows& disabled;
        ~TRestore() {
            for (HWND w : disabled.Windows)
                if (IsWindow(w)) EnableWindow(w, TRUE);
        }
    };
    TCloseAction action = TCloseAction::caHide;
    {
        TRestore restore{disabled};
        modal_ = true;
        modalResult_ = mrNone;
        Show();
        SetForegroundWindow(Handle());
        while (!(modalResult_ != mrNone && CloseModal(action))) {
            if (Application().Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
            Application().HandleMessage();
        }
    }
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    Hide();
    if (action == TCloseAction::caFree) Release();
    return modalResult_;
}

void TForm::ShowOwnedForms(bool show) {
    for (TForm* form : FormList()) {
        if (form == this || !form->HandleAllocated() || GetWindow(form->Handle(), GW_OWNER) != Handle()) continue;
        if (!show && form->Visible() && IsWindowVisible(form->Handle())) {
            form->hiddenWithOwner_ = true;
            ShowWindow(form->Handle(), SW_HIDE);
        } else if (show && form->hiddenWithOwner_) {
            form->hiddenWithOwner_ = false;
            if (form->Visible()) ShowWindow(form->Handle(), SW_SHOWNA);
        }
    }
}

bool TForm::CloseModal(TCloseAction& action) {
    action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action != TCloseAction::caNone) return true;
    modalResult_ = mrNone;
    return false;
}

void TForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

TWinControl* TForm::FocusedControl() const {
    // The focus may sit in a window inside a control (a native control's own child).
    TWinControl* focused = nullptr;
    for (HWND h = GetFocus(); h && !focused; h = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        focused = FindControl(h);
    return focused != this && Contains(focused) ? focused : nullptr;
}

bool TForm::Contains(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TWinControl* TForm::ActiveControl() const {
    TWinControl* focused = FocusedControl();
    return focused ? focused : activeControl_;
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control && (control == this || !Contains(control)))
        throw EInvalidOperation(FormatText("Control '%s' is not on form '%s'", {control->Name(), Name()}));
    RememberActiveControl(control);
    if (control && HandleAllocated() && GetActiveWindow() == Handle()) FocusActiveControl();
}

void TForm::RememberActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (activeControl_) activeControl_->RemoveFreeNotification(this);
    activeControl_ = control;
    if (activeControl_) activeControl_->FreeNotification(this);
}

void TForm::FocusActiveControl() {
    TWinControl* target = activeControl_;
    if (target && (!Contains(target) || !target->CanFocus())) target = nullptr;
    if (!target)
        for (TWinControl* c : TabOrderList())
            if (c->TabStop() && c->CanFocus()) {
                target = c;
                break;
            }
    if (target) target->SetFocus();
}

void TForm::OnMDIActivate(TMessage& m) {
    TWinControl::WndProc(m);
    if (formStyle_ != TFormStyle::fsMDIChild || !HandleAllocated()) return;
    // Sent to the child losing the activation first, then to the one gaining it.
    if (reinterpret_cast<HWND>(m.LParam) == Handle()) MergeIntoFrame(true);
    else if (reinterpret_cast<HWND>(m.WParam) == Handle()) MergeIntoFrame(false);
}

void TForm::MergeIntoFrame(bool merge) {
    TForm* frame = FindMDIForm(this);
    TMainMenu* bar = frame ? frame->Menu() : nullptr;
    if (!bar) return;
    if (merge) bar->Merge(menu_);
    else if (menu_) bar->Unmerge(menu_);
}

void TForm::OnActivate(TMessage& m) {
    bool activating = LOWORD(m.WParam) != WA_INACTIVE;
    if (!activating)
        if (TWinControl* focused = FocusedControl()) RememberActiveControl(focused);
    // An MDI frame's focus belongs to its active child, which Win32 restores itself.
    bool ownFocus = formStyle_ == TFormStyle::fsNormal || (formStyle_ == TFormStyle::fsMDIForm && !ActiveMDIChild());
    if (activating && ownFocus && !HIWORD(m.WParam) && Showing() && FocusIsOnActiveControl()) {
        // The default handling would focus the form's own window and the control
        // would get it back at once: each move repaints the control, for nothing.
        Perform(CM_ACTIVATE);
        return;
    }
    TWinControl::WndProc(m);   // Win32 focuses the form's own window
    if (activating && ownFocus && !HIWORD(m.WParam) && Showing()) FocusActiveControl();
    Perform(activating ? CM_ACTIVATE : CM_DEACTIVATE);
}

bool TForm::FocusIsOnActiveControl() const {
    TWinControl* focused = FocusedControl();
    return focused && (focused == activeControl_ || !activeControl_);
}

void TForm::OnSize(TMessage& m) {
    // Win32 hides owned windows with a minimised owner; Wine leaves them: the form does it.
    if (m.WParam == SIZE_MINIMIZED || m.WParam == SIZE_RESTORED || m.WParam == SIZE_MAXIMIZED)
        ShowOwnedForms(m.WParam != SIZE_MINIMIZED);
    // The client size the user gave the window is the one a recreated window gets.
    if (m.WParam == SIZE_RESTORED && HandleAllocated()) {
        RECT r;
        GetClientRect(Handle(), &r);
        clientWidth_ = r.right;
        clientHeight_ = r.bottom;
    }
    TWinControl::WndProc(m);
    UpdateScrollBars();
}

bool TForm::DialogKey(WPARAM key) {
    TWinControl* active = FocusedControl();
    switch (key) {
    case VK_TAB: return SelectNext(active, !(GetKeyState(VK_SHIFT) & 0x8000));
    case VK_ESCAPE:
        if (!modal_) return false;
        modalResult_ = mrCancel;
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        // The arrows move among the tab stops of the focused control's own parent.
        if (!active || !active->Parent()) return false;
        return active->Parent()->SelectNext(active, key == VK_RIGHT || key == VK_DOWN, true);
    }
    return false;
}

void TForm::OnRelease() {
    if (modal_) modalResult_ = mrCancel;
    auto& released = ReleasedForms();
    if (std::find(released.begin(), released.end(), this) == released.end()) released.push_back(this);
}

void TForm::OnDialogKey(TMessage& m) {
    TWinControl::WndProc(m);   // the children first
    if (m.Result == 0 && DialogKey(m.WParam)) m.Result = 1;
}

void TForm::OnFocusChanged(TMessage& m) {
    TWinControl::WndProc(m);
    if (auto* focused = reinterpret_cast<TWinControl*>(m.LParam); focused && focused != this && Contains(focused))
        RememberActiveControl(focused);
    for (TWinControl* c : TabOrderList())
        if (dynamic_cast<TButton*>(c)) c->Perform(CM_FOCUSCHANGED, m.WParam, m.LParam);
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:         return OnSize(m);
    case WM_ACTIVATE:     return OnActivate(m);
    case WM_CLOSE:        Close(); return;   // never the default: it would destroy the window at once
    case WM_DESTROY:
        if (GetMenu(Handle())) ::SetMenu(Handle(), nullptr);   // Win32 would destroy the menu bar with the window
        break;
    case WM_NCDESTROY:    clientHandle_ = nullptr; break;   // the client window went with ours
    case WM_MDIACTIVATE:  return OnMDIActivate(m);
    case CM_DIALOGKEY:    return OnDialogKey(m);
    case CM_FOCUSCHANGED: return OnFocusChanged(m);   // buttons follow the focus with their default look
    case CM_RELEASE:      return OnRelease();
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam == 0) return OnScrollMessage(m);   // the window's own bars; a child's come with its handle
        break;
    case CM_CHILDBOUNDSCHANGED: UpdateScrollBars(); break;
    }
    TWinControl::WndProc(m);
}

void TForm::DefaultHandler(TMessage& m) {
    if (!HandleAllocated() || IsFrameworkMessage(m.Msg)) return;
    if (clientHandle_ && m.Msg != WM_SIZE) {   // the frame places its client window itself
        m.Result = DefFrameProcW(Handle(), clientHandle_, m.Msg, m.WParam, m.LParam);
        return;
    }
    if (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) {
        m.Result = DefMDIChildProcW(Handle(), m.Msg, m.WParam, m.LParam);
        return;
    }
    TWinControl::DefaultHandler(m);
}

}  // namespace korvel

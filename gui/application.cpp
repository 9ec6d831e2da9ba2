#include "gui/application.h"

#include "gui/actions.h"
#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

TApplication& Application() {
    static auto* application = new TApplication;   // lives until the process ends
    return *application;
}

void HandleCurrentException() {
    try {
        try {
            throw;
        } catch (const std::exception& error) {
            Application().HandleException(error);
        } catch (...) {
            Application().HandleException(Exception("Unknown exception"));
        }
    } catch (...) {
        // A failing report must not escape into Win32's frames either.
    }
}

TApplication::TApplication() : TComponent(nullptr) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    title_ = Narrow(name.substr(0, name.find_last_of(L'.')));
}

TApplication::~TApplication() = default;

void TApplication::Initialize() { terminated_ = false; }

TForm* TApplication::AddForm(const std::function<TForm*()>& create) {
    try {
        TForm* form = create();
        if (!mainForm_) mainForm_ = form;
        return form;
    } catch (const std::exception& error) {
        // A form that cannot be built (a bad stored definition) stops the program.
        ShowException(error.what());
        Terminate();
        return nullptr;
    }
}

void TApplication::Run() {
    if (mainForm_ && !terminated_) GuardedEntry([this] { mainForm_->Show(); });
    while (!terminated_) HandleMessage();
}

namespace {

// The framework control whose window is Window or holds it (inside one top-level window).
TWinControl* OwningControl(HWND window) {
    for (HWND h = window; h; h = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        if (TWinControl* control = TWinControl::FindControl(h)) return control;
    return nullptr;
}

TForm* ParentForm(TControl* control) {
    while (control && control->Parent()) control = control->Parent();
    return dynamic_cast<TForm*>(control);
}

bool KeyDown(int key) { return GetKeyState(key) & 0x8000; }

// Whether the focused window's answer to WM_GETDLGCODE claims a navigation key for itself.
bool Claims(LRESULT code, WPARAM key) {
    if (code & DLGC_WANTALLKEYS) return true;
    switch (key) {
    case VK_TAB:    return code & DLGC_WANTTAB;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:   return code & DLGC_WANTARROWS;
    case VK_RETURN:
    case VK_ESCAPE: return code & DLGC_WANTMESSAGE;
    }
    return true;
}

}  // namespace

bool TApplication::IsDialogKey(const MSG& msg) {
    bool key = msg.message == WM_KEYDOWN;
    bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (!key && !character) return false;
    TWinControl* control = OwningControl(msg.hwnd);
    TForm* form = ParentForm(control);
    if (!form) return false;
    if (key) {
        switch (msg.wParam) {
        case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: break;
        default: return false;
        }
        if (KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return false;
        if (Claims(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, 0), msg.wParam)) return false;
        return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
    }
    // With Alt held every character is the form's; otherwise only those the focused control does not want.
    if (msg.message == WM_CHAR && (SendMessageW(msg.hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)))
        return false;
    return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsKeyMsg(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TWinControl* control = OwningControl(msg.hwnd);
    return control && control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsMDIKey(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TForm* frame = TForm::MDIParentForm();
    if (!frame || !frame->HandleAllocated()) return false;
    HWND client = frame->ClientHandle();
    // Only keys pressed inside the frame: Ctrl+F4 elsewhere must not close a child.
    return client && (msg.hwnd == frame->Handle() || IsChild(frame->Handle(), msg.hwnd)) && TranslateMDISysAccel(client, &msg);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    // Dialog keys run handlers (a default button's Click) straight from here.
    GuardedEntry([&] {
        if (IsMDIKey(msg) || IsKeyMsg(msg) || IsDialogKey(msg)) return;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    });
    return true;
}

void TApplication::HandleMessage() {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return;
    }
    ProcessMessage(msg);
    if (!terminated_ && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) Idle();
}

void TApplication::Idle() {
    GuardedEntry([] { TActionList::UpdateAll(); });
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!ProcessMessage(msg)) break;
}

void TApplication::Terminate() {
    terminated_ = true;
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);   // wakes a waiting HandleMessage
}

void TApplication::Minimize() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::HandleException(const std::exception& error) {
    if (OnException) return OnException(error);
    ShowException(error.what());
}

void TApplication::ShowException(const std::string& message) {
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
    MessageBoxW(owner, Widen(message).c_str(), Widen(title_).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace korvel

#include "gui/application.h"

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
    if (mainForm_ && !terminated_) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000) &&
        !(GetKeyState(VK_MENU) & 0x8000)) {
        // Tab moves among the tab stops of the form, in tab order.
        TWinControl* control = nullptr;
        for (HWND h = msg.hwnd; h && !control; h = GetParent(h)) control = TWinControl::FindControl(h);
        TControl* top = control;
        while (top && top->Parent()) top = top->Parent();
        if (auto* form = dynamic_cast<TForm*>(top)) {
            bool wantsTab = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, 0) & DLGC_WANTTAB;
            if (!wantsTab && form->SelectNext(control, !(GetKeyState(VK_SHIFT) & 0x8000))) return true;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::HandleMessage() {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return;
    }
    ProcessMessage(msg);
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

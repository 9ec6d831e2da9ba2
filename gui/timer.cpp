#include "gui/timer.h"

#include <unordered_map>

#include "gui/application.h"
#include "gui/graphics.h"

namespace korvel {
namespace {

constexpr wchar_t kUtilityClass[] = L"KorvelUtilityWindow";
constexpr UINT_PTR kTimerId = 1;

std::unordered_map<HWND, std::function<void(TMessage&)>>& Methods() {
    static auto* methods = new std::unordered_map<HWND, std::function<void(TMessage&)>>;
    return *methods;
}

LRESULT CALLBACK UtilityWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto it = Methods().find(hwnd);
    if (it == Methods().end()) return DefWindowProcW(hwnd, msg, wparam, lparam);
    TMessage message{msg, wparam, lparam, 0};
    auto method = it->second;   // the handler may deallocate the window
    GuardedEntry([&] { method(message); });
    return message.Result;
}

}  // namespace

HWND AllocateHWnd(std::function<void(TMessage&)> method) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, kUtilityClass, &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = UtilityWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kUtilityClass;
        RegisterClassExW(&wc);
    }
    HWND window = CreateWindowExW(0, kUtilityClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window) return nullptr;
    ++GdiCounters().Windows;
    auto& methods = Methods();
    methods[window] = [method = std::move(method), window](TMessage& m) {
        method(m);
        if (m.Result == 0 && m.Msg != WM_TIMER) m.Result = DefWindowProcW(window, m.Msg, m.WParam, m.LParam);
    };
    return window;
}

void DeallocateHWnd(HWND window) {
    if (!window) return;
    Methods().erase(window);
    if (DestroyWindow(window)) --GdiCounters().Windows;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    enabled_ = false;
    UpdateTimer();
    DeallocateHWnd(window_);
}

void TTimer::SetInterval(unsigned value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (running_) {
        KillTimer(window_, kTimerId);
        running_ = false;
    }
    // A timer read from a definition starts once every property is set.
    if (!enabled_ || interval_ == 0 || !onTimer_ || InState(csLoading)) return;
    if (!window_) window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    running_ = SetTimer(window_, kTimerId, interval_, nullptr) != 0;
}

void TTimer::WndProc(TMessage& m) {
    if (m.Msg != WM_TIMER || m.WParam != kTimerId || !onTimer_) return;
    // The handler may free this timer: it runs from a copy that outlives it.
    const TNotifyEvent handler = onTimer_;
    handler(this);
}

}  // namespace korvel

// High contrast: the system's switch and a window that hears it change.
#include "engine/high_contrast.h"

#include "gui/application.h"
#include "gui/graphics.h"

namespace korvel {

namespace {

constexpr wchar_t ListenerClass[] = L"KorvelSettingListener";

std::function<bool()>& Query() {
    static std::function<bool()> query;
    return query;
}

bool SystemHighContrastOn() {
    HIGHCONTRASTW state{};
    state.cbSize = sizeof(state);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(state), &state, 0) &&
           (state.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

bool HighContrastOn() { return Query() ? Query()() : SystemHighContrastOn(); }

std::function<bool()> SetHighContrastQuery(std::function<bool()> query) {
    std::function<bool()> previous = std::move(Query());
    Query() = std::move(query);
    return previous;
}

TsSettingListener::TsSettingListener(std::function<void()> changed) : changed_(std::move(changed)) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, ListenerClass, &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = instance;
        wc.lpszClassName = ListenerClass;
        RegisterClassExW(&wc);
    }
    // Never shown, never in the taskbar: WS_POPUP without WS_VISIBLE.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, ListenerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
    if (window_) ++GdiCounters().Windows;
}

TsSettingListener::~TsSettingListener() {
    if (!window_) return;
    SetWindowLongPtrW(window_, 0, 0);
    if (DestroyWindow(window_)) --GdiCounters().Windows;
}

LRESULT CALLBACK TsSettingListener::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* listener = reinterpret_cast<TsSettingListener*>(GetWindowLongPtrW(window, 0));
    if (message == WM_SETTINGCHANGE && listener && listener->changed_) {
        // A copy: the handler may free the listener.
        const std::function<void()> changed = listener->changed_;
        GuardedEntry(changed);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace korvel

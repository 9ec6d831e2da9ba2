#pragma once
// The system's high-contrast mode: whether it is on, and a hidden window that
// hears the system announce a change of its settings. Windows half only.
#include <windows.h>

#include <functional>

namespace korvel {

// Whether high contrast is on (SPI_GETHIGHCONTRAST says HCF_HIGHCONTRASTON).
bool HighContrastOn();

// Replaces the system's answer (an empty query restores it) and returns the
// query replaced. For systems that cannot switch the mode (Wine keeps it off
// and refuses SPI_SETHIGHCONTRAST): tests answer for the system, then broadcast
// WM_SETTINGCHANGE as Windows does.
std::function<bool()> SetHighContrastQuery(std::function<bool()> query);

// A hidden top-level window whose WM_SETTINGCHANGE calls Changed. The system
// broadcasts the change to top-level windows only: message-only windows do
// not hear it, and a form's window may come and go while its manager lives.
class TsSettingListener {
public:
    explicit TsSettingListener(std::function<void()> changed);
    ~TsSettingListener();
    TsSettingListener(const TsSettingListener&) = delete;
    TsSettingListener& operator=(const TsSettingListener&) = delete;
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::function<void()> changed_;
    HWND window_ = nullptr;
};

}  // namespace korvel

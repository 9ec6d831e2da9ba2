#pragma once
// Window-message timers: a hidden window of our own receives WM_TIMER.
#include <windows.h>

#include "gui/component.h"
#include "gui/messages.h"

namespace korvel {

// A hidden message-only window whose messages go to Method.
HWND AllocateHWnd(std::function<void(TMessage&)> method);
void DeallocateHWnd(HWND window);

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    std::string ClassName() const override { return "TTimer"; }

    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // The timer runs while it is enabled, has an interval and a handler.
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

    void Loaded() override;

private:
    void UpdateTimer();
    void WndProc(TMessage& message);

    TNotifyEvent onTimer_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    HWND window_ = nullptr;
};

}  // namespace korvel

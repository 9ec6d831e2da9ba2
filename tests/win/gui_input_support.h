#pragma once
// Real keyboard and mouse input for the framework's event and menu tests, and
// a watcher thread that acts while the test's own thread sits in a modal loop
// (a pop-up menu's, ShowModal's).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "gui_test_support.h"

namespace korvel::testing {

inline void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

// Presses and releases Key with the modifiers held around it; no pumping, so
// it may run on another thread.
inline void SendChord(WORD key, std::initializer_list<WORD> modifiers = {}) {
    for (WORD m : modifiers) SendKey(m, false);
    SendKey(key, false);
    SendKey(key, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) SendKey(*it, true);
}

// Presses a chord and handles it: Wine queues the keys before SendInput returns,
// and the characters they translate to are handled in the same pass.
inline void PressChord(WORD key, std::initializer_list<WORD> modifiers = {}) {
    SendChord(key, modifiers);
    Application().ProcessMessages();
}

// A real absolute pointer move: the normalised coordinate that lands on the
// pixel itself (checked: the drags built on it count pixels).
inline void PointerTo(POINT p) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<long long>(p.x) * 65536 + w - 1) / w);
    input.mi.dy = static_cast<LONG>((static_cast<long long>(p.y) * 65536 + h - 1) / h);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    Pump(120);
    POINT now{};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, p.x);
    EXPECT_EQ(now.y, p.y);
}

// Lets the system's double-click time pass, so that the next press is a press of its own.
inline void PassDoubleClickTime() { Pump(static_cast<int>(GetDoubleClickTime()) + 50); }

inline void SendMouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof(input));
}

// A press and release of one button at a screen point.
inline void ClickAt(POINT screen, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP) {
    MovePointer(screen);
    SendMouseButton(downFlag);
    SendMouseButton(upFlag);
    Application().ProcessMessages();   // queued before SendInput returns
}

// The visible pop-up menu window (class "#32768") of this process, or nullptr.
inline HWND FindPopupMenuWindow() {
    struct TSearch {
        HWND Found = nullptr;
    } search;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32768" && IsWindowVisible(hwnd)) {
                reinterpret_cast<TSearch*>(param)->Found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Waits on its own thread for a pop-up menu window to show, runs Act with it
// (look, then type keys to choose or close), and closes any menu still open
// afterwards with Escape so the test's thread never stays in the menu's loop.
class TMenuWatcher {
public:
    explicit TMenuWatcher(std::function<void(HWND menu)> act, int waitMillis = 5000)
        : act_(std::move(act)), thread_([this, waitMillis] { Watch(waitMillis); }) {}
    ~TMenuWatcher() {
        stop_ = true;
        thread_.join();
    }
    bool Seen() const { return seen_; }
    // Whether it has finished: acted on a menu and seen it close, or given up waiting for one.
    bool Done() const { return done_; }

private:
    void Watch(int waitMillis) {
        struct TFinish {
            std::atomic<bool>& done;
            ~TFinish() { done = true; }
        } finish{done_};
        DWORD until = GetTickCount() + static_cast<DWORD>(waitMillis);
        HWND menu = nullptr;
        while (!stop_ && !menu && static_cast<int>(until - GetTickCount()) > 0) {
            menu = FindPopupMenuWindow();
            if (!menu) Sleep(20);
        }
        if (!menu) return;
        Sleep(150);   // let it paint
        seen_ = true;
        act_(menu);
        for (int i = 0; i < 20 && FindPopupMenuWindow(); ++i) {
            Sleep(150);
            if (i % 5 == 4) SendChord(VK_ESCAPE);
        }
    }
    std::function<void(HWND)> act_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace korvel::testing

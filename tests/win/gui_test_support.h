#pragma once
// Helpers shared by the framework's Windows tests: pumping messages, reading
// the screen, moving the real pointer and answering message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "gui/application.h"
#include "gui/forms.h"
#include "gui/text.h"

namespace korvel::testing {

// The source tree as Wine sees it (drive Z: is the root of the host).
inline std::string SourcePath(const std::string& relative) {
    std::string file = __FILE__;
    return "Z:" + file.substr(0, file.rfind("tests/win/")) + relative;
}

// A control of class T owned by the form and shown on it at the given bounds.
template <class T>
T* AddControl(TForm* form, int left, int top, int width, int height) {
    auto* c = new T(form);
    c->SetBounds(left, top, width, height);
    c->SetParent(form);
    return c;
}

// Handles messages for a fixed time. Use it where no condition can be waited for:
// a negative check ("nothing happens") waits this long for the fault to show.
inline void Pump(int millis) {
    DWORD until = GetTickCount() + static_cast<DWORD>(millis);
    do {
        Application().ProcessMessages();
        Sleep(5);
    } while (static_cast<int>(until - GetTickCount()) > 0);
}

// How long a negative check waits for a fault to show: a posted message, a timer
// tick or a pointer event that should not come has had its chance by then.
constexpr int NothingHappensMillis = 300;

// How long PumpUntil waits at most by default: far above what any wait takes on
// a loaded machine, so that only a fault reaches it.
constexpr int WaitLimitMillis = 5000;

// Handles messages until done() holds or limitMillis have passed; answers
// whether it held. For a caller that reports the failure itself.
template <class Condition>
bool PumpWhileNot(Condition done, int limitMillis = WaitLimitMillis) {
    const DWORD start = GetTickCount();
    for (;;) {
        Application().ProcessMessages();
        if (done()) return true;
        if (static_cast<int>(GetTickCount() - start) >= limitMillis) return false;
        Sleep(5);
    }
}

// Handles messages until done() holds; fails the running test, naming what was
// awaited, when it still does not hold after limitMillis. Answers whether it held.
template <class Condition>
bool PumpUntil(Condition done, const char* what, int limitMillis = WaitLimitMillis) {
    if (PumpWhileNot(done, limitMillis)) return true;
    ADD_FAILURE() << "waited " << limitMillis << " ms for " << what;
    return false;
}

// Brings a shown window to the front, waits (bounded) until it is the foreground
// window, then paints what is pending and lets the idle pass put it on the screen.
inline void BringToFront(HWND window) {
    SetForegroundWindow(window);
    PumpUntil([window] { return GetForegroundWindow() == window; }, "the window to come to the front");
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Application().ProcessMessages();
}

inline COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Moves the real pointer (Wine turns it into an X pointer move) and lets the
// resulting mouse messages arrive.
inline void MovePointer(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    Pump(150);
}

inline void ClickPointer(POINT screen) {
    MovePointer(screen);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

inline void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Application().ProcessMessages();
    }
}

// Watches for the first message box of this process, records its text and
// presses its OK button. Start it before the code that shows the box.
class TMessageBoxAnswerer {
public:
    TMessageBoxAnswerer() : thread_([this] { Watch(); }) {}
    ~TMessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    // Waits (pumping messages) until a box was answered or the time is up.
    bool WaitAnswered(int millis) {
        DWORD until = GetTickCount() + static_cast<DWORD>(millis);
        while (!answered_ && static_cast<int>(until - GetTickCount()) > 0) Pump(20);
        return answered_;
    }
    std::string Text() const { return text_; }
    std::string Caption() const { return caption_; }
    HWND Owner() const { return owner_; }

private:
    static BOOL CALLBACK FindBox(HWND hwnd, LPARAM self) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(self) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK ReadStatic(HWND child, LPARAM out) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        wchar_t text[1024] = {};
        InternalGetWindowText(child, text, 1024);
        if (std::wstring(cls) == L"Static" && text[0]) *reinterpret_cast<std::wstring*>(out) = text;
        return TRUE;
    }
    void Watch() {
        while (!stop_ && !answered_) {
            HWND box = nullptr;
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                Sleep(100);   // let it finish initialising
                std::wstring text;
                EnumChildWindows(box, ReadStatic, reinterpret_cast<LPARAM>(&text));
                wchar_t caption[256] = {};
                InternalGetWindowText(box, caption, 256);
                text_ = Narrow(text);
                caption_ = Narrow(caption);
                owner_ = GetWindow(box, GW_OWNER);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                answered_ = true;
            }
            Sleep(30);
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::string text_, caption_;
    HWND owner_ = nullptr;
    std::thread thread_;
};

}  // namespace korvel::testing

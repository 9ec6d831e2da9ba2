// probe [TITLE [--screen]]: lists what a user sees of a running window, for
// end-to-end tests driven from outside the program. One line for the window
// itself (depth -1), then one per child window, depth first in z-order,
// tab-separated:
//   depth  class  visible(0/1)  enabled(0/1)  left,top,width,height  text
// Coordinates are relative to the top-level window's client area (the window's
// own line thus tells where that area lies in the window; on the screen with
// --screen, for a test that clicks a child window); visible is
// 1 only when the window and all its parents are visible. The text is UTF-8
// with backslash, tab and line breaks escaped (\\, \t, \r, \n).
// Exit code 1 when no such top-level window exists.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND topLevel = nullptr;
bool onScreen = false;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::wstring TextOf(HWND hwnd) {
    // WM_GETTEXT works across processes; GetWindowText would not for other programs' controls.
    LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

void Print(HWND hwnd, int depth) {
    wchar_t cls[128] = {};
    GetClassNameW(hwnd, cls, 128);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    if (!onScreen) MapWindowPoints(HWND_DESKTOP, topLevel, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%d\t%s\t%d\t%d\t%ld,%ld,%ld,%ld\t%s\n", depth, Utf8(cls).c_str(), IsWindowVisible(hwnd) ? 1 : 0,
                IsWindowEnabled(hwnd) ? 1 : 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                Escaped(Utf8(TextOf(hwnd))).c_str());
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) Print(child, depth + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* title = argc > 1 ? argv[1] : L"Korvel Pro 2007.1";
    onScreen = argc > 2 && std::wstring(argv[2]) == L"--screen";
    topLevel = FindWindowW(nullptr, title);
    if (!topLevel) {
        std::fprintf(stderr, "probe: no window titled \"%s\"\n", Utf8(title).c_str());
        return 1;
    }
    Print(topLevel, -1);
    return 0;
}

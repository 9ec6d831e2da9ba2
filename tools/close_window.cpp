// close_window TITLE [TIMEOUT_MS]: asks the top-level window with that title to
// close (WM_CLOSE, as the close button would) and waits until it is gone.
// Exit code 0 when it closed, 1 when no such window, 2 when it did not close in time.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: close_window TITLE [TIMEOUT_MS]\n");
        return 64;
    }
    DWORD timeout = argc > 2 ? static_cast<DWORD>(wcstoul(argv[2], nullptr, 10)) : 10000;
    HWND hwnd = FindWindowW(nullptr, argv[1]);
    if (!hwnd) return 1;
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    for (DWORD waited = 0; waited < timeout; waited += 50) {
        if (!IsWindow(hwnd)) return 0;
        Sleep(50);
    }
    return 2;
}

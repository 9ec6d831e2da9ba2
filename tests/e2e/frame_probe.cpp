// frame_probe: what the end-to-end frame test needs from inside Wine.
//
//   frame_probe corners WIDTH HEIGHT   the corner pixels of a WIDTH x HEIGHT launcher window:
//                                      "x y hole" where the FORM or FORMTITLE frame mask holds
//                                      the key colour, "x y opaque R,G,B" where the title mask's
//                                      colour is fully opaque (the window shows it exactly), and
//                                      "x y skin" for the rest of the corner pieces
//   frame_probe hits TITLE             the hit codes of the window's caption row, left to right,
//                                      each with the screen centre of its run: "code x y"
//   frame_probe iconic TITLE           1 when the window is minimised, else 0
//   frame_probe restore TITLE          restores the minimised window
//   frame_probe other SECONDS          shows a window of its own in the screen's lower right
//                                      corner, takes the focus and keeps it for SECONDS
//
// The masks come from the launcher's own window definition and stored skin,
// loaded by the program's code (the main window built from its resources).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"

using namespace korvel;

namespace {

constexpr TColor kKey = 0xFF00FF;

struct TCornerPixel {
    char Kind = 's';   // 'h' hole, 'o' opaque title pixel, 's' other skin pixel
    TColor Colour = 0;
};

// The pieces of a frame mask are a third of its colour image each way; a
// MaskType 1 image's colour part is its upper half, its transparency the lower.
void AddCorners(std::map<std::pair<int, int>, TCornerPixel>& pixels, const TsSkinTables& tables,
                const TsMaskData& mask, int width, int height, bool title) {
    const int imageWidth = mask.R.Width() / mask.ImageCount;
    const int colourHeight = mask.R.Height() / (mask.MaskType + 1);
    const int pw = imageWidth / 3, ph = colourHeight / 3;
    const TBitmap24& master = tables.MasterBitmap;
    for (int row = 0; row < (title ? 1 : 2); ++row) {
        const int imageTop = row == 0 ? 0 : colourHeight - ph;
        const int windowTop = row == 0 ? 0 : height - ph;
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x)
                for (int right = 0; right < 2; ++right) {
                    const int ix = right ? imageWidth - pw + x : x;
                    const std::pair<int, int> at{right ? width - imageWidth + ix : ix, windowTop + y};
                    const TColor colour = master.Pixel(mask.R.Left + ix, mask.R.Top + imageTop + y);
                    TCornerPixel& p = pixels[at];
                    if (p.Kind == 'h') continue;
                    if (colour == kKey) {
                        p.Kind = 'h';
                    } else if (title && mask.MaskType == 1 &&
                               master.Pixel(mask.R.Left + ix, mask.R.Top + colourHeight + imageTop + y) == 0) {
                        p = {'o', colour};
                    }
                }
    }
}

int Corners(int width, int height) {
    TForm1 form(nullptr);
    const TsSkinTables& tables = form.Part<TsSkinManager>("sSkinManager1").Tables();
    std::map<std::pair<int, int>, TCornerPixel> pixels;
    for (const char* section : {"FORM", "FORMTITLE"}) {
        const int index = tables.SectionIndexOf(section);
        const int mask = index < 0 ? -1 : tables.MaskIndexOf(index, section, "BORDERSMASK");
        if (mask < 0) {
            std::fprintf(stderr, "the launcher's skin has no %s frame mask\n", section);
            return 1;
        }
        AddCorners(pixels, tables, tables.Masks[static_cast<std::size_t>(mask)], width, height,
                   std::string(section) == "FORMTITLE");
    }
    for (const auto& [at, p] : pixels) {
        if (p.Kind == 'h') std::printf("%d %d hole\n", at.first, at.second);
        else if (p.Kind == 'o')
            std::printf("%d %d opaque %u,%u,%u\n", at.first, at.second, p.Colour & 0xFF, (p.Colour >> 8) & 0xFF,
                        (p.Colour >> 16) & 0xFF);
        else std::printf("%d %d skin\n", at.first, at.second);
    }
    return 0;
}

HWND Find(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (!window) std::fprintf(stderr, "no window titled %ls\n", title);
    return window;
}

int Hits(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    // The caption row through the frame's buttons, scanned pixel by pixel from the left edge to the right.
    // The middle of the rows where the buttons are widest.
    int first = -1, last = -1, bestCount = 0;
    for (int y = r.top; y < r.top + 40; ++y) {
        int buttons = 0;
        for (int x = r.left; x < r.right; ++x) {
            const LRESULT code = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            buttons += code == HTCLOSE || code == HTMINBUTTON;
        }
        if (buttons > bestCount) first = last = y, bestCount = buttons;
        else if (buttons == bestCount && buttons > 0 && last == y - 1) last = y;
    }
    const int best = first < 0 ? r.top + 12 : (first + last) / 2;
    LRESULT run = -1;
    int start = r.left;
    for (int x = r.left; x <= r.right; ++x) {
        const LRESULT code = x < r.right ? SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, best)) : -2;
        if (code == run) continue;
        if (run != -1) std::printf("%ld %d %d\n", static_cast<long>(run), (start + x - 1) / 2, best);
        run = code;
        start = x;
    }
    return 0;
}

int Other(int seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = L"KorvelFrameProbeOther";
    RegisterClassW(&wc);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    HWND other = CreateWindowW(wc.lpszClassName, L"Frame probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, sw - 200,
                               sh - 150, 180, 120, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    SetFocus(other);
    const DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (static_cast<int>(until - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    DestroyWindow(other);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"corners" && argc == 4) return Corners(_wtoi(argv[2]), _wtoi(argv[3]));
    if (command == L"other" && argc == 3) return Other(_wtoi(argv[2]));
    if (argc == 3 && (command == L"hits" || command == L"iconic" || command == L"restore")) {
        HWND window = Find(argv[2]);
        if (!window) return 1;
        if (command == L"hits") return Hits(window);
        if (command == L"iconic") return std::printf("%d\n", IsIconic(window) ? 1 : 0) < 0;
        ShowWindow(window, SW_RESTORE);
        return 0;
    }
    std::fprintf(stderr, "usage: frame_probe corners WIDTH HEIGHT | hits TITLE | iconic TITLE | restore TITLE | "
                         "other SECONDS\n");
    return 64;
}

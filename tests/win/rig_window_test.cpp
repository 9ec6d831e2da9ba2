// The Windows test rig is real: a top-level window on the (virtual) display,
// a 24-bit DIB section painted in memory, copied to the window, and the pixels
// read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

HWND CreateTopLevel(int width, int height) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RigProbeWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"rig probe", WS_POPUP | WS_VISIBLE, 40, 40, width,
                                height, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(hwnd);
    return hwnd;
}

void PumpMessages(int millis) {
    DWORD until = GetTickCount() + millis;
    while (GetTickCount() < until) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
}

}  // namespace

TEST(Rig, DibSectionBlittedToWindowReadsBackFromScreen) {
    const int width = 64, height = 48;
    HWND hwnd = CreateTopLevel(width, height);
    ASSERT_NE(hwnd, nullptr);
    PumpMessages(300);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    const int stride = (width * 3 + 3) & ~3;
    // Left half one colour, right half another, so an offset or a swapped channel shows.
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(bits) + y * stride;
        for (int x = 0; x < width; ++x) {
            bool left = x < width / 2;
            row[x * 3 + 0] = left ? 0x30 : 0xC0;   // blue
            row[x * 3 + 1] = left ? 0x60 : 0x20;   // green
            row[x * 3 + 2] = left ? 0x90 : 0x10;   // red
        }
    }
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, dib);
    HDC window = GetDC(hwnd);
    ASSERT_TRUE(BitBlt(window, 0, 0, width, height, memory, 0, 0, SRCCOPY));
    ReleaseDC(hwnd, window);
    GdiFlush();
    PumpMessages(200);

    HDC screen = GetDC(nullptr);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(GetPixel(screen, origin.x + 5, origin.y + 5), RGB(0x90, 0x60, 0x30));
    EXPECT_EQ(GetPixel(screen, origin.x + width - 5, origin.y + height - 5), RGB(0x10, 0x20, 0xC0));
    ReleaseDC(nullptr, screen);

    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    DestroyWindow(hwnd);
}

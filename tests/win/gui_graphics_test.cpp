// Bitmaps, canvases and fonts over real GDI, with the framework's own object counts.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "gui/dialogs.h"
#include "gui/exceptions.h"
#include "gui/graphics.h"
#include "gui/text.h"
#include "gui/text_file.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

TColor PixelAt(TBitmap& b, int x, int y) {
    const std::uint8_t* p = b.ScanLine(y) + x * 3;
    return TColor(p[2]) | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
}

TEST(Bitmap, SizeSettersKeepTheSharedAreaAndCanvasDrawsIntoTheRows) {
    TGdiCounters before = GdiCounters();
    {
        TBitmap bitmap(4, 3);
        EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
        bitmap.Pixels().SetPixel(1, 1, 0x00123456);
        bitmap.SetWidth(8);
        bitmap.SetHeight(2);
        EXPECT_EQ(bitmap.Width(), 8);
        EXPECT_EQ(bitmap.Height(), 2);
        EXPECT_EQ(PixelAt(bitmap, 1, 1), 0x00123456u);
        EXPECT_EQ(PixelAt(bitmap, 6, 1), 0u);   // new area is black
        EXPECT_THROW(bitmap.ScanLine(2), EInvalidOperation);
        EXPECT_THROW(bitmap.ScanLine(-1), EInvalidOperation);

        TCanvas& canvas = bitmap.Canvas();
        canvas.Brush().SetColor(0x000000FF);
        canvas.FillRect({2, 0, 4, 2});
        EXPECT_EQ(PixelAt(bitmap, 2, 0), 0x000000FFu);
        EXPECT_EQ(PixelAt(bitmap, 3, 1), 0x000000FFu);
        EXPECT_EQ(PixelAt(bitmap, 4, 1), 0u);
        EXPECT_EQ(GdiCounters().DeviceContexts, before.DeviceContexts + 1);

        bitmap.SetSize(60, 20);   // the canvas follows the new pixels
        bitmap.Canvas().Brush().SetColor(clWhite);
        bitmap.Canvas().FillRect({0, 0, 60, 20});
        bitmap.Canvas().Font().SetColor(clBlack);
        SIZE extent = bitmap.Canvas().TextExtent("Korvel");
        EXPECT_GT(extent.cx, 10);
        EXPECT_GT(extent.cy, 5);
        RECT r{0, 0, 60, 20};
        bitmap.Canvas().DrawText("Korvel", r, DT_LEFT | DT_TOP | DT_SINGLELINE);
        int dark = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 60; ++x) dark += PixelAt(bitmap, x, y) != clWhite;
        EXPECT_GT(dark, 10);
    }
    TGdiCounters after = GdiCounters();
    EXPECT_EQ(after.Bitmaps, before.Bitmaps);
    EXPECT_EQ(after.DeviceContexts, before.DeviceContexts);
    EXPECT_EQ(after.Brushes, before.Brushes);
    EXPECT_EQ(after.Fonts, before.Fonts);
    EXPECT_EQ(LivePixelStores(), 0);
}

TEST(Font, HandleIsCachedUntilADescribingPropertyChanges) {
    int fonts = GdiCounters().Fonts;
    {
        TFont font;
        HFONT first = font.Handle();
        EXPECT_EQ(font.Handle(), first);
        EXPECT_EQ(GdiCounters().Fonts, fonts + 1);
        font.SetColor(clRed);   // the colour is not part of the GDI font
        EXPECT_EQ(font.Handle(), first);
        font.SetHeight(-20);
        LOGFONTW lf{};
        GetObjectW(font.Handle(), sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, -20);
        font.SetStyle(fsBold | fsItalic);
        GetObjectW(font.Handle(), sizeof(lf), &lf);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_TRUE(lf.lfItalic);
        EXPECT_EQ(GdiCounters().Fonts, fonts + 1);
        int changes = 0;
        font.OnChange = [&] { ++changes; };
        font.SetName("MS Sans Serif");
        font.SetName("Tahoma");
        EXPECT_EQ(changes, 1);
    }
    EXPECT_EQ(GdiCounters().Fonts, fonts);
}

TEST(Canvas, AChangedBrushPenOrFontIsDeselectedBeforeItIsFreed) {
    // Win32 refuses to delete an object a DC still selects (it leaks); Wine only
    // defers the deletion, so the test asks whether the old object is really gone.
    struct {
        const char* change;
        DWORD type;
        int TGdiCounters::*counter;
        std::function<void(TCanvas&)> draw;    // selects the object into the DC
        std::function<void(TCanvas&)> apply;
    } const cases[] = {
        {"brush colour", OBJ_BRUSH, &TGdiCounters::Brushes, [](TCanvas& c) { c.FillRect({0, 0, 8, 8}); },
         [](TCanvas& c) { c.Brush().SetColor(0x00336699); }},
        {"pen colour", OBJ_PEN, &TGdiCounters::Pens, [](TCanvas& c) { c.MoveTo(0, 0); c.LineTo(7, 0); },
         [](TCanvas& c) { c.Pen().SetColor(0x00996633); }},
        {"pen width", OBJ_PEN, &TGdiCounters::Pens, [](TCanvas& c) { c.MoveTo(0, 0); c.LineTo(7, 0); },
         [](TCanvas& c) { c.Pen().SetWidth(3); }},
        {"font height", OBJ_FONT, &TGdiCounters::Fonts, [](TCanvas& c) { c.TextOut(0, 0, "W"); },
         [](TCanvas& c) { c.Font().SetHeight(-20); }},
        {"font style", OBJ_FONT, &TGdiCounters::Fonts, [](TCanvas& c) { c.TextOut(0, 0, "W"); },
         [](TCanvas& c) { c.Font().SetStyle(fsBold); }},
    };
    for (const auto& c : cases) {
        TBitmap bitmap(16, 16);
        HDC dc = bitmap.Canvas().Handle();
        HGDIOBJ original = GetCurrentObject(dc, c.type);
        TCanvas canvas(dc);
        c.draw(canvas);
        HGDIOBJ old = GetCurrentObject(dc, c.type);
        ASSERT_NE(old, original) << c.change;
        int live = GdiCounters().*c.counter;
        c.apply(canvas);
        EXPECT_EQ(GetCurrentObject(dc, c.type), original) << c.change << ": the DC's own object is back";
        EXPECT_EQ(GetObjectType(old), 0u) << c.change << ": the old object is really deleted";
        EXPECT_EQ(GdiCounters().*c.counter, live - 1) << c.change;
        c.draw(canvas);   // draws with the new object
        EXPECT_NE(GetCurrentObject(dc, c.type), original) << c.change;
        canvas.SetHandle(nullptr);
        EXPECT_EQ(GetCurrentObject(dc, c.type), original) << c.change;
    }
    // The new brush colour is what a fill paints.
    TBitmap bitmap(4, 4);
    TCanvas canvas(bitmap.Canvas().Handle());
    canvas.Brush().SetColor(0x000000FF);
    canvas.FillRect({0, 0, 4, 4});
    canvas.Brush().SetColor(0x00336699);
    canvas.FillRect({0, 0, 2, 4});
    EXPECT_EQ(PixelAt(bitmap, 0, 0), 0x00336699u);
    EXPECT_EQ(PixelAt(bitmap, 3, 0), 0x000000FFu);
}

TEST(Canvas, LockNestsAndAnUnmatchedUnlockIsAnError) {
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_THROW(canvas.Unlock(), EInvalidOperation);
    EXPECT_THROW(canvas.TextOut(0, 0, "x"), EInvalidOperation);   // no device context
}

std::string TempPath(const std::string& name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return Narrow(dir) + name;
}

// A 3x2 bottom-up 24-bit BMP file.
std::string SmallBmp() {
    const int w = 3, h = 2, row = 12;
    std::string bytes(54 + row * h, '\0');
    auto put32 = [&](size_t at, std::uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    bytes[26] = 1;
    bytes[28] = 24;
    // bottom row (y = 1 in the image): blue pixels; top row (y = 0): red pixels
    for (int x = 0; x < w; ++x) {
        bytes[54 + x * 3 + 0] = '\xFF';
        bytes[54 + row + x * 3 + 2] = '\xFF';
    }
    return bytes;
}

TEST(Bitmap, LoadsAFileAsTwentyFourBitsOrNamesTheMissingOne) {
    std::string path = TempPath("korvel_gui_small \xC3\xA4.bmp");   // a name outside the ANSI code page survives
    WriteTextFile(path, SmallBmp());
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&] { ++changes; };
    bitmap.LoadFromFile(path);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), 0x000000FFu);
    EXPECT_EQ(PixelAt(bitmap, 2, 1), 0x00FF0000u);
    EXPECT_EQ(changes, 1);
    DeleteFileW(Widen(path).c_str());
    EXPECT_THROW(bitmap.LoadFromFile(path), EFOpenError);
    EXPECT_EQ(bitmap.Width(), 3);

    std::string garbage = TempPath("korvel_gui_garbage.bmp");
    WriteTextFile(garbage, "not a bitmap at all");
    EXPECT_THROW(bitmap.LoadFromFile(garbage), Exception);
    DeleteFileW(Widen(garbage).c_str());
}

TEST(Bitmap, PackedDibIsCheckedBeforeItIsRead) {
    std::string good = SmallBmp().substr(14);   // the file without its file header
    TBitmap bitmap;
    bitmap.LoadFromDib(good.data(), good.size(), "good");
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), 0x00FF0000u);
    auto patched = [&](size_t at, std::uint32_t value, size_t size) {
        std::string bytes = good;
        std::memcpy(&bytes[at], &value, 4);
        bytes.resize(size);
        return bytes;
    };
    struct { const char* what; std::string bytes; } bad[] = {
        {"shorter than a header", good.substr(0, 20)},
        {"rows cut off", good.substr(0, good.size() - 1)},
        {"zero width", patched(4, 0, good.size())},
        {"height beyond the data", patched(8, 5000, good.size())},
        {"header size beyond the data", patched(0, 4000, good.size())},
        {"odd bit count", patched(12, 1 | (7u << 16), good.size())},
        {"compressed", patched(16, BI_RLE8, good.size())},
    };
    for (const auto& b : bad) {
        EXPECT_THROW(bitmap.LoadFromDib(b.bytes.data(), b.bytes.size(), b.what), Exception) << b.what;
        EXPECT_EQ(bitmap.Width(), 3) << b.what;   // the old picture stays
    }
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Drives the first file dialog of the process: types a name (if any) and presses a button.
void AnswerFileDialog(const std::wstring& fileName, int button, std::atomic<bool>& done) {
    for (int i = 0; i < 200 && !done; ++i) {
        HWND dialog = nullptr;
        EnumWindows(
            [](HWND h, LPARAM out) -> BOOL {
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                wchar_t cls[16] = {};
                GetClassNameW(h, cls, 16);
                if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(h)) {
                    *reinterpret_cast<HWND*>(out) = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialog));
        if (dialog) {
            Sleep(300);
            if (!fileName.empty()) SendMessageW(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
            PostMessageW(dialog, WM_COMMAND, button, 0);
            done = true;
        }
        Sleep(50);
    }
}

TEST(FileDialog, ConfirmedNameIsKeptAndACancelledDialogKeepsTheLastName) {
    std::string chosen = TempPath("korvel_gui_chosen.cfg");
    WriteTextFile(chosen, "10.0.0.1\r\n");
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Config files|*.cfg|All files|*.*");
    dialog.SetDefaultExt("cfg");
    EXPECT_EQ(dialog.FileName(), "");

    std::atomic<bool> done{false};
    std::thread cancelFirst(AnswerFileDialog, std::wstring(), IDCANCEL, std::ref(done));
    EXPECT_FALSE(dialog.Execute());
    cancelFirst.join();
    EXPECT_EQ(dialog.FileName(), "");

    // The dialog sets no options of its own beyond the defaults: a dialog
    // that browsed to a folder and confirmed a file there leaves the process
    // in that folder, as any plain file dialog does (no "keep the current
    // folder" option).
    const std::string chosenFolder = chosen.substr(0, chosen.find_last_of('\\'));
    dialog.SetInitialDir(chosenFolder);
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    wchar_t windowsFolder[MAX_PATH] = {};
    GetWindowsDirectoryW(windowsFolder, MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryW(windowsFolder));
    done = false;
    std::thread confirm(AnswerFileDialog, Widen(chosen), IDOK, std::ref(done));
    EXPECT_TRUE(dialog.Execute());
    confirm.join();
    EXPECT_EQ(Lower(dialog.FileName()), Lower(chosen));
    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(Lower(Narrow(after)), Lower(chosenFolder));
    SetCurrentDirectoryW(before);

    done = false;
    std::thread cancel(AnswerFileDialog, std::wstring(), IDCANCEL, std::ref(done));
    EXPECT_FALSE(dialog.Execute());
    cancel.join();
    EXPECT_EQ(Lower(dialog.FileName()), Lower(chosen));
    DeleteFileW(Widen(chosen).c_str());
}

}  // namespace
}  // namespace korvel

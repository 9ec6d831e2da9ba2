#pragma once
// Drawing objects over GDI: colours, fonts, brushes, pens, canvases over any
// device context, 24-bit bitmaps with row access, icons. Each GDI object the
// framework creates is counted (see GdiCounters), because under Wine the
// system's own counters answer 0.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gui/bitmap24.h"
#include "gui/component.h"
#include "gui/system_colors.h"

namespace korvel {

// Colours are the program's one colour type, 0x00BBGGRR; a high byte of 0xFF
// marks a system colour (the low byte is the COLOR_* index). clSystemColor and
// clBtnFace come with the type; the other system colours the framework uses:
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;

// A system colour becomes its current RGB value; other colours are returned as they are.
TColor ColorToRGB(TColor color);

// Live GDI objects and USER windows created by the framework.
struct TGdiCounters {
    int Bitmaps = 0;
    int Fonts = 0;
    int Brushes = 0;
    int Pens = 0;
    int Regions = 0;
    int DeviceContexts = 0;
    int Icons = 0;
    int Windows = 0;
    int Menus = 0;   // Win32 menus of the framework's menu items
};
TGdiCounters& GdiCounters();

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// A font description with its GDI handle created on first use and cached until
// a property changes.
class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;
    std::string ClassName() const override { return "TFont"; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& value);
    int Height() const { return height_; }     // negative: character height in pixels
    void SetHeight(int value);
    int Size() const;                          // points at the screen's pixels per inch
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Charset() const { return charset_; }
    void SetCharset(int value);

    HFONT Handle();
    void Assign(const TPersistent& source) override;
    // True while OnChange reports a change that leaves the handle as it is (the
    // colour): a window that was given the handle needs no new WM_SETFONT.
    bool ChangeKeepsHandle() const { return changeKeepsHandle_; }

    // Told after every change (the owning control repaints and notifies).
    std::function<void()> OnChange;
    // Told before the handle is deleted, so a device context that selects it lets it go first.
    std::function<void()> OnFreeHandle;

private:
    void Changed();
    void FreeHandle();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    HFONT handle_ = nullptr;
    bool changeKeepsHandle_ = false;
};

class TBrush : public TPersistent {
public:
    TBrush() = default;
    ~TBrush() override;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    HBRUSH Handle();
    std::function<void()> OnFreeHandle;   // as TFont's

private:
    void FreeHandle();
    TColor color_ = clWhite;
    HBRUSH handle_ = nullptr;
};

class TPen : public TPersistent {
public:
    TPen() = default;
    ~TPen() override;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);
    HPEN Handle();
    std::function<void()> OnFreeHandle;   // as TFont's

private:
    void FreeHandle();
    TColor color_ = clBlack;
    int width_ = 1;
    HPEN handle_ = nullptr;
};

// Drawing on a device context that someone else owns (a paint DC, a memory DC).
// Font, brush and pen are selected into the DC when a drawing call needs them
// and deselected when the canvas lets go of the DC.
class TCanvas : public TPersistent {
public:
    TCanvas();
    explicit TCanvas(HDC dc) : TCanvas() { SetHandle(dc); }
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc);

    TFont& Font() { return font_; }
    TBrush& Brush() { return brush_; }
    TPen& Pen() { return pen_; }

    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void TextOut(int x, int y, const std::string& text);
    // DrawTextW with the canvas font; returns the text height. With DT_CALCRECT the rectangle is updated.
    int DrawText(const std::string& text, RECT& rect, UINT format);
    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    // Serialises drawing on the canvas across threads; nests.
    void Lock();
    void Unlock();
    int LockCount() const { return lockCount_; }

private:
    void RequireFont();
    void RequireBrush();
    void RequirePen();
    void Deselect();
    // Puts the DC's own object back in place of ours (Win32 cannot delete a selected object).
    void DeselectOne(HGDIOBJ& old);

    HDC dc_ = nullptr;
    TFont font_;
    TBrush brush_;
    TPen pen_;
    HGDIOBJ oldFont_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    int lockCount_ = 0;
    CRITICAL_SECTION* lock_ = nullptr;
};

enum class TPixelFormat { pfDevice, pf24bit };

// A 24-bit device-independent bitmap: pixels in a TBitmap24 (a DIB section),
// a canvas over a memory DC that selects it.
class TBitmap : public TPersistent {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    std::string ClassName() const override { return "TBitmap"; }

    int Width() const { return pixels_.Width(); }
    int Height() const { return pixels_.Height(); }
    // Each setter keeps the pixels of the area both sizes share.
    void SetWidth(int value) { SetSize(value, Height()); }
    void SetHeight(int value) { SetSize(Width(), value); }
    void SetSize(int width, int height);
    bool Empty() const { return pixels_.Empty(); }

    // Always pf24bit once the bitmap has pixels; setting converts (24 bits is the only storage).
    TPixelFormat PixelFormat() const { return TPixelFormat::pf24bit; }
    void SetPixelFormat(TPixelFormat) {}

    std::uint8_t* ScanLine(int y);
    TBitmap24& Pixels() { return pixels_; }
    const TBitmap24& Pixels() const { return pixels_; }
    HBITMAP Handle() const { return static_cast<HBITMAP>(pixels_.Handle()); }

    TCanvas& Canvas();

    // Any bitmap file Windows reads (BMP), converted to 24 bits. Throws EFOpenError.
    void LoadFromFile(const std::string& path);
    // A bitmap resource of the module (RT_BITMAP), converted to 24 bits.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    // A packed device-independent bitmap (header, colour table, pixels), checked
    // against Size before a byte is read. What names it in the error message.
    void LoadFromDib(const void* data, size_t size, const std::string& what);
    void Assign(const TPersistent& source) override;

    std::function<void()> OnChange;

private:
    void LoadFromHandle(HBITMAP source);
    void ReleaseCanvas();

    TBitmap24 pixels_;
    std::unique_ptr<TCanvas> canvas_;
    HDC memoryDc_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

class TIcon : public TPersistent {
public:
    TIcon() = default;
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    HICON Handle() const { return handle_; }
    bool Empty() const { return handle_ == nullptr; }
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromFile(const std::string& path);
    std::function<void()> OnChange;

private:
    void SetHandle(HICON icon);
    HICON handle_ = nullptr;
};

// Counted wrappers for the few raw GDI objects other code creates through the framework.
HDC CreateCountedMemoryDC(HDC reference);
void DeleteCountedDC(HDC dc);
HRGN CreateCountedRectRgn(int left, int top, int right, int bottom);
void DeleteCountedRegion(HRGN region);

}  // namespace korvel

#include "gui/graphics.h"

#include <algorithm>
#include <cstring>

#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

static_assert(clBtnFace == (clSystemColor | COLOR_BTNFACE), "system colours carry the COLOR_* index");

TGdiCounters& GdiCounters() {
    static auto* counters = new TGdiCounters;   // outlives every static object that frees GDI objects
    return *counters;
}

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF)) & 0xFFFFFF;
    return color;
}

// ---- TFont ----------------------------------------------------------------

TFont::TFont() = default;

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() {
    if (!handle_) return;
    if (OnFreeHandle) OnFreeHandle();
    if (DeleteObject(handle_)) --GdiCounters().Fonts;   // a failed deletion stays counted: it leaked
    handle_ = nullptr;
}

void TFont::Changed() {
    FreeHandle();
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& value) {
    if (value == name_) return;
    name_ = value;
    Changed();
}

void TFont::SetHeight(int value) {
    if (value == height_) return;
    height_ = value;
    Changed();
}

static int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetStyle(TFontStyles value) {
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    if (!OnChange) return;
    // The handle does not depend on the colour.
    changeKeepsHandle_ = true;
    try {
        OnChange();
    } catch (...) {
        changeKeepsHandle_ = false;
        throw;
    }
    changeKeepsHandle_ = false;
}

void TFont::SetCharset(int value) {
    if (value == charset_) return;
    charset_ = value;
    Changed();
}

HFONT TFont::Handle() {
    if (handle_) return handle_;
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    std::wstring face = Widen(name_);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectW(&lf);
    if (handle_) ++GdiCounters().Fonts;
    return handle_;
}

void TFont::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TFont*>(&source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    name_ = other->name_;
    height_ = other->height_;
    style_ = other->style_;
    color_ = other->color_;
    charset_ = other->charset_;
    Changed();
}

// ---- TBrush, TPen -----------------------------------------------------------

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle() {
    if (!handle_) return;
    if (OnFreeHandle) OnFreeHandle();
    if (DeleteObject(handle_)) --GdiCounters().Brushes;
    handle_ = nullptr;
}

void TBrush::SetColor(TColor value) {
    FreeHandle();
    color_ = value;
}

HBRUSH TBrush::Handle() {
    if (!handle_) {
        handle_ = CreateSolidBrush(ColorToRGB(color_));
        if (handle_) ++GdiCounters().Brushes;
    }
    return handle_;
}

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle() {
    if (!handle_) return;
    if (OnFreeHandle) OnFreeHandle();
    if (DeleteObject(handle_)) --GdiCounters().Pens;
    handle_ = nullptr;
}

void TPen::SetColor(TColor value) {
    FreeHandle();
    color_ = value;
}

void TPen::SetWidth(int value) {
    FreeHandle();
    width_ = value;
}

HPEN TPen::Handle() {
    if (!handle_) {
        handle_ = CreatePen(PS_SOLID, width_, ColorToRGB(color_));
        if (handle_) ++GdiCounters().Pens;
    }
    return handle_;
}

// ---- TCanvas ------------------------------------------------------------------

TCanvas::TCanvas() {
    font_.OnFreeHandle = [this] { DeselectOne(oldFont_); };
    brush_.OnFreeHandle = [this] { DeselectOne(oldBrush_); };
    pen_.OnFreeHandle = [this] { DeselectOne(oldPen_); };
}

TCanvas::~TCanvas() {
    Deselect();
    // The members go after this body; their handles are no longer in any DC.
    font_.OnFreeHandle = brush_.OnFreeHandle = pen_.OnFreeHandle = nullptr;
    if (lock_) {
        DeleteCriticalSection(lock_);
        delete lock_;
    }
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    Deselect();
    dc_ = dc;
}

void TCanvas::Deselect() {
    DeselectOne(oldFont_);
    DeselectOne(oldBrush_);
    DeselectOne(oldPen_);
}

void TCanvas::DeselectOne(HGDIOBJ& old) {
    if (dc_ && old) SelectObject(dc_, old);
    old = nullptr;
}

void TCanvas::RequireFont() {
    if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
    HGDIOBJ previous = SelectObject(dc_, font_.Handle());
    if (!oldFont_) oldFont_ = previous;
    SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::RequireBrush() {
    if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
    HGDIOBJ previous = SelectObject(dc_, brush_.Handle());
    if (!oldBrush_) oldBrush_ = previous;
}

void TCanvas::RequirePen() {
    if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
    HGDIOBJ previous = SelectObject(dc_, pen_.Handle());
    if (!oldPen_) oldPen_ = previous;
}

SIZE TCanvas::TextExtent(const std::string& text) {
    RequireFont();
    std::wstring wide = Widen(text);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    RequireFont();
    std::wstring wide = Widen(text);
    ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

int TCanvas::DrawText(const std::string& text, RECT& rect, UINT format) {
    RequireFont();
    std::wstring wide = Widen(text);
    return ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

void TCanvas::FillRect(const RECT& rect) {
    RequireBrush();
    ::FillRect(dc_, &rect, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
    RequireBrush();
    ::FrameRect(dc_, &rect, brush_.Handle());
}

void TCanvas::MoveTo(int x, int y) {
    RequirePen();
    MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    ::LineTo(dc_, x, y);
}

void TCanvas::Lock() {
    if (!lock_) {
        lock_ = new CRITICAL_SECTION;
        InitializeCriticalSection(lock_);
    }
    EnterCriticalSection(lock_);
    ++lockCount_;
}

void TCanvas::Unlock() {
    if (!lock_ || lockCount_ == 0) throw EInvalidOperation("Canvas unlocked more often than locked");
    --lockCount_;
    LeaveCriticalSection(lock_);
}

// ---- TBitmap --------------------------------------------------------------------

TBitmap::TBitmap() { ++GdiCounters().Bitmaps; }

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() {
    ReleaseCanvas();
    --GdiCounters().Bitmaps;
}

void TBitmap::ReleaseCanvas() {
    if (!memoryDc_) return;
    canvas_->SetHandle(nullptr);
    SelectObject(memoryDc_, oldBitmap_);
    DeleteCountedDC(memoryDc_);
    memoryDc_ = nullptr;
    oldBitmap_ = nullptr;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    TBitmap24 resized(width, height, pixels_.RowOrder());
    int w = std::min(width, Width()), h = std::min(height, Height());
    for (int y = 0; y < h; ++y) std::memcpy(resized.ScanLine(y), pixels_.ScanLine(y), static_cast<size_t>(w) * 3);
    bool hadCanvas = memoryDc_ != nullptr;
    ReleaseCanvas();
    pixels_ = std::move(resized);
    if (hadCanvas) Canvas();
    if (OnChange) OnChange();
}

std::uint8_t* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= Height())
        throw EInvalidOperation(FormatText("Scan line index out of range (%d)", {std::to_string(y)}));
    GdiFlush();   // drawing through the canvas must land before the row is read
    return pixels_.ScanLine(y);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    if (!memoryDc_) {
        memoryDc_ = CreateCountedMemoryDC(nullptr);
        if (Handle()) oldBitmap_ = SelectObject(memoryDc_, Handle());
        canvas_->SetHandle(memoryDc_);
    }
    return *canvas_;
}

void TBitmap::LoadFromHandle(HBITMAP source) {
    BITMAP info{};
    GetObjectW(source, sizeof(info), &info);
    ReleaseCanvas();
    pixels_ = TBitmap24(info.bmWidth, std::abs(info.bmHeight));
    if (!pixels_.Empty()) {
        HDC src = CreateCountedMemoryDC(nullptr);
        HDC dst = CreateCountedMemoryDC(nullptr);
        HGDIOBJ oldSrc = SelectObject(src, source);
        HGDIOBJ oldDst = SelectObject(dst, Handle());
        BitBlt(dst, 0, 0, Width(), Height(), src, 0, 0, SRCCOPY);
        SelectObject(src, oldSrc);
        SelectObject(dst, oldDst);
        DeleteCountedDC(src);
        DeleteCountedDC(dst);
        GdiFlush();
    }
    if (OnChange) OnChange();
}

void TBitmap::LoadFromFile(const std::string& path) {
    std::wstring wide = Widen(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw EFOpenError(path, GetLastError());
    auto loaded = static_cast<HBITMAP>(LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!loaded) throw Exception(FormatText("Bitmap image is not valid: \"%s\"", {path}));
    LoadFromHandle(loaded);
    DeleteObject(loaded);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    // Read the resource bytes directly: LoadImage refuses modules loaded as data files.
    std::wstring wide = Widen(name);
    HRSRC found = FindResourceW(instance, wide.c_str(), MAKEINTRESOURCEW(2));   // RT_BITMAP
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EInvalidOperation(FormatText("Bitmap resource %s not found", {name}));
    LoadFromDib(data, SizeofResource(instance, found), name);
}

void TBitmap::LoadFromDib(const void* data, size_t size, const std::string& what) {
    auto invalid = [&] { throw Exception(FormatText("Bitmap image is not valid: \"%s\"", {what})); };
    if (size < sizeof(BITMAPINFOHEADER)) invalid();
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 32768 || std::abs(header.biHeight) > 32768 || header.biPlanes != 1)
        invalid();
    int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) invalid();
    if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) invalid();
    size_t colors = header.biClrUsed ? header.biClrUsed : (bits <= 8 ? (size_t{1} << bits) : 0);
    if (colors > 256) invalid();
    size_t masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
    size_t offset = header.biSize + masks + colors * 4;
    size_t rowBytes = ((static_cast<size_t>(header.biWidth) * bits + 31) / 32) * 4;
    int height = std::abs(header.biHeight);
    if (offset > size || rowBytes * static_cast<size_t>(height) > size - offset) invalid();
    ReleaseCanvas();
    pixels_ = TBitmap24(header.biWidth, height);
    HDC dc = CreateCountedMemoryDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Handle());
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    StretchDIBits(dc, 0, 0, header.biWidth, height, 0, 0, header.biWidth, height, bytes + offset,
                  reinterpret_cast<const BITMAPINFO*>(bytes), DIB_RGB_COLORS, SRCCOPY);
    SelectObject(dc, old);
    DeleteCountedDC(dc);
    GdiFlush();
    if (OnChange) OnChange();
}

void TBitmap::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TBitmap*>(&source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    ReleaseCanvas();
    GdiFlush();
    pixels_ = other->pixels_.Clone();
    if (OnChange) OnChange();
}

// ---- TIcon -----------------------------------------------------------------------

TIcon::~TIcon() { SetHandle(nullptr); }

void TIcon::SetHandle(HICON icon) {
    if (handle_) {
        DestroyIcon(handle_);
        --GdiCounters().Icons;
    }
    handle_ = icon;
    if (handle_) ++GdiCounters().Icons;
    if (OnChange) OnChange();
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    auto icon = static_cast<HICON>(LoadImageW(instance, Widen(name).c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) throw EInvalidOperation(FormatText("Icon resource %s not found", {name}));
    SetHandle(icon);
}

void TIcon::LoadFromFile(const std::string& path) {
    std::wstring wide = Widen(path);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) throw EFOpenError(path, GetLastError());
    auto icon = static_cast<HICON>(LoadImageW(nullptr, wide.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    if (!icon) throw Exception(FormatText("Icon image is not valid: \"%s\"", {path}));
    SetHandle(icon);
}

// ---- counted raw objects ----------------------------------------------------------

HDC CreateCountedMemoryDC(HDC reference) {
    HDC dc = CreateCompatibleDC(reference);
    if (dc) ++GdiCounters().DeviceContexts;
    return dc;
}

void DeleteCountedDC(HDC dc) {
    if (dc && DeleteDC(dc)) --GdiCounters().DeviceContexts;
}

HRGN CreateCountedRectRgn(int left, int top, int right, int bottom) {
    HRGN region = CreateRectRgn(left, top, right, bottom);
    if (region) ++GdiCounters().Regions;
    return region;
}

void DeleteCountedRegion(HRGN region) {
    if (region && DeleteObject(region)) --GdiCounters().Regions;
}

}  // namespace korvel

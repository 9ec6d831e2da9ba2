#include "paint/platform_canvas_win.h"

#include <vector>

#include "gui/system_colors.h"

namespace korvel {
namespace {

COLORREF Ref(TColor c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

// A memory DC with a working bitmap selected, restored and freed on scope exit.
class TBitmapDC {
public:
    explicit TBitmapDC(const TBitmap24& bitmap) : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_ && bitmap.Handle()) old_ = SelectObject(dc_, static_cast<HBITMAP>(bitmap.Handle()));
    }
    ~TBitmapDC() {
        if (old_) SelectObject(dc_, old_);
        if (dc_) DeleteDC(dc_);
    }
    TBitmapDC(const TBitmapDC&) = delete;
    TBitmapDC& operator=(const TBitmapDC&) = delete;
    bool Ok() const { return dc_ && old_; }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

TGdiPaintPlatform gdiPlatform;

}  // namespace

void InstallGdiPaintPlatform() { SetPaintPlatform(&gdiPlatform); }

void TGdiPaintPlatform::FillRoundRect(TBitmap24& bitmap, const TRect& rect, int corner, TColor color) {
    TBitmapDC dc(bitmap);
    if (!dc.Ok()) return;
    const int saved = SaveDC(dc.Get());
    HBRUSH brush = CreateSolidBrush(Ref(color));
    SelectObject(dc.Get(), GetStockObject(NULL_PEN));
    SelectObject(dc.Get(), brush);
    RoundRect(dc.Get(), rect.Left, rect.Top, rect.Right, rect.Bottom, corner, corner);
    RestoreDC(dc.Get(), saved);
    DeleteObject(brush);
}

void TGdiPaintPlatform::StretchCopy(TBitmap24& dest, const TRect& destRect, const TBitmap24& source,
                                    const TRect& sourceRect) {
    TBitmapDC d(dest), s(source);
    if (!d.Ok() || !s.Ok()) return;
    StretchBlt(d.Get(), destRect.Left, destRect.Top, destRect.Width(), destRect.Height(), s.Get(), sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), SRCCOPY);
}

void TGdiPaintPlatform::GradientTriangles(TBitmap24& dest, std::span<const TGradientVertex> vertices,
                                          std::span<const TGradientTriangle> triangles) {
    TBitmapDC d(dest);
    if (!d.Ok() || vertices.empty() || triangles.empty()) return;
    std::vector<TRIVERTEX> v;
    for (const TGradientVertex& p : vertices) {
        TRIVERTEX t{};
        t.x = p.X;
        t.y = p.Y;
        t.Red = static_cast<COLOR16>(RedOf(p.Color) << 8);
        t.Green = static_cast<COLOR16>(GreenOf(p.Color) << 8);
        t.Blue = static_cast<COLOR16>(BlueOf(p.Color) << 8);
        v.push_back(t);
    }
    std::vector<GRADIENT_TRIANGLE> t;
    for (const TGradientTriangle& g : triangles)
        t.push_back({static_cast<ULONG>(g.A), static_cast<ULONG>(g.B), static_cast<ULONG>(g.C)});
    GradientFill(d.Get(), v.data(), static_cast<ULONG>(v.size()), t.data(), static_cast<ULONG>(t.size()),
                 GRADIENT_FILL_TRIANGLE);
}

void FillDC(HDC dc, const TRect& rect, TColor color) {
    const int saved = SaveDC(dc);
    HBRUSH brush = CreateSolidBrush(Ref(ColorToRgb(color)));
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    RestoreDC(dc, saved);
}

void PaintSectionToDC(int skinIndex, const TParentBackground& parentBg, const TsSkinTables* tables, TPoint point,
                      int state, bool fillCentre, HDC dc, const TRect& rect) {
    if (rect.IsEmpty()) return;
    TBitmap24 picture(rect.Width(), rect.Height());
    PaintSection(skinIndex, parentBg, tables, picture, point, {0, 0, rect.Width(), rect.Height()}, state, fillCentre);
    TBitmapDC source(picture);
    if (!source.Ok()) return;
    const int saved = SaveDC(dc);
    BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), source.Get(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

}  // namespace korvel

// The GDI drawing platform under real gdi32 and msimg32: the rounded fill, the
// stretched copy and the triangle gradient land in the working bitmap and stay
// inside it, and the core's routines give the same bytes through either platform
// where the arithmetic is the core's own.
#include <gtest/gtest.h>

#include "paint/blend.h"
#include "paint/gradient.h"
#include "paint/platform_canvas_win.h"

using namespace korvel;

TEST(GdiPaint, RoundRectWithoutPenLeavesRightColumnAndBottomRow) {
    TGdiPaintPlatform gdi;
    TBitmap24 b(10, 8);
    gdi.FillRoundRect(b, {1, 1, 9, 7}, 0, 0x00FFFFFF);
    EXPECT_EQ(b.Pixel(1, 1), 0xFFFFFFu);
    EXPECT_EQ(b.Pixel(7, 5), 0xFFFFFFu);
    EXPECT_EQ(b.Pixel(8, 5), 0u);   // the pen-less figure ends one column early
    EXPECT_EQ(b.Pixel(7, 6), 0u);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
    // Rounded corners leave the extreme corner pixel of a large radius unpainted.
    TBitmap24 r(20, 20);
    gdi.FillRoundRect(r, {0, 0, 20, 20}, 10, 0x00FFFFFF);
    EXPECT_EQ(r.Pixel(0, 0), 0u);
    EXPECT_EQ(r.Pixel(10, 10), 0xFFFFFFu);
}

TEST(GdiPaint, StretchCopyAndGradientStayInsideTheBitmap) {
    TGdiPaintPlatform gdi;
    TBitmap24 source(2, 2);
    source.SetPixel(0, 0, 0x0000FF);
    source.SetPixel(1, 0, 0x00FF00);
    source.SetPixel(0, 1, 0xFF0000);
    source.SetPixel(1, 1, 0xFFFFFF);
    TBitmap24 dest(8, 8);
    gdi.StretchCopy(dest, {2, 2, 6, 6}, source, {0, 0, 2, 2});
    EXPECT_EQ(dest.Pixel(2, 2), 0x0000FFu);
    EXPECT_EQ(dest.Pixel(5, 5), 0xFFFFFFu);
    EXPECT_EQ(dest.Pixel(1, 1), 0u);
    EXPECT_EQ(dest.Pixel(6, 6), 0u);

    SetPaintPlatform(&gdi);
    TBitmap24 mesh(12, 10);
    mesh.Fill(0x123456);
    TsGradArray stops(5);
    for (auto& s : stops) s.Mode = gmCornerMesh, s.Color1 = 0x00FF0000;
    PaintGradient(mesh, {2, 2, 10, 8}, stops);
    SetPaintPlatform(nullptr);
    EXPECT_EQ(mesh.Pixel(1, 1), 0x123456u);
    EXPECT_EQ(mesh.Pixel(10, 8), 0x123456u);
    EXPECT_EQ(mesh.Pixel(5, 5), 0x00FF0000u);
}

TEST(GdiPaint, FadeRectToColorMiddleIsTheSameThroughGdi) {
    TGdiPaintPlatform gdi;
    SetPaintPlatform(&gdi);
    TBitmap24 a(30, 20);
    a.Fill(0xFFFFFF);
    FadeRectToColor(a, {0, 0, 30, 20}, 40, 4, 3, 0);
    SetPaintPlatform(nullptr);
    TBitmap24 b(30, 20);
    b.Fill(0xFFFFFF);
    FadeRectToColor(b, {0, 0, 30, 20}, 40, 4, 3, 0);
    // Middle: grey (40 * 255) div 100 = 102 -> ((255 * 102) >> 8) = 101 on both platforms.
    EXPECT_EQ(a.Pixel(15, 10), 0x656565u);
    EXPECT_EQ(b.Pixel(15, 10), 0x656565u);
}

TEST(GdiPaint, FillDCRestoresTheDC) {
    TBitmap24 b(4, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(b.Handle()));
    HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
    FillDC(dc, {1, 1, 3, 3}, 0x00332211);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(b.Pixel(1, 1), 0x00332211u);
    EXPECT_EQ(b.Pixel(3, 3), 0u);
}

TEST(GdiPaint, InstallingTheGdiPlatformTwiceKeepsOneInstalledPlatform) {
    InstallGdiPaintPlatform();
    TPaintPlatform* first = &PaintPlatform();
    InstallGdiPaintPlatform();
    EXPECT_EQ(&PaintPlatform(), first);
    EXPECT_NE(dynamic_cast<TGdiPaintPlatform*>(first), nullptr);
    // Painting goes through it: a rounded wash of a white picture lands in the bitmap.
    TBitmap24 b(12, 10);
    b.Fill(0xFFFFFF);
    FadeRectToColor(b, {0, 0, 12, 10}, 0, 0, 0, 0);
    EXPECT_EQ(b.Pixel(6, 5), 0u);
    SetPaintPlatform(nullptr);
    EXPECT_NE(dynamic_cast<TSoftPaintPlatform*>(&PaintPlatform()), nullptr);
}

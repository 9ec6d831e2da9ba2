#pragma once
// The GDI and msimg32 drawing platform of the painting core, and the painting
// entry points that draw through a device context.
#include <windows.h>

#include "paint/item.h"
#include "paint/platform_canvas.h"

namespace korvel {

class TGdiPaintPlatform : public TPaintPlatform {
public:
    void FillRoundRect(TBitmap24& bitmap, const TRect& rect, int corner, TColor color) override;
    void StretchCopy(TBitmap24& dest, const TRect& destRect, const TBitmap24& source,
                     const TRect& sourceRect) override;
    void GradientTriangles(TBitmap24& dest, std::span<const TGradientVertex> vertices,
                           std::span<const TGradientTriangle> triangles) override;
};

// Makes GDI the painting platform of the process. The program calls it at
// start-up before the first skin is painted; further calls change nothing (the
// same process-wide object is installed again).
void InstallGdiPaintPlatform();

// Fills rect of dc with a solid brush of color (as RGB), leaving the DC as it was.
void FillDC(HDC dc, const TRect& rect, TColor color);

// PaintSection into a picture of rect's size, copied to dc at rect.
void PaintSectionToDC(int skinIndex, const TParentBackground& parentBg, const TsSkinTables* tables, TPoint point,
                      int state, bool fillCentre, HDC dc, const TRect& rect);

}  // namespace korvel

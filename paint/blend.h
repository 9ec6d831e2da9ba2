#pragma once
// Blends of a bitmap with a colour, with another bitmap and with a background;
// the transparent copy; the grey and disabled looks; the soft rounded wash.
// Every routine clips to the bitmaps it touches and never writes outside them.
#include <cstdint>

#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "paint/shared_state.h"
#include "gui/colors.h"

namespace korvel {

// A key colour that matches no pixel (any value above 0xFEFFFFFF does).
constexpr TColor clNoKey = 0xFFFFFFFF;

// Alpha is the weight of Dest: 255 keeps Dest (up to the loss of the shift), 0 gives Source.
void BlendBitmap(TBitmap24& dest, TBitmap24& source, std::uint8_t alpha);
// As BlendBitmap for sourceRect (Right and Bottom exclusive) of source placed at destPoint.
void BlendBitmapAt(TBitmap24& dest, TBitmap24& source, std::uint8_t alpha, TPoint destPoint, TRect sourceRect);

// rect is inclusive. Each channel := Round(f * value + (1 - f) * colour channel), f = percent / 100.
void BlendRectWithColor(TBitmap24& bitmap, TRect rect, int percent, TColor color);
// What BlendRectWithColor makes of a pixel of colour pixel (RGB).
TColor BlendColorWithColor(TColor pixel, int percent, TColor color);

// sourceRect is inclusive. Every source pixel other than keyColor that lands inside dest:
// dest := Round(p - factor * (p - dest)), so factor is the weight the destination keeps.
// A factor that is not a finite number draws nothing.
void BlendOver(TBitmap24& dest, int destX, int destY, TColor keyColor, double factor, TRect sourceRect,
               const TBitmap24& source);
// The formula of BlendOver pixel by pixel, without tables; tests compare the two.
void BlendOverReference(TBitmap24& dest, int destX, int destY, TColor keyColor, double factor, TRect sourceRect,
                        const TBitmap24& source);

// sourceRect is inclusive. Copies every source pixel other than keyColor to (destX, destY) + offset.
void CopyTransparent(TBitmap24& dest, const TBitmap24& source, int destX, TColor keyColor, TRect sourceRect,
                     int destY);

// Each pixel's three bytes become their sum div 3.
void GrayScale(TBitmap24& bitmap);

// The elements of a control's disabled look, combined as a bit set.
enum TsDisabledKindElement : unsigned { dkBlended = 1u << 0, dkGrayed = 1u << 1 };
using TsDisabledKind = unsigned;

// controlColor is the control's own Color (RGB), used when neither the parent's
// pixels nor SharedColor are known.
void DisabledLook(TBitmap24& bitmap, TsDisabledKind kind, TColor controlColor, TPoint position,
                  const TParentBackground& parentBg);

// A rounded, soft-edged wash of color over rect; keepPercent of the image shows through in the middle.
void FadeRectToColor(TBitmap24& bitmap, TRect rect, int keepPercent, int radius, int softness, TColor color);

// Fills rect (Right and Bottom exclusive, clipped to the bitmap) with color as RGB.
void FillDC(TBitmap24& bitmap, TRect rect, TColor color);

TBitmap24 CreateBmp24(int width, int height);
TBitmap24 CreateBmpLike(const TBitmap24& bitmap);

}  // namespace korvel

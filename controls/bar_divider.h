#pragma once
// The thin divider the bars draw between their parts (a status bar's panels, a
// tool bar's button groups): one pixel wide, each channel halfway between the
// face below it and the section's text colour, so that it reads on any face.
#include <cstdint>

#include "gui/bitmap24.h"
#include "gui/colors.h"

namespace korvel {

constexpr int DividerInset = 2;   // the divider leaves this many rows free at the top and the bottom

inline std::uint8_t DividerChannel(std::uint8_t face, std::uint8_t text) { return static_cast<std::uint8_t>((face + text) / 2); }

// Column x of bitmap over the rows [top, bottom), clipped to the bitmap.
inline void DrawDivider(TBitmap24& bitmap, int x, int top, int bottom, TColor text) {
    if (x < 0 || x >= bitmap.Width()) return;
    const std::uint8_t channels[3] = {static_cast<std::uint8_t>((text >> 16) & 0xFF),
                                      static_cast<std::uint8_t>((text >> 8) & 0xFF), static_cast<std::uint8_t>(text & 0xFF)};
    for (int y = top < 0 ? 0 : top; y < bottom && y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
        for (int c = 0; c < 3; ++c) p[c] = DividerChannel(p[c], channels[c]);
    }
}

}  // namespace korvel

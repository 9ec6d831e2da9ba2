#pragma once
// Pictures for the painting tests in which every pixel differs, so that a shifted
// column, a wrong row or swapped channels show, and the per-pixel rules that the
// expected values are computed with.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "gui/bitmap24.h"
#include "gui/colors.h"

namespace korvel::testing {

constexpr TColor kKey = clNone;   // magenta, the key colour of skin images

// A colour pixel that names its place: red the column, green the row, blue both.
inline TColor ColourAt(int x, int y) { return MakeColor(20 + x * 3, 30 + y * 5, (x * 7 + y * 13) % 200); }
// A transparency pixel whose three bytes differ.
inline TColor AlphaAt(int x, int y) {
    return MakeColor((x * 37 + y * 11) % 256, (x * 5 + y * 71 + 90) % 256, (x + y) * 19 % 256);
}

// A picture w wide of `parts` parts, each partHeight high: colour on top, transparency below.
inline std::shared_ptr<TBitmap24> Picture(int w, int partHeight, int parts) {
    auto p = std::make_shared<TBitmap24>(w, partHeight * parts);
    for (int y = 0; y < partHeight * parts; ++y)
        for (int x = 0; x < w; ++x) p->SetPixel(x, y, y < partHeight ? ColourAt(x, y) : AlphaAt(x, y));
    return p;
}

// A background in which every pixel differs from the pictures' pixels.
inline void FillBackground(TBitmap24& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, MakeColor(250 - x, 3 + y, 240));
}

// The transparency blend of one channel: m of 255 keeps the destination, 0 the colour.
inline std::uint8_t BlendChannel(int d, int s, int m) {
    return static_cast<std::uint8_t>(std::clamp(((d - s) * m + s * 256) >> 8, 0, 255));
}

// What colour pixel (sx, sy) of picture does to destination pixel d: a key pixel
// keeps d (or takes keyFill when that is not clNone), an image without a
// transparency part (alphaOffset 0) is copied, else the pixel alphaOffset rows
// lower weighs the destination (each byte raised by extra, at most 255).
inline TColor Expected(const TBitmap24& picture, int sx, int sy, int alphaOffset, TColor d, int extra = 0,
                       TColor keyFill = clNone) {
    const TColor s = picture.Pixel(sx, sy);
    if (s == kKey) return keyFill == clNone ? d : keyFill;
    if (!alphaOffset) return s;
    const TColor m = picture.Pixel(sx, sy + alphaOffset);
    auto channel = [&](std::uint8_t dc, std::uint8_t sc, std::uint8_t mc) { return BlendChannel(dc, sc, std::min(mc + extra, 255)); };
    return MakeColor(channel(RedOf(d), RedOf(s), RedOf(m)), channel(GreenOf(d), GreenOf(s), GreenOf(m)),
                     channel(BlueOf(d), BlueOf(s), BlueOf(m)));
}

}  // namespace korvel::testing

#include "paint/transpose.h"

#include <algorithm>

namespace korvel {

void CopyTransposed(const TBitmap24& source, TRect sourceRect, TBitmap24& dest, TPoint at) {
    // Clip the source rectangle to the source, then to what lands inside dest.
    TRect r = Intersect(sourceRect, TRect{0, 0, source.Width(), source.Height()});
    r.Left = std::max(r.Left, sourceRect.Left - at.Y);
    r.Top = std::max(r.Top, sourceRect.Top - at.X);
    r.Right = std::min(r.Right, sourceRect.Left - at.Y + dest.Height());
    r.Bottom = std::min(r.Bottom, sourceRect.Top - at.X + dest.Width());
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint8_t* in = source.ScanLine(y) + r.Left * 3;
        const int column = (at.X + y - sourceRect.Top) * 3;
        for (int x = r.Left; x < r.Right; ++x, in += 3) {
            std::uint8_t* out = dest.ScanLine(at.Y + x - sourceRect.Left) + column;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

}  // namespace korvel

#pragma once
// Pixel accessors over 24-bit working bitmaps: a row-0 pointer and a stride
// computed once, so per-pixel work is address arithmetic only. Attaching never
// copies pixels and never owns the bitmaps; they must not be resized while
// attached. Bitmaps smaller than 2 x 2 are refused.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gui/bitmap24.h"
#include "gui/colors.h"

namespace korvel {

class TacFast24 {
public:
    bool Attach(TBitmap24& bitmap);
    // The colour at (x, y) as 0x00BBGGRR; no range check, callers clip first.
    TColor Pixel(int x, int y) const {
        const std::uint8_t* p = Bits + y * Stride + x * 3;
        return (TColor(p[0]) << 16) | (TColor(p[1]) << 8) | TColor(p[2]);
    }

    TBitmap24* Bitmap = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0;
    std::uint8_t* Bits = nullptr;
};

class TacFastSum24 {
public:
    bool Attach(TBitmap24& source, TBitmap24& dest);
    // Blends the source rectangle into the destination rectangle (same size,
    // Right and Bottom exclusive): d := (d * Alpha + s * (255 - Alpha) + 127) >> 8.
    // Rectangles that do not lie inside their bitmaps draw nothing.
    void BlendRect();

    TBitmap24* Source = nullptr;
    TBitmap24* Dest = nullptr;
    int Width = 0;
    int Height = 0;
    std::uint8_t* SourceBits = nullptr;
    std::uint8_t* DestBits = nullptr;
    std::ptrdiff_t SourceStride = 0;
    std::ptrdiff_t DestStride = 0;
    std::uint8_t Alpha = 0;
    int DestLeft = 0, DestTop = 0, DestRight = 0, DestBottom = 0;
    int SourceLeft = 0, SourceTop = 0, SourceRight = 0, SourceBottom = 0;
};

// The accessors all painting code shares (GUI thread only, not reentrant).
extern TacFast24 Fast24Src;
extern TacFast24 Fast24Dst;
extern TacFastSum24 FastSum24;

// One row of the bitmap blend, n bytes: the fast path and the formula as written.
// Both give identical bytes; the reference walks backwards as BlendRect does.
void BlendRow(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, std::uint8_t alpha);
void BlendRowReference(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, std::uint8_t alpha);

// The row blend for a source row that many destination rows take: its share of
// the sum, s * (255 - alpha) + 127 per byte, is worked out once by Set.
class TRowBlendSource {
public:
    // source: n bytes (it is not kept).
    void Set(const std::uint8_t* source, std::size_t n, std::uint8_t alpha);
    // A source row of n bytes that repeats the three bytes of pixel.
    void SetRepeating(const std::uint8_t* pixel, std::size_t n, std::uint8_t alpha);
    // Bytes [offset, offset + n) of the row: dest[i] := (under[i] * alpha + s * (255 - alpha) + 127) >> 8
    // with s the source byte at offset + i. under is dest itself or does not overlap it.
    void Blend(std::uint8_t* dest, const std::uint8_t* under, std::size_t offset, std::size_t n) const;
    // Blend, and each blended byte b then becomes (b * w + k) >> 8 before it is
    // stored, w and k the 16-bit weight and share of byte i of dest, kept apart
    // for even and odd i (room for 16 beyond n / 2 each). Nothing is done and
    // false is returned where the processor lacks the vector path (n < 32 included).
    bool BlendThenWeigh(std::uint8_t* dest, const std::uint8_t* under, std::size_t offset, std::size_t n,
                        const std::uint16_t* evenWeight, const std::uint16_t* oddWeight, const std::uint16_t* evenShare,
                        const std::uint16_t* oddShare) const;

private:
    std::uint16_t alpha_ = 0;
    bool repeating_ = false;
    std::uint16_t pixel_[3] = {};   // the shares of a repeating row's three bytes
    // The shares of a 32-byte step of a repeating row by where it starts modulo 3:
    // [start][even, odd lanes][lane].
    alignas(32) std::uint16_t pattern_[3][2][16] = {};
    // The source share of the bytes at even and at odd offsets, with room for a whole last step.
    std::vector<std::uint16_t> even_, odd_;
};

}  // namespace korvel

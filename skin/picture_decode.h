#pragma once
// Decoding of skin pictures into 24-bit working bitmaps: Windows bitmap files
// (1, 4, 8, 24 and 32 bits per pixel, uncompressed, RLE4 and RLE8, top-down and
// bottom-up) and JPEG files (through libjpeg). A file that is truncated,
// corrupt, of an unsupported kind or declares absurd dimensions is refused with
// a reason; nothing is read or written outside any buffer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "gui/bitmap24.h"

namespace korvel {

// Larger sides are refused as absurd.
constexpr int MaxPictureSide = 16384;

struct TsDecodedPicture {
    TBitmap24 Bitmap;
    std::string Error;      // empty on success
    bool Ok() const { return Error.empty(); }
};

TsDecodedPicture DecodeBmp(std::span<const std::uint8_t> bytes);
TsDecodedPicture DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace korvel

// Windows bitmap files into 24-bit working bitmaps.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/colors.h"
#include "skin/picture_decode.h"

namespace korvel {
namespace {

enum : std::uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3 };

struct TReader {
    std::span<const std::uint8_t> bytes;
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= bytes.size() && count <= bytes.size() - offset;
    }
    std::uint32_t U16(std::size_t o) const { return bytes[o] | (std::uint32_t(bytes[o + 1]) << 8); }
    std::uint32_t U32(std::size_t o) const { return U16(o) | (U16(o + 2) << 16); }
    std::int32_t S32(std::size_t o) const { return static_cast<std::int32_t>(U32(o)); }
};

struct THeader {
    std::int64_t width = 0;
    std::int64_t height = 0;      // positive; topDown tells the row order
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = BiRgb;
    std::vector<TColor> palette;  // 0x00BBGGRR
    std::uint32_t masks[3] = {0, 0, 0};
};

TsDecodedPicture Fail(const char* reason) {
    TsDecodedPicture result;
    result.Error = reason;
    return result;
}

void Put(TBitmap24& bmp, int x, int y, TColor c) {
    std::uint8_t* p = bmp.ScanLine(y) + x * 3;
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
}

TColor PaletteColor(const THeader& h, std::uint32_t index) {
    return index < h.palette.size() ? h.palette[index] : 0;
}

// Row r of the file (rows are stored bottom-up unless the header says otherwise)
// is row y of the picture.
int PictureRow(const THeader& h, std::int64_t fileRow) {
    return static_cast<int>(h.topDown ? fileRow : h.height - 1 - fileRow);
}

std::int64_t RowBytes(const THeader& h) { return ((h.width * h.bitCount + 31) / 32) * 4; }

const char* DecodeUncompressed(const TReader& r, std::size_t offset, const THeader& h, TBitmap24& bmp) {
    const std::int64_t rowBytes = RowBytes(h);
    for (std::int64_t fileRow = 0; fileRow < h.height; ++fileRow) {
        const std::uint8_t* src = r.bytes.data() + offset + fileRow * rowBytes;
        const int y = PictureRow(h, fileRow);
        std::uint8_t* dst = bmp.ScanLine(y);
        const int width = static_cast<int>(h.width);
        switch (h.bitCount) {
        case 1:
        case 4:
        case 8: {
            const unsigned bits = h.bitCount;
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const unsigned shift = 8 - bits * (x % perByte + 1);
                Put(bmp, x, y, PaletteColor(h, (src[x / perByte] >> shift) & mask));
            }
            break;
        }
        case 24:
            std::memcpy(dst, src, static_cast<std::size_t>(width) * 3);
            break;
        case 32:
            for (int x = 0; x < width; ++x) {
                dst[x * 3] = src[x * 4];
                dst[x * 3 + 1] = src[x * 4 + 1];
                dst[x * 3 + 2] = src[x * 4 + 2];
            }
            break;
        }
    }
    return nullptr;
}

// Run-length encoded pixels (RLE8 and RLE4). Pixels the runs never reach stay black.
const char* DecodeRle(const TReader& r, std::size_t offset, const THeader& h, TBitmap24& bmp) {
    const bool four = h.compression == BiRle4;
    std::size_t p = offset;
    const std::size_t end = r.bytes.size();
    std::int64_t x = 0, row = 0;
    auto put = [&](std::uint32_t index) {
        if (x < h.width && row < h.height) Put(bmp, static_cast<int>(x), PictureRow(h, row), PaletteColor(h, index));
        ++x;
    };
    while (true) {
        if (end - p < 2) return "the run-length data ends before its end mark";
        const std::uint8_t count = r.bytes[p];
        const std::uint8_t value = r.bytes[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {            // end of line
            x = 0;
            ++row;
        } else if (value == 1) {     // end of bitmap
            return nullptr;
        } else if (value == 2) {     // move right and up
            if (end - p < 2) return "the run-length data ends inside a move";
            x += r.bytes[p];
            row += r.bytes[p + 1];
            p += 2;
        } else {                     // literal pixels, padded to a whole 16-bit word
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (end - p < padded) return "the run-length data ends inside literal pixels";
            for (int i = 0; i < value; ++i) {
                const std::uint8_t b = r.bytes[p + (four ? i / 2 : i)];
                put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            p += padded;
        }
        if (row > h.height) return "the run-length data moves past the last row";
    }
}

}  // namespace

TsDecodedPicture DecodeBmp(std::span<const std::uint8_t> bytes) {
    const TReader r{bytes};
    if (!r.Has(0, 14) || bytes[0] != 'B' || bytes[1] != 'M') return Fail("not a bitmap file");
    const std::uint32_t dataOffset = r.U32(10);
    if (!r.Has(14, 4)) return Fail("the bitmap header is truncated");
    const std::uint32_t headerSize = r.U32(14);
    THeader h;
    std::size_t paletteEntrySize = 4;
    if (headerSize == 12) {
        if (!r.Has(14, 12)) return Fail("the bitmap header is truncated");
        h.width = r.U16(18);
        h.height = r.U16(20);
        if (r.U16(22) != 1) return Fail("the bitmap has more than one plane");
        h.bitCount = r.U16(24);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 1024) {
        if (!r.Has(14, headerSize)) return Fail("the bitmap header is truncated");
        h.width = r.S32(18);
        h.height = r.S32(22);
        if (r.U16(26) != 1) return Fail("the bitmap has more than one plane");
        h.bitCount = r.U16(28);
        h.compression = r.U32(30);
        if (h.compression == BiBitfields) {
            // The three masks follow a 40-byte header, or are part of a larger one.
            if (!r.Has(54, 12)) return Fail("the bitmap header is truncated");
            for (int i = 0; i < 3; ++i) h.masks[i] = r.U32(54 + 4 * i);
        }
    } else {
        return Fail("unknown bitmap header size");
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (h.width < 1 || h.height < 1) return Fail("the bitmap has no pixels");
    if (h.width > MaxPictureSide || h.height > MaxPictureSide) return Fail("the bitmap declares absurd dimensions");

    switch (h.compression) {
    case BiRgb:
        if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24 && h.bitCount != 32)
            return Fail("unsupported bits per pixel");
        break;
    case BiRle8:
        if (h.bitCount != 8 || h.topDown) return Fail("invalid RLE8 bitmap");
        break;
    case BiRle4:
        if (h.bitCount != 4 || h.topDown) return Fail("invalid RLE4 bitmap");
        break;
    case BiBitfields:
        // Only the layout that equals plain 32-bit pixels is accepted.
        if (h.bitCount != 32 || h.masks[0] != 0xFF0000 || h.masks[1] != 0xFF00 || h.masks[2] != 0xFF)
            return Fail("unsupported bit-field layout");
        break;
    default:
        return Fail("unsupported compression");
    }

    if (h.bitCount <= 8) {
        std::size_t colors = std::size_t(1) << h.bitCount;
        if (headerSize >= 40) {
            const std::uint32_t used = r.U32(46);
            if (used != 0 && used < colors) colors = used;
        }
        const std::size_t paletteOffset = 14 + headerSize + (h.compression == BiBitfields && headerSize == 40 ? 12 : 0);
        // A palette cut short by the pixel data keeps the entries that fit.
        const std::size_t limit = dataOffset > paletteOffset ? (dataOffset - paletteOffset) / paletteEntrySize : 0;
        if (colors > limit) colors = limit;
        if (!r.Has(paletteOffset, colors * paletteEntrySize)) return Fail("the palette is truncated");
        for (std::size_t i = 0; i < colors; ++i) {
            const std::size_t o = paletteOffset + i * paletteEntrySize;
            h.palette.push_back(MakeColor(bytes[o + 2], bytes[o + 1], bytes[o]));
        }
    }

    if (dataOffset < 14 + std::min<std::uint32_t>(headerSize, 40) || dataOffset >= bytes.size())
        return Fail("the pixel data lies outside the file");
    const std::size_t available = bytes.size() - dataOffset;
    const bool rle = h.compression == BiRle8 || h.compression == BiRle4;
    // Runs of up to 255 pixels per two bytes: anything denser is not a real picture.
    if (rle && h.width * h.height > static_cast<std::int64_t>(available) * 255)
        return Fail("the bitmap declares more pixels than its bytes can hold");
    if (!rle && RowBytes(h) * h.height > static_cast<std::int64_t>(available))
        return Fail("the pixel data is shorter than the declared size");

    TsDecodedPicture result;
    result.Bitmap.SetSize(static_cast<int>(h.width), static_cast<int>(h.height));
    const char* error = rle ? DecodeRle(r, dataOffset, h, result.Bitmap) : DecodeUncompressed(r, dataOffset, h, result.Bitmap);
    if (error) return Fail(error);
    return result;
}

}  // namespace korvel

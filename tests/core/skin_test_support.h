#pragma once
// Helpers of the skin tests: temporary folders and small picture files made
// byte by byte (bitmaps) or through libjpeg (JPEG).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace korvel::testing {

using TBytes = std::vector<std::uint8_t>;

class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-skin-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // The folder with a trailing separator, as a program folder is given.
    std::string Path() const { return path_.string() + "/"; }
    void Write(const std::string& relative, const TBytes& bytes) const {
        const auto file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Write(const std::string& relative, const std::string& text) const { Write(relative, TBytes(text.begin(), text.end())); }
    void MakeDir(const std::string& relative) const { std::filesystem::create_directories(path_ / relative); }

private:
    std::filesystem::path path_;
};

inline void Put16(TBytes& b, std::size_t at, std::uint32_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
inline void Put32(TBytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// File header and 40-byte info header; height negative for top-down.
inline TBytes BmpHeaders(int width, int height, int bpp, std::uint32_t compression, const std::vector<std::uint32_t>& palette,
                         std::size_t pixelBytes) {
    const std::size_t offset = 14 + 40 + palette.size() * 4;
    TBytes b(offset, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(offset + pixelBytes));
    Put32(b, 10, std::uint32_t(offset));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(width));
    Put32(b, 22, std::uint32_t(height));
    Put16(b, 26, 1);
    Put16(b, 28, std::uint32_t(bpp));
    Put32(b, 30, compression);
    Put32(b, 34, std::uint32_t(pixelBytes));
    Put32(b, 46, std::uint32_t(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) Put32(b, 54 + i * 4, palette[i]);   // 0x00RRGGBB as the file stores it
    return b;
}

// An uncompressed bitmap. value(x, y) is the palette index for 1, 4 and 8 bits,
// else the colour 0x00RRGGBB; y counts from the top of the picture.
inline TBytes MakeBmp(int width, int height, int bpp, bool topDown, const std::function<std::uint32_t(int, int)>& value,
                      const std::vector<std::uint32_t>& palette = {}) {
    const std::size_t rowBytes = ((std::size_t(width) * bpp + 31) / 32) * 4;
    TBytes pixels(rowBytes * height, 0);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int y = topDown ? fileRow : height - 1 - fileRow;
        std::uint8_t* row = pixels.data() + fileRow * rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            if (bpp <= 8) {
                const int perByte = 8 / bpp;
                const int shift = 8 - bpp * (x % perByte + 1);
                row[x / perByte] |= std::uint8_t(v << shift);
            } else {
                const int bytes = bpp / 8;
                row[x * bytes] = std::uint8_t(v);
                row[x * bytes + 1] = std::uint8_t(v >> 8);
                row[x * bytes + 2] = std::uint8_t(v >> 16);
            }
        }
    }
    TBytes b = BmpHeaders(width, topDown ? -height : height, bpp, 0, palette, pixels.size());
    const std::size_t headerBytes = b.size();
    b.resize(headerBytes + pixels.size());
    std::copy(pixels.begin(), pixels.end(), b.begin() + std::ptrdiff_t(headerBytes));
    return b;
}

// A plain 24-bit bitmap of one colour (0x00RRGGBB).
inline TBytes SolidBmp(int width, int height, std::uint32_t rgb = 0x808080) {
    return MakeBmp(width, height, 24, false, [rgb](int, int) { return rgb; });
}

// A JPEG; value(x, y) is the colour 0x00RRGGBB, y from the top.
inline TBytes MakeJpeg(int width, int height, const std::function<std::uint32_t(int, int)>& value, int quality = 95) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            row[x * 3] = std::uint8_t(v >> 16);
            row[x * 3 + 1] = std::uint8_t(v >> 8);
            row[x * 3 + 2] = std::uint8_t(v);
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    TBytes bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

// A JPEG of one colour (red, green, blue).
inline TBytes MakeJpeg(int width, int height, std::uint8_t r = 200, std::uint8_t g = 100, std::uint8_t b = 50, int quality = 95) {
    const std::uint32_t rgb = (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
    return MakeJpeg(width, height, [rgb](int, int) { return rgb; }, quality);
}

}  // namespace korvel::testing

#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace korvel {
namespace {

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

// libpng reports errors through longjmp; the handlers here keep the text and
// jump back to the caller's setjmp.
void OnError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

constexpr int MaxSide = 1 << 15;

}  // namespace

std::string WritePng(const std::string& path, const TBitmap24& bitmap, int scale) {
    if (bitmap.Empty()) return "the picture is empty";
    if (scale < 1 || bitmap.Width() > MaxSide / scale || bitmap.Height() > MaxSide / scale)
        return "the picture would be larger than " + std::to_string(MaxSide) + " pixels a side";
    const int width = bitmap.Width() * scale, height = bitmap.Height() * scale;
    std::vector<png_byte> pixels(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = bitmap.ScanLine(y / scale);
        png_byte* row = pixels.data() + std::size_t(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* s = source + (x / scale) * 3;
            row[x * 3] = s[2];
            row[x * 3 + 1] = s[1];
            row[x * 3 + 2] = s[0];
        }
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) rows[std::size_t(y)] = pixels.data() + std::size_t(y) * width * 3;

    TFile file(std::fopen(path.c_str(), "wb"));
    if (!file) return "cannot write " + path;
    std::string error;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return "out of memory";
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return path + ": " + error;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) return "cannot write " + path;
    return {};
}

std::string ReadPng(const std::string& path, TBitmap24& bitmap) {
    TFile file(std::fopen(path.c_str(), "rb"));
    if (!file) return "cannot read " + path;
    std::string error;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "out of memory";
    }
    std::vector<png_byte> pixels;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return path + ": " + error;
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) != 8 || (type != PNG_COLOR_TYPE_RGB && type != PNG_COLOR_TYPE_RGB_ALPHA) ||
        width == 0 || height == 0 || width > png_uint_32(MaxSide) || height > png_uint_32(MaxSide)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return path + ": not an 8-bit RGB picture of a sensible size";
    }
    const std::size_t channels = type == PNG_COLOR_TYPE_RGB ? 3 : 4;
    pixels.resize(std::size_t(width) * height * channels);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + std::size_t(y) * width * channels;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);

    bitmap.SetSize(int(width), int(height));
    for (int y = 0; y < int(height); ++y) {
        std::uint8_t* target = bitmap.ScanLine(y);
        const png_byte* source = rows[std::size_t(y)];
        for (int x = 0; x < int(width); ++x) {
            target[x * 3] = source[x * channels + 2];
            target[x * 3 + 1] = source[x * channels + 1];
            target[x * 3 + 2] = source[x * channels];
        }
    }
    return {};
}

}  // namespace korvel

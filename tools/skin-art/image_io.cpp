#include "tools/skin-art/image_io.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

#include "skin/picture_decode.h"

namespace korvel::art {
namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// File header and info header of a bottom-up BMP; `paletteSize` entries follow.
std::vector<std::uint8_t> BmpHeader(const TImage& image, int bits, std::size_t paletteSize) {
    const std::size_t rowBytes = (static_cast<std::size_t>(image.Width()) * bits / 8 + 3) & ~std::size_t(3);
    const std::size_t offset = 14 + 40 + paletteSize * 4;
    const std::size_t imageBytes = rowBytes * image.Height();
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(offset + imageBytes));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offset));
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.Width()));
    Put32(out, static_cast<std::uint32_t>(image.Height()));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0);   // uncompressed
    Put32(out, static_cast<std::uint32_t>(imageBytes));
    Put32(out, 2835);   // 72 dots per inch
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(paletteSize));
    Put32(out, 0);
    return out;
}

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX] = {};
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    info->err->format_message(info, error->Message);
    std::longjmp(error->Jump, 1);
}

}  // namespace

std::vector<TColor> BuildPalette(const TImage& image, std::size_t limit) {
    std::set<TColor> colours;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) colours.insert(image.At(x, y) & 0xFFFFFF);
    if (colours.size() > limit)
        throw std::runtime_error("the picture has " + std::to_string(colours.size()) + " colours, more than " +
                                 std::to_string(limit));
    return {colours.begin(), colours.end()};
}

std::vector<std::uint8_t> EncodeBmp24(const TImage& image) {
    auto out = BmpHeader(image, 24, 0);
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::size_t row = 0;
        for (int x = 0; x < image.Width(); ++x, row += 3) {
            const TColor c = image.At(x, y);
            out.push_back(BlueOf(c));
            out.push_back(GreenOf(c));
            out.push_back(RedOf(c));
        }
        for (; row % 4; ++row) out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp8(const TImage& image) {
    const auto palette = BuildPalette(image);
    std::map<TColor, std::uint8_t> index;
    auto out = BmpHeader(image, 8, palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i) {
        index[palette[i]] = static_cast<std::uint8_t>(i);
        out.push_back(BlueOf(palette[i]));
        out.push_back(GreenOf(palette[i]));
        out.push_back(RedOf(palette[i]));
        out.push_back(0);
    }
    for (int y = image.Height() - 1; y >= 0; --y) {
        int x = 0;
        for (; x < image.Width(); ++x) out.push_back(index.at(image.At(x, y) & 0xFFFFFF));
        for (; x % 4; ++x) out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> EncodeJpeg(const TImage& image, int quality) {
    jpeg_compress_struct info{};
    TJpegError error;
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) * 3);
    if (setjmp(error.Jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw std::runtime_error(std::string("JPEG encoding failed: ") + error.Message);
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < image.Width(); ++x) {
            const TColor c = image.At(x, y);
            row[x * 3] = RedOf(c);
            row[x * 3 + 1] = GreenOf(c);
            row[x * 3 + 2] = BlueOf(c);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

std::vector<std::uint8_t> EncodePng(const TImage& image) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng could not start");
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* sink = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            sink->insert(sink->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const TColor c = image.At(x, y);
            row[x * 3] = RedOf(c);
            row[x * 3 + 1] = GreenOf(c);
            row[x * 3 + 2] = BlueOf(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Pictures are read with the program's own decoders, so the artwork is checked
// as the program will read it. kind names the format in the error.
namespace {

const TBitmap24& Readable(const TsDecodedPicture& decoded, const char* kind) {
    if (!decoded.Ok()) throw std::runtime_error(std::string("not a ") + kind + " file the program can read: " + decoded.Error);
    return decoded.Bitmap;
}

TImage ToImage(const TBitmap24& bitmap) {
    TImage image(bitmap.Width(), bitmap.Height(), 0);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) image.Set(x, y, bitmap.Pixel(x, y));
    return image;
}

}  // namespace

TImage DecodeBmp(const std::vector<std::uint8_t>& bytes) { return ToImage(Readable(korvel::DecodeBmp(bytes), "BMP")); }

TImage DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
    return ToImage(Readable(korvel::DecodeJpeg(bytes), "JPEG"));
}

std::pair<int, int> JpegSize(const std::vector<std::uint8_t>& bytes) {
    const TsDecodedPicture decoded = korvel::DecodeJpeg(bytes);
    const TBitmap24& bitmap = Readable(decoded, "JPEG");
    return {bitmap.Width(), bitmap.Height()};
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace korvel::art

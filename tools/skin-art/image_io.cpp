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

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

unsigned Get16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

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

// Warnings about damaged input end up in the error text, not on the console.
void JpegSilence(j_common_ptr) {}

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

std::pair<int, int> JpegSize(const std::vector<std::uint8_t>& bytes) {
    jpeg_decompress_struct info{};
    TJpegError error;
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    error.Manager.output_message = JpegSilence;
    if (setjmp(error.Jump)) {
        jpeg_destroy_decompress(&info);
        throw std::runtime_error(std::string("not a readable JPEG: ") + error.Message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const std::pair<int, int> size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    jpeg_destroy_decompress(&info);
    return size;
}

TImage DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
    jpeg_decompress_struct info{};
    TJpegError error;
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    error.Manager.output_message = JpegSilence;
    TImage image;
    std::vector<std::uint8_t> row;
    if (setjmp(error.Jump)) {
        jpeg_destroy_decompress(&info);
        throw std::runtime_error(std::string("not a readable JPEG: ") + error.Message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = TImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 0);
    row.resize(static_cast<std::size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < image.Width(); ++x) image.Set(x, y, Rgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
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

TImage DecodeBmp(const std::vector<std::uint8_t>& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not a BMP file");
    const std::uint32_t offset = Get32(b, 10);
    const std::uint32_t headerSize = Get32(b, 14);
    const auto width = static_cast<std::int32_t>(Get32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(Get32(b, 22));
    const unsigned bits = Get16(b, 28);
    const std::uint32_t compression = Get32(b, 30);
    if (headerSize < 40 || compression != 0 || (bits != 8 && bits != 24))
        throw std::runtime_error("only uncompressed 8- and 24-bit BMP files are read here");
    if (width < 1 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384)
        throw std::runtime_error("BMP dimensions out of range");
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits / 8 + 3) & ~std::size_t(3);
    if (offset > b.size() || rowBytes * height > b.size() - offset) throw std::runtime_error("BMP file is truncated");
    std::vector<TColor> palette;
    if (bits == 8) {
        std::uint32_t used = Get32(b, 46);
        if (used == 0) used = 256;
        const std::size_t at = 14 + headerSize;
        if (used > 256 || at + used * 4 > offset) throw std::runtime_error("BMP palette is malformed");
        for (std::uint32_t i = 0; i < used; ++i)
            palette.push_back(Rgb(b[at + i * 4 + 2], b[at + i * 4 + 1], b[at + i * 4]));
    }
    TImage image(width, height, 0);
    for (int y = 0; y < height; ++y) {
        const int row = rawHeight > 0 ? height - 1 - y : y;
        const std::size_t at = offset + rowBytes * row;
        for (int x = 0; x < width; ++x) {
            TColor c;
            if (bits == 8) {
                const std::uint8_t i = b[at + x];
                if (i >= palette.size()) throw std::runtime_error("BMP pixel outside its palette");
                c = palette[i];
            } else {
                c = Rgb(b[at + x * 3 + 2], b[at + x * 3 + 1], b[at + x * 3]);
            }
            image.Set(x, y, c);
        }
    }
    return image;
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

// JPEG files into 24-bit working bitmaps through libjpeg. libjpeg reports
// errors by calling error_exit, which must not return; it jumps back to the
// one frame below, which holds only plain data, so no destructor is skipped.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include <jpeglib.h>

#include "skin/picture_decode.h"

namespace korvel {
namespace {

struct TJpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    TJpegError* error = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (corrupt or truncated data that libjpeg would paper over) end the
// decoding as well: such a file is refused like a missing one.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) OnError(info);
}

// Highly compressed baseline data needs about two bits per 8x8 block and
// channel; a file declaring far more pixels than that is refused before any
// pixel memory is taken.
constexpr std::uint64_t MaxPixelsPerByte = 1024;

// Receives the size once the header is read; returns the bitmap the rows go
// to, or nullptr to refuse.
struct TJpegTarget {
    TBitmap24* bitmap;
    std::size_t fileBytes;
    const char* refusal;
};

bool Prepare(TJpegTarget& target, JDIMENSION width, JDIMENSION height) {
    if (width < 1 || height < 1) {
        target.refusal = "the JPEG image has no pixels";
        return false;
    }
    if (width > MaxPictureSide || height > MaxPictureSide) {
        target.refusal = "the JPEG image declares absurd dimensions";
        return false;
    }
    if (std::uint64_t(width) * height > target.fileBytes * MaxPixelsPerByte) {
        target.refusal = "the JPEG image declares more pixels than its bytes can hold";
        return false;
    }
    try {
        target.bitmap->SetSize(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::bad_alloc&) {
        target.refusal = "no memory for the JPEG image";
        return false;
    }
    return true;
}

// Returns nullptr on success, else the reason. Only plain data lives in this
// frame, so the jump back from OnError skips nothing that needs destroying.
const char* Decode(const std::uint8_t* data, std::size_t size, TJpegTarget& target, TJpegError& error,
                   jpeg_decompress_struct& info) {
    info.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = OnError;
    error.pub.emit_message = OnMessage;
    error.message[0] = '\0';
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return error.message;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // Working bitmaps hold blue, green, red; libjpeg-turbo can write that order directly.
#ifdef JCS_EXTENSIONS
    info.out_color_space = JCS_EXT_BGR;
#else
    info.out_color_space = JCS_RGB;
#endif
    jpeg_calc_output_dimensions(&info);
    if (!Prepare(target, info.output_width, info.output_height)) {
        jpeg_destroy_decompress(&info);
        return target.refusal;
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return "the JPEG image does not decode to three channels";
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = target.bitmap->ScanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return nullptr;
}

}  // namespace

TsDecodedPicture DecodeJpeg(std::span<const std::uint8_t> bytes) {
    TsDecodedPicture result;
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        result.Error = "not a JPEG file";
        return result;
    }
    TJpegTarget target{&result.Bitmap, bytes.size(), nullptr};
    TJpegError error;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    if (const char* failure = Decode(bytes.data(), bytes.size(), target, error, info)) {
        result.Error = *failure ? failure : "the JPEG data is corrupt";
        result.Bitmap = TBitmap24();
        return result;
    }
#ifndef JCS_EXTENSIONS
    for (int y = 0; y < result.Bitmap.Height(); ++y) {
        std::uint8_t* p = result.Bitmap.ScanLine(y);
        for (int x = 0; x < result.Bitmap.Width(); ++x, p += 3) std::swap(p[0], p[2]);
    }
#endif
    return result;
}

}  // namespace korvel

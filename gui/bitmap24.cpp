#include "gui/bitmap24.h"

#include <cassert>
#include <cstring>
#include <new>

namespace korvel {

TBitmap24::TBitmap24(int width, int height, TRowOrder order) : order_(order) { SetSize(width, height); }

void TBitmap24::SetSize(int width, int height) {
    if (width == width_ && height == height_ && (store_ || width <= 0 || height <= 0)) return;
    store_.reset();
    row0_ = nullptr;
    width_ = height_ = 0;
    rowBytes_ = 0;
    if (width <= 0 || height <= 0) return;
    const std::ptrdiff_t rowBytes = RowBytesFor(width);
    const std::size_t bytes = static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height);
    store_ = CreatePixelStore(width, height, order_, bytes);
    if (!store_) throw std::bad_alloc();
    width_ = width;
    height_ = height;
    rowBytes_ = rowBytes;
    std::uint8_t* bits = store_->Bits();
    std::memset(bits, 0, bytes);
    row0_ = order_ == TRowOrder::TopDown ? bits : bits + (height - 1) * rowBytes;
}

std::uint32_t TBitmap24::Pixel(int x, int y) const {
    assert(x >= 0 && y >= 0 && x < width_ && y < height_);
    const std::uint8_t* p = ScanLine(y) + x * 3;
    return std::uint32_t(p[2]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[0]) << 16);
}

void TBitmap24::SetPixel(int x, int y, std::uint32_t color) {
    assert(x >= 0 && y >= 0 && x < width_ && y < height_);
    std::uint8_t* p = ScanLine(y) + x * 3;
    p[0] = static_cast<std::uint8_t>(color >> 16);
    p[1] = static_cast<std::uint8_t>(color >> 8);
    p[2] = static_cast<std::uint8_t>(color);
}

void TBitmap24::Fill(std::uint32_t color) {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = ScanLine(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(color >> 16);
            p[1] = static_cast<std::uint8_t>(color >> 8);
            p[2] = static_cast<std::uint8_t>(color);
        }
    }
}

TBitmap24 TBitmap24::Clone() const {
    TBitmap24 copy(width_, height_, order_);
    for (int y = 0; y < height_; ++y) std::memcpy(copy.ScanLine(y), ScanLine(y), static_cast<std::size_t>(width_) * 3);
    return copy;
}

}  // namespace korvel

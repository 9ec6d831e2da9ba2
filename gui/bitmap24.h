#pragma once
// The 24-bit working bitmap: every skin image and every control cache is one.
// Pixels are three bytes (blue, green, red); rows are reached through ScanLine
// and a stride that is negative for bottom-up images and includes row padding
// (rows are padded to a multiple of four bytes, as device-independent bitmaps are).
//
// This header is platform-free. Where the pixels live is the platform's choice:
// on Windows in a DIB section (so GDI can draw into it and BitBlt can copy it,
// see Handle()), natively on the heap.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace korvel {

enum class TRowOrder { BottomUp, TopDown };

// Storage for the pixels of one bitmap; created by the platform back end.
class TPixelStore {
public:
    virtual ~TPixelStore() = default;
    virtual std::uint8_t* Bits() = 0;      // first byte of the lowest address row
    virtual void* Handle() = 0;            // HBITMAP on Windows, nullptr elsewhere
};

// Supplied once per platform (bitmap24_heap.cpp natively, bitmap24_win.cpp on
// Windows). Returns nullptr when the platform cannot provide the memory.
std::unique_ptr<TPixelStore> CreatePixelStore(int width, int height, TRowOrder order, std::size_t bytes);

// Live pixel stores, for leak checks in tests.
int LivePixelStores();

class TBitmap24 {
public:
    TBitmap24() = default;
    TBitmap24(int width, int height, TRowOrder order = TRowOrder::BottomUp);
    TBitmap24(const TBitmap24&) = delete;
    TBitmap24& operator=(const TBitmap24&) = delete;
    TBitmap24(TBitmap24&&) noexcept = default;
    TBitmap24& operator=(TBitmap24&&) noexcept = default;
    ~TBitmap24() = default;

    // Reallocates for the new size; the pixels become black. Sizes below 1
    // make an empty bitmap. Throws std::bad_alloc when memory is refused.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    TRowOrder RowOrder() const { return order_; }

    // Bytes from one row to the next: ScanLine(1) - ScanLine(0).
    std::ptrdiff_t Stride() const { return order_ == TRowOrder::TopDown ? rowBytes_ : -rowBytes_; }
    std::ptrdiff_t RowBytes() const { return rowBytes_; }

    std::uint8_t* ScanLine(int y) { return row0_ + y * Stride(); }
    const std::uint8_t* ScanLine(int y) const { return row0_ + y * Stride(); }

    // 0x00BBGGRR of the pixel at (x, y); no range check beyond an assertion in debug builds.
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t color);
    void Fill(std::uint32_t color);

    void* Handle() const { return store_ ? store_->Handle() : nullptr; }

    // A deep copy of size and pixels in the same row order.
    TBitmap24 Clone() const;

    static std::ptrdiff_t RowBytesFor(int width) { return (static_cast<std::ptrdiff_t>(width) * 3 + 3) & ~std::ptrdiff_t(3); }

private:
    std::unique_ptr<TPixelStore> store_;
    std::uint8_t* row0_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t rowBytes_ = 0;
    TRowOrder order_ = TRowOrder::BottomUp;
};

}  // namespace korvel

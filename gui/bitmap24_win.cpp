// Pixel storage in a DIB section, so GDI can draw into a working bitmap and
// BitBlt can copy it to a window.
#include "gui/bitmap24.h"

#include <windows.h>

namespace korvel {
namespace {

int liveStores = 0;

class TDibPixelStore final : public TPixelStore {
public:
    TDibPixelStore(int width, int height, TRowOrder order) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = order == TRowOrder::TopDown ? -height : height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dib_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint8_t*>(bits);
        if (dib_) ++liveStores;
    }
    ~TDibPixelStore() override {
        if (dib_ && DeleteObject(dib_)) --liveStores;   // a failed deletion stays counted
    }
    bool Ok() const { return dib_ != nullptr && bits_ != nullptr; }
    std::uint8_t* Bits() override {
        GdiFlush();   // GDI may still be drawing into the section
        return bits_;
    }
    void* Handle() override { return dib_; }

private:
    HBITMAP dib_ = nullptr;
    std::uint8_t* bits_ = nullptr;
};

}  // namespace

std::unique_ptr<TPixelStore> CreatePixelStore(int width, int height, TRowOrder order, std::size_t) {
    auto store = std::make_unique<TDibPixelStore>(width, height, order);
    if (!store->Ok()) return nullptr;
    return store;
}

int LivePixelStores() { return liveStores; }

}  // namespace korvel

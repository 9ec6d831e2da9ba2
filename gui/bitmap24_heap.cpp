// Pixel storage on the heap, for the native build of the core.
#include "gui/bitmap24.h"

#include <new>

namespace korvel {
namespace {

int liveStores = 0;

class THeapPixelStore final : public TPixelStore {
public:
    explicit THeapPixelStore(std::size_t bytes) : bits_(new (std::nothrow) std::uint8_t[bytes]) { ++liveStores; }
    ~THeapPixelStore() override { --liveStores; }
    bool Ok() const { return bits_ != nullptr; }
    std::uint8_t* Bits() override { return bits_.get(); }
    void* Handle() override { return nullptr; }

private:
    std::unique_ptr<std::uint8_t[]> bits_;
};

}  // namespace

std::unique_ptr<TPixelStore> CreatePixelStore(int, int, TRowOrder, std::size_t bytes) {
    auto store = std::make_unique<THeapPixelStore>(bytes);
    if (!store->Ok()) return nullptr;
    return store;
}

int LivePixelStores() { return liveStores; }

}  // namespace korvel

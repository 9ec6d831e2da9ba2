// Feeds colour mixing arbitrary colours and factors; a placeholder target for
// the pixel routines until they grow their own.
#include "paint/color.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    std::uint32_t a, b;
    std::memcpy(&a, data, 4);
    std::memcpy(&b, data + 4, 4);
    double factor = data[8] / 255.0;
    korvel::TColor mixed = korvel::MixColors(a, b, factor);
    if ((mixed & 0xFF000000u) != (a & 0xFF000000u)) __builtin_trap();
    return 0;
}

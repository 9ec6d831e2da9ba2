#pragma once
// Colours are 32-bit values 0x00BBGGRR: red in the low byte. A high byte of
// 0xFF marks a system colour that is converted to RGB before use.
#include <cstdint>

namespace korvel {

using TColor = std::uint32_t;

// "No colour", in code and in stored definitions alike: the magenta key colour
// of skin images, which also means "nobody answered" in shared answers.
constexpr TColor clNone = 0xFF00FF;

constexpr std::uint8_t RedOf(TColor c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GreenOf(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(TColor c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr TColor MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

}  // namespace korvel

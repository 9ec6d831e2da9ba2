#pragma once
// The fast rows of BlendOver. For a factor F the blend of a source byte p over a
// destination byte d is Round(p - F * (p - d)), ties to even. Its fixed-point form
//     S := hi16((p << 8) * SourceWeight) + hi16((d << 8) * DestWeight)   (16-bit)
//     result := (S + 128) >> 8, or (S + 127 + ((S >> 8) & 1)) >> 8 for ties to even
// needs only 16-bit lanes. Weights are accepted for a factor only when this form
// gives the formula's byte for all 65,536 (p, d) pairs, so the fast rows are exact
// by construction; factors without such weights keep the table.
#include <cstddef>
#include <cstdint>

namespace korvel {

struct TBlendOverWeights {
    std::uint16_t SourceWeight = 0;   // about (1 - F) * 65536
    std::uint16_t DestWeight = 0;     // about F * 65536
    bool TiesToEven = false;
};

// The fixed-point form for one pair, with the same 16-bit wrap-around as the vector lanes.
inline std::uint8_t BlendOverFixed(unsigned p, unsigned d, const TBlendOverWeights& w) {
    const auto s = static_cast<std::uint16_t>(((p << 8) * w.SourceWeight >> 16) + ((d << 8) * w.DestWeight >> 16));
    const auto t = static_cast<std::uint16_t>(w.TiesToEven ? s + 127 + ((s >> 8) & 1) : s + 128);
    return static_cast<std::uint8_t>(t >> 8);
}

// Looks for weights whose fixed-point form equals table (table[p * 256 + d], the
// formula's result) everywhere; false when the factor has none.
bool FindBlendOverWeights(double factor, const std::uint8_t* table, TBlendOverWeights& weights);

// n bytes of dest blended with n bytes of source (no key colour).
void BlendOverRow(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, const TBlendOverWeights& w,
                  const std::uint8_t* table);

// pixels pixels; source pixels equal to the key (blue, green, red) are left out.
void BlendOverRowKeyed(std::uint8_t* dest, const std::uint8_t* source, std::size_t pixels, const TBlendOverWeights& w,
                       const std::uint8_t* table, const std::uint8_t key[3]);

}  // namespace korvel

#pragma once
// The per-pixel transparency blend of one row of a mask piece, with a plain
// reference and a vector path that give the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

// For every pixel of colour whose colour is not the key colour (magenta), each
// channel of dest becomes ((d - s) * m + s * 256) >> 8 with m the matching byte
// of alpha; key pixels are left as they are. Returns true when the row had a key
// pixel. dest must not overlap colour or alpha.
bool MaskBlendRow(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t pixels);
bool MaskBlendRowReference(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha,
                           std::size_t pixels);

// The two halves of MaskBlendRow, for callers that draw one colour row many times:
// whether a row may hold a key pixel (false: it certainly holds none), and the
// blend of a row that holds none.
bool MaskRowMayHoldKey(const std::uint8_t* colour, std::size_t pixels);
void MaskBlendKeyFreeRow(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t pixels);

// MaskBlendKeyFreeRow for a colour row and its transparency row that many
// destination rows take: each byte's weight m and colour share s * (256 - m),
// worked out once by Set. The rows passed to Set must stay while Blend is used.
class TMaskRowSource {
public:
    void Set(const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t pixels);
    void Blend(std::uint8_t* dest) const;
    // Each byte's weight m and share s * (256 - m), for even and odd bytes apart
    // (null where the vector path is not in use).
    bool HasWeights() const { return weighed_; }
    const std::uint16_t* EvenWeights() const { return Part(0); }
    const std::uint16_t* OddWeights() const { return Part(1); }
    const std::uint16_t* EvenShares() const { return Part(2); }
    const std::uint16_t* OddShares() const { return Part(3); }
    std::size_t Bytes() const { return bytes_; }

private:
    const std::uint8_t* colour_ = nullptr;
    const std::uint8_t* alpha_ = nullptr;
    std::size_t bytes_ = 0;
    // Weights and shares of the bytes at even and at odd offsets, with room for a
    // whole last step: four parts of store_, each starting on a 64-byte boundary
    // (a vector load then never spans two cache lines).
    const std::uint16_t* Part(int k) const { return store_.data() + start_ + static_cast<std::size_t>(k) * partSize_; }
    std::uint16_t* Part(int k) { return store_.data() + start_ + static_cast<std::size_t>(k) * partSize_; }
    bool weighed_ = false;
    std::vector<std::uint16_t> store_;
    std::size_t start_ = 0, partSize_ = 0;
};

}  // namespace korvel

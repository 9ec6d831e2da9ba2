#include "paint/mask_row.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KORVEL_MASK_ROW_SSE2 1
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KORVEL_MASK_ROW_AVX2 1
#endif

namespace korvel {
namespace {

bool IsKey(const std::uint8_t* p) { return p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF; }

// (d - s) * m + s * 256 equals d * m + s * (256 - m), which is never negative and
// never above 255 * 256: the shift is a floor division and no clamp is needed.
std::uint8_t Blend(unsigned d, unsigned s, unsigned m) { return static_cast<std::uint8_t>((d * m + s * (256 - m)) >> 8); }

#ifdef KORVEL_MASK_ROW_SSE2
// Eight 16-bit lanes of d, s and m blended into eight 16-bit results.
inline __m128i Blend8(__m128i d, __m128i s, __m128i m) {
    const __m128i w = _mm_sub_epi16(_mm_set1_epi16(256), m);
    const __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(d, s), _mm_unpacklo_epi16(m, w));
    const __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi16(d, s), _mm_unpackhi_epi16(m, w));
    return _mm_packs_epi32(_mm_srli_epi32(lo, 8), _mm_srli_epi32(hi, 8));
}
#endif

#ifdef KORVEL_MASK_ROW_AVX2
const bool hasAvx2 = __builtin_cpu_supports("avx2");

// Where three bytes FF 00 FF start, at any byte offset from start up to n - 3, 32
// offsets per step; returns the first offset not yet looked at.
__attribute__((target("avx2"))) std::size_t FindKeyRunsAvx2(const std::uint8_t* p, std::size_t n, bool& found) {
    const __m256i ff = _mm256_set1_epi8(static_cast<char>(0xFF)), zero = _mm256_setzero_si256();
    __m256i any = zero;
    std::size_t i = 0;
    for (; i + 34 <= n; i += 32) {
        const __m256i a = _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)), ff);
        const __m256i b = _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 1)), zero);
        const __m256i c = _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 2)), ff);
        any = _mm256_or_si256(any, _mm256_and_si256(a, _mm256_and_si256(b, c)));
    }
    found = !_mm256_testz_si256(any, any);
    return i;
}

__attribute__((target("avx2"))) inline __m256i Load32(const void* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// The blend of KeyFreeBlend16 on 32 bytes.
__attribute__((target("avx2"))) inline __m256i KeyFreeBlend32(__m256i d, __m256i s, __m256i m) {
    const __m256i low = _mm256_set1_epi16(0x00FF), high = _mm256_set1_epi16(static_cast<short>(0xFF00));
    const __m256i se = _mm256_and_si256(s, low), so = _mm256_srli_epi16(s, 8);
    const __m256i even = _mm256_add_epi16(
        _mm256_mullo_epi16(_mm256_sub_epi16(_mm256_and_si256(d, low), se), _mm256_and_si256(m, low)),
        _mm256_slli_epi16(s, 8));
    const __m256i odd = _mm256_add_epi16(
        _mm256_mullo_epi16(_mm256_sub_epi16(_mm256_srli_epi16(d, 8), so), _mm256_srli_epi16(m, 8)),
        _mm256_and_si256(s, high));
    return _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_and_si256(odd, high));
}

// KeyFreeBlend for n >= 32, 32 bytes per step. The last step may overlap the one
// before it: it blends the destination bytes as they were before the loop (loaded
// first), so the bytes both steps write get the same values.
__attribute__((target("avx2"))) void KeyFreeBlendAvx2(std::uint8_t* dest, const std::uint8_t* colour,
                                                      const std::uint8_t* alpha, std::size_t n) {
    const __m256i last = Load32(dest + n - 32);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), KeyFreeBlend32(Load32(dest + i), Load32(colour + i), Load32(alpha + i)));
    if (i < n)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + n - 32),
                            KeyFreeBlend32(last, Load32(colour + n - 32), Load32(alpha + n - 32)));
}

__attribute__((target("avx2"))) inline __m256i SourceStep(__m256i d, const std::uint16_t* ew, const std::uint16_t* ow,
                                                          const std::uint16_t* es, const std::uint16_t* os) {
    const __m256i low = _mm256_set1_epi16(0x00FF), high = _mm256_set1_epi16(static_cast<short>(0xFF00));
    const __m256i e = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(d, low), Load32(ew)), Load32(es));
    const __m256i o = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(d, 8), Load32(ow)), Load32(os));
    return _mm256_or_si256(_mm256_srli_epi16(e, 8), _mm256_and_si256(o, high));
}

// The weights and shares of TMaskRowSource::Set, 32 bytes per step; returns the bytes done.
__attribute__((target("avx2"))) std::size_t SourceSetAvx2(const std::uint8_t* colour, const std::uint8_t* alpha,
                                                          std::size_t n, std::uint16_t* ew, std::uint16_t* ow,
                                                          std::uint16_t* es, std::uint16_t* os) {
    const __m256i low = _mm256_set1_epi16(0x00FF), full = _mm256_set1_epi16(256);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i s = Load32(colour + i), m = Load32(alpha + i);
        const __m256i me = _mm256_and_si256(m, low), mo = _mm256_srli_epi16(m, 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(ew + i / 2), me);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(ow + i / 2), mo);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(es + i / 2),
                            _mm256_mullo_epi16(_mm256_and_si256(s, low), _mm256_sub_epi16(full, me)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(os + i / 2),
                            _mm256_mullo_epi16(_mm256_srli_epi16(s, 8), _mm256_sub_epi16(full, mo)));
    }
    return i;
}

// TMaskRowSource::Blend for n >= 32: per byte (d * m + share) >> 8, the even and
// the odd bytes in their own 16-bit lanes as in KeyFreeBlend16. The last step may
// overlap the one before; it blends the bytes as they were before the loop.
__attribute__((target("avx2"))) void SourceBlendAvx2(std::uint8_t* dest, std::size_t n, const std::uint16_t* ew,
                                                     const std::uint16_t* ow, const std::uint16_t* es,
                                                     const std::uint16_t* os) {
    const __m256i last = Load32(dest + n - 32);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), SourceStep(Load32(dest + i), ew + i / 2, ow + i / 2, es + i / 2, os + i / 2));
    if (i < n) {
        const std::size_t j = n - 32, h = j / 2;
        // From an odd byte on, the even lanes hold odd bytes and the odd lanes the even bytes after them.
        const __m256i r = j % 2 == 0 ? SourceStep(last, ew + h, ow + h, es + h, os + h) : SourceStep(last, ow + h, ew + h + 1, os + h, es + h + 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + j), r);
    }
}
#endif

// Whether three bytes FF 00 FF start anywhere in the first n bytes of p, at any
// offset: without such a run no pixel of the row can be the key colour.
bool MayHoldKey(const std::uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    bool found = false;
#ifdef KORVEL_MASK_ROW_AVX2
    if (hasAvx2) i = FindKeyRunsAvx2(p, n, found);
#endif
#ifdef KORVEL_MASK_ROW_SSE2
    const __m128i ff = _mm_set1_epi8(static_cast<char>(0xFF)), zero = _mm_setzero_si128();
    __m128i any = zero;
    for (; !found && i + 18 <= n; i += 16) {
        const __m128i a = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), ff);
        const __m128i b = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1)), zero);
        const __m128i c = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 2)), ff);
        any = _mm_or_si128(any, _mm_and_si128(a, _mm_and_si128(b, c)));
    }
    found = found || _mm_movemask_epi8(any) != 0;
#endif
    for (; !found && i + 3 <= n; ++i) found = IsKey(p + i);
    return found;
}

#ifdef KORVEL_MASK_ROW_SSE2
// The blend of 16 bytes without shuffles: the even bytes and the odd bytes each
// in their own 16-bit lanes (masked, or shifted down). d * m + s * (256 - m) is
// at most 255 * 256, so it is exact in a 16-bit lane even when computed there as
// (d - s) * m + s * 256 modulo 65536; its high byte is the result, shifted down
// for the even bytes and left in place for the odd ones.
inline __m128i KeyFreeBlend16(__m128i d, __m128i s, __m128i m) {
    const __m128i low = _mm_set1_epi16(0x00FF), high = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i se = _mm_and_si128(s, low), so = _mm_srli_epi16(s, 8);
    const __m128i even =
        _mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(_mm_and_si128(d, low), se), _mm_and_si128(m, low)), _mm_slli_epi16(s, 8));
    const __m128i odd =
        _mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(_mm_srli_epi16(d, 8), so), _mm_srli_epi16(m, 8)), _mm_and_si128(s, high));
    return _mm_or_si128(_mm_srli_epi16(even, 8), _mm_and_si128(odd, high));
}
#endif

// The blend of every byte, for rows without key pixels.
void KeyFreeBlend(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t n) {
#ifdef KORVEL_MASK_ROW_AVX2
    if (hasAvx2 && n >= 32) {
        KeyFreeBlendAvx2(dest, colour, alpha, n);
        return;
    }
#endif
    std::size_t i = 0;
#ifdef KORVEL_MASK_ROW_SSE2
    if (n >= 16) {
        // As in KeyFreeBlendAvx2: the last step may overlap, from the bytes as they were.
        auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        const __m128i last = load(dest + n - 16);
        for (; i + 16 <= n; i += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), KeyFreeBlend16(load(dest + i), load(colour + i), load(alpha + i)));
        if (i < n)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + n - 16),
                             KeyFreeBlend16(last, load(colour + n - 16), load(alpha + n - 16)));
        return;
    }
#endif
    for (; i < n; ++i) dest[i] = Blend(dest[i], colour[i], alpha[i]);
}

}  // namespace

bool MaskBlendRowReference(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha,
                           std::size_t pixels) {
    bool sawKey = false;
    for (std::size_t x = 0; x < pixels; ++x, dest += 3, colour += 3, alpha += 3) {
        if (IsKey(colour)) {
            sawKey = true;
            continue;
        }
        for (int c = 0; c < 3; ++c) {
            const int v = ((dest[c] - colour[c]) * alpha[c] + colour[c] * 256) >> 8;
            dest[c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
    return sawKey;
}

bool MaskRowMayHoldKey(const std::uint8_t* colour, std::size_t pixels) { return MayHoldKey(colour, pixels * 3); }

void MaskBlendKeyFreeRow(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t pixels) {
    KeyFreeBlend(dest, colour, alpha, pixels * 3);
}

void TMaskRowSource::Set(const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t pixels) {
    colour_ = colour;
    alpha_ = alpha;
    bytes_ = pixels * 3;
    weighed_ = false;
#ifdef KORVEL_MASK_ROW_AVX2
    if (!hasAvx2 || bytes_ < 32) return;
    partSize_ = (bytes_ / 2 + 17 + 31) / 32 * 32;   // whole 64-byte lines
    store_.resize(partSize_ * 4 + 32);
    start_ = (64 - reinterpret_cast<std::uintptr_t>(store_.data()) % 64) % 64 / 2;
    std::uint16_t *ew = Part(0), *ow = Part(1), *es = Part(2), *os = Part(3);
    std::size_t i = SourceSetAvx2(colour, alpha, bytes_, ew, ow, es, os);
    for (; i < bytes_; ++i) {
        const auto weight = static_cast<std::uint16_t>(alpha[i]);
        const auto share = static_cast<std::uint16_t>(colour[i] * (256u - alpha[i]));
        std::uint16_t* weights = i % 2 ? ow : ew;
        std::uint16_t* shares = i % 2 ? os : es;
        weights[i / 2] = weight;
        shares[i / 2] = share;
    }
    weighed_ = true;
#endif
}

void TMaskRowSource::Blend(std::uint8_t* dest) const {
#ifdef KORVEL_MASK_ROW_AVX2
    if (weighed_) {
        SourceBlendAvx2(dest, bytes_, Part(0), Part(1), Part(2), Part(3));
        return;
    }
#endif
    KeyFreeBlend(dest, colour_, alpha_, bytes_);
}

bool MaskBlendRow(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t pixels) {
    const std::size_t n = pixels * 3;
    // Most rows have no key pixel at all: every byte is blended, 32 at a time.
    if (!MayHoldKey(colour, n)) {
        KeyFreeBlend(dest, colour, alpha, n);
        return false;
    }
    std::size_t i = 0;
    bool sawKey = false;
#ifdef KORVEL_MASK_ROW_SSE2
    // Five whole pixels per step: 16 bytes are loaded, 15 blended, the 16th kept.
    alignas(16) static const std::uint8_t keyPattern[16] = {0xFF, 0, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0, 0xFF,
                                                            0xFF, 0, 0xFF, 0xFF, 0, 0xFF, 0};
    alignas(16) static const std::uint8_t starts[16] = {0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    alignas(16) static const std::uint8_t last[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF};
    const __m128i keyBytes = _mm_load_si128(reinterpret_cast<const __m128i*>(keyPattern));
    const __m128i startMask = _mm_load_si128(reinterpret_cast<const __m128i*>(starts));
    const __m128i lastMask = _mm_load_si128(reinterpret_cast<const __m128i*>(last));
    const __m128i zero = _mm_setzero_si128();
    // The next step's destination is loaded before this step's store: a load that
    // overlapped the store just made would wait for it (no store forwarding), and
    // the byte they share is stored unchanged.
    __m128i d = n >= 16 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest)) : zero;
    for (; i + 16 <= n; i += 15) {
        const __m128i next = i + 31 <= n ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i + 15)) : zero;
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(alpha + i));
        // A pixel is the key when its three bytes are; the mark at its first byte is spread to the other two.
        const __m128i eq = _mm_cmpeq_epi8(s, keyBytes);
        const __m128i first =
            _mm_and_si128(startMask, _mm_and_si128(eq, _mm_and_si128(_mm_srli_si128(eq, 1), _mm_srli_si128(eq, 2))));
        sawKey |= _mm_movemask_epi8(first) != 0;
        const __m128i keep = _mm_or_si128(_mm_or_si128(first, lastMask),
                                          _mm_or_si128(_mm_slli_si128(first, 1), _mm_slli_si128(first, 2)));
        const __m128i lo = Blend8(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(m, zero));
        const __m128i hi = Blend8(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(m, zero));
        const __m128i blended = _mm_packus_epi16(lo, hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                         _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, blended)));
        d = next;
    }
#endif
    for (; i < n; i += 3) {
        if (IsKey(colour + i)) {
            sawKey = true;
            continue;
        }
        for (int c = 0; c < 3; ++c) dest[i + c] = Blend(dest[i + c], colour[i + c], alpha[i + c]);
    }
    return sawKey;
}

}  // namespace korvel

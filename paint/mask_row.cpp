#include "paint/mask_row.h"

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

// The blend of KeyFreeBlend, 32 bytes per step; returns the bytes done.
__attribute__((target("avx2"))) std::size_t KeyFreeBlendAvx2(std::uint8_t* dest, const std::uint8_t* colour,
                                                             const std::uint8_t* alpha, std::size_t n) {
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(colour + i));
        const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(alpha + i));
        const __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
        const __m256i dl = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_unpacklo_epi8(d, zero), sl), 7);
        const __m256i dh = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_unpackhi_epi8(d, zero), sh), 7);
        const __m256i ml = _mm256_slli_epi16(_mm256_unpacklo_epi8(m, zero), 1);
        const __m256i mh = _mm256_slli_epi16(_mm256_unpackhi_epi8(m, zero), 1);
        const __m256i lo = _mm256_add_epi16(sl, _mm256_mulhi_epi16(dl, ml));
        const __m256i hi = _mm256_add_epi16(sh, _mm256_mulhi_epi16(dh, mh));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
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

// The blend of every byte, for rows without key pixels: d * m + s * (256 - m) is
// s * 256 + (d - s) * m, so the result is s + floor((d - s) * m / 256), which the
// high half of ((d - s) << 7) * (m << 1) gives exactly in a signed 16-bit lane.
void KeyFreeBlend(std::uint8_t* dest, const std::uint8_t* colour, const std::uint8_t* alpha, std::size_t n) {
    std::size_t i = 0;
#ifdef KORVEL_MASK_ROW_AVX2
    if (hasAvx2) i = KeyFreeBlendAvx2(dest, colour, alpha, n);
#endif
#ifdef KORVEL_MASK_ROW_SSE2
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(alpha + i));
        const __m128i sl = _mm_unpacklo_epi8(s, zero), sh = _mm_unpackhi_epi8(s, zero);
        const __m128i dl = _mm_slli_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(d, zero), sl), 7);
        const __m128i dh = _mm_slli_epi16(_mm_sub_epi16(_mm_unpackhi_epi8(d, zero), sh), 7);
        const __m128i ml = _mm_slli_epi16(_mm_unpacklo_epi8(m, zero), 1);
        const __m128i mh = _mm_slli_epi16(_mm_unpackhi_epi8(m, zero), 1);
        const __m128i lo = _mm_add_epi16(sl, _mm_mulhi_epi16(dl, ml));
        const __m128i hi = _mm_add_epi16(sh, _mm_mulhi_epi16(dh, mh));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_packus_epi16(lo, hi));
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

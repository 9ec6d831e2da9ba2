#include "paint/blend_over_row.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KORVEL_BLEND_OVER_SSE2 1
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KORVEL_BLEND_OVER_AVX2 1
#endif

namespace korvel {
namespace {

bool Matches(const TBlendOverWeights& w, const std::uint8_t* table) {
    for (unsigned p = 0; p < 256; ++p)
        for (unsigned d = 0; d < 256; ++d)
            if (BlendOverFixed(p, d, w) != table[p * 256 + d]) return false;
    return true;
}

void BlendOverPixelsByTable(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, const std::uint8_t* table) {
    for (std::size_t i = 0; i < n; ++i) dest[i] = table[source[i] * 256 + dest[i]];
}

#ifdef KORVEL_BLEND_OVER_SSE2
// 16 blended bytes of p over d.
inline __m128i Blend16(__m128i p, __m128i d, const TBlendOverWeights& w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ws = _mm_set1_epi16(static_cast<short>(w.SourceWeight));
    const __m128i wd = _mm_set1_epi16(static_cast<short>(w.DestWeight));
    __m128i lo = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(zero, p), ws), _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, d), wd));
    __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpackhi_epi8(zero, p), ws), _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, d), wd));
    if (w.TiesToEven) {
        const __m128i one = _mm_set1_epi16(1), bias = _mm_set1_epi16(127);
        lo = _mm_add_epi16(lo, _mm_add_epi16(bias, _mm_and_si128(_mm_srli_epi16(lo, 8), one)));
        hi = _mm_add_epi16(hi, _mm_add_epi16(bias, _mm_and_si128(_mm_srli_epi16(hi, 8), one)));
    } else {
        const __m128i bias = _mm_set1_epi16(128);
        lo = _mm_add_epi16(lo, bias);
        hi = _mm_add_epi16(hi, bias);
    }
    return _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
}
#endif

#ifdef KORVEL_BLEND_OVER_AVX2
template <bool TiesToEven>
__attribute__((target("avx2"))) std::size_t BlendOverRowAvx2(std::uint8_t* dest, const std::uint8_t* source,
                                                             std::size_t n, const TBlendOverWeights& w) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ws = _mm256_set1_epi16(static_cast<short>(w.SourceWeight));
    const __m256i wd = _mm256_set1_epi16(static_cast<short>(w.DestWeight));
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i bias = _mm256_set1_epi16(TiesToEven ? 127 : 128);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        // The in-lane unpacks and the in-lane pack undo each other, so byte order is kept.
        __m256i lo = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, p), ws),
                                      _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, d), wd));
        __m256i hi = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, p), ws),
                                      _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, d), wd));
        if (TiesToEven) {
            lo = _mm256_add_epi16(lo, _mm256_and_si256(_mm256_srli_epi16(lo, 8), one));
            hi = _mm256_add_epi16(hi, _mm256_and_si256(_mm256_srli_epi16(hi, 8), one));
        }
        lo = _mm256_srli_epi16(_mm256_add_epi16(lo, bias), 8);
        hi = _mm256_srli_epi16(_mm256_add_epi16(hi, bias), 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}

const bool hasAvx2 = __builtin_cpu_supports("avx2");
#endif

}  // namespace

bool FindBlendOverWeights(double factor, const std::uint8_t* table, TBlendOverWeights& weights) {
    if (!(factor >= 0.0 && factor <= 1.0)) return false;
    const long source = std::lround((1.0 - factor) * 65536.0), dest = std::lround(factor * 65536.0);
    for (const bool ties : {false, true})
        for (long ds : {0L, -1L, 1L})
            for (long dd : {0L, -1L, 1L}) {
                const long s = source + ds, d = dest + dd;
                if (s < 0 || s > 65535 || d < 0 || d > 65535) continue;
                const TBlendOverWeights w{static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(d), ties};
                if (Matches(w, table)) {
                    weights = w;
                    return true;
                }
            }
    return false;
}

void BlendOverRow(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, const TBlendOverWeights& w,
                  const std::uint8_t* table) {
    std::size_t i = 0;
#ifdef KORVEL_BLEND_OVER_AVX2
    if (hasAvx2) i = w.TiesToEven ? BlendOverRowAvx2<true>(dest, source, n, w) : BlendOverRowAvx2<false>(dest, source, n, w);
#endif
#ifdef KORVEL_BLEND_OVER_SSE2
    for (; i + 16 <= n; i += 16) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), Blend16(p, d, w));
    }
#endif
    BlendOverPixelsByTable(dest + i, source + i, n - i, table);
}

void BlendOverRowKeyed(std::uint8_t* dest, const std::uint8_t* source, std::size_t pixels, const TBlendOverWeights& w,
                       const std::uint8_t* table, const std::uint8_t key[3]) {
    const std::size_t n = pixels * 3;
    std::size_t i = 0;
#ifdef KORVEL_BLEND_OVER_SSE2
    // Five whole pixels per step: 16 bytes are loaded, 15 blended, the 16th kept.
    alignas(16) std::uint8_t pattern[16], starts[16] = {}, last[16] = {};
    for (int b = 0; b < 15; ++b) pattern[b] = key[b % 3];
    pattern[15] = 0;
    for (int b = 0; b < 15; b += 3) starts[b] = 0xFF;
    last[15] = 0xFF;
    const __m128i keyBytes = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
    const __m128i startMask = _mm_load_si128(reinterpret_cast<const __m128i*>(starts));
    const __m128i lastMask = _mm_load_si128(reinterpret_cast<const __m128i*>(last));
    // The next step's destination is loaded before this step's store: a load that
    // overlapped the store just made would wait for it (no store forwarding), and
    // the byte they share is stored unchanged.
    __m128i d = n >= 16 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest)) : _mm_setzero_si128();
    for (; i + 16 <= n; i += 15) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i next =
            i + 31 <= n ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i + 15)) : _mm_setzero_si128();
        // A pixel is the key when its three bytes are; the mark at its first byte
        // is spread to the other two.
        const __m128i eq = _mm_cmpeq_epi8(p, keyBytes);
        __m128i first = _mm_and_si128(eq, _mm_and_si128(_mm_srli_si128(eq, 1), _mm_srli_si128(eq, 2)));
        first = _mm_and_si128(first, startMask);
        const __m128i keep = _mm_or_si128(_mm_or_si128(first, lastMask),
                                          _mm_or_si128(_mm_slli_si128(first, 1), _mm_slli_si128(first, 2)));
        const __m128i blended = Blend16(p, d, w);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                         _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, blended)));
        d = next;
    }
#endif
    for (; i < n; i += 3) {
        if (source[i] == key[0] && source[i + 1] == key[1] && source[i + 2] == key[2]) continue;
        BlendOverPixelsByTable(dest + i, source + i, 3, table);
    }
}

}  // namespace korvel

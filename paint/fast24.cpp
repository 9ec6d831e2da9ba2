#include "paint/fast24.h"

#include <algorithm>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KORVEL_BLEND_SSE2 1
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KORVEL_BLEND_AVX2 1
#endif

namespace korvel {

TacFast24 Fast24Src;
TacFast24 Fast24Dst;
TacFastSum24 FastSum24;

bool TacFast24::Attach(TBitmap24& bitmap) {
    if (bitmap.Width() < 2 || bitmap.Height() < 2) {
        Width = 0;
        return false;
    }
    Bitmap = &bitmap;
    Width = bitmap.Width();
    Height = bitmap.Height();
    Bits = bitmap.ScanLine(0);
    Stride = bitmap.ScanLine(1) - bitmap.ScanLine(0);
    return true;
}

bool TacFastSum24::Attach(TBitmap24& source, TBitmap24& dest) {
    if (source.Width() < 2 || source.Height() < 2 || dest.Width() < 2 || dest.Height() < 2) return false;
    Source = &source;
    Dest = &dest;
    Width = std::min(source.Width(), dest.Width());
    Height = std::min(source.Height(), dest.Height());
    SourceBits = source.ScanLine(0);
    DestBits = dest.ScanLine(0);
    SourceStride = source.ScanLine(1) - source.ScanLine(0);
    DestStride = dest.ScanLine(1) - dest.ScanLine(0);
    return true;
}

void BlendRowReference(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, std::uint8_t alpha) {
    const unsigned a = alpha, b = 255u - alpha;
    for (std::size_t i = n; i-- > 0;) dest[i] = static_cast<std::uint8_t>((dest[i] * a + source[i] * b + 127u) >> 8);
}

#ifdef KORVEL_BLEND_AVX2
namespace {

// 32 bytes at a time where the processor has AVX2; the in-lane unpacks and the
// in-lane pack undo each other, so byte order is kept.
__attribute__((target("avx2"))) std::size_t BlendRowAvx2(std::uint8_t* dest, const std::uint8_t* source,
                                                          std::size_t n, std::uint8_t alpha) {
    const __m256i a = _mm256_set1_epi16(alpha);
    const __m256i b = _mm256_set1_epi16(static_cast<short>(255 - alpha));
    const __m256i bias = _mm256_set1_epi16(127);
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        __m256i lo = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), a),
                                                       _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), b)), bias);
        __m256i hi = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), a),
                                                       _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), b)), bias);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                            _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8)));
    }
    return i;
}

const bool hasAvx2 = __builtin_cpu_supports("avx2");

}  // namespace
#endif

void BlendRow(std::uint8_t* dest, const std::uint8_t* source, std::size_t n, std::uint8_t alpha) {
    std::size_t i = 0;
#ifdef KORVEL_BLEND_AVX2
    if (hasAvx2) i = BlendRowAvx2(dest, source, n, alpha);
#endif
#ifdef KORVEL_BLEND_SSE2
    // 16-bit lanes: d * A + s * (255 - A) + 127 is at most 65152, so nothing overflows.
    const __m128i a = _mm_set1_epi16(alpha);
    const __m128i b = _mm_set1_epi16(static_cast<short>(255 - alpha));
    const __m128i bias = _mm_set1_epi16(127);
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), a),
                                                 _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), b)), bias);
        __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), a),
                                                 _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), b)), bias);
        __m128i r = _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), r);
    }
#endif
    const unsigned a1 = alpha, b1 = 255u - alpha;
    for (; i < n; ++i) dest[i] = static_cast<std::uint8_t>((dest[i] * a1 + source[i] * b1 + 127u) >> 8);
}

void TRowBlendSource::Set(const std::uint8_t* source, std::size_t n, std::uint8_t alpha) {
    alpha_ = alpha;
    repeating_ = false;
    const unsigned b = 255u - alpha;
    even_.assign(n / 2 + 17, 0);
    odd_.assign(n / 2 + 17, 0);
    for (std::size_t i = 0; i < n; ++i) (i % 2 ? odd_ : even_)[i / 2] = static_cast<std::uint16_t>(source[i] * b + 127u);
}

void TRowBlendSource::SetRepeating(const std::uint8_t* pixel, std::size_t n, std::uint8_t alpha) {
    (void)n;
    alpha_ = alpha;
    repeating_ = true;
    const unsigned b = 255u - alpha;
    for (int c = 0; c < 3; ++c) pixel_[c] = static_cast<std::uint16_t>(pixel[c] * b + 127u);
    // Lane k of a step starting at q modulo 3 holds byte q + 2k (even lanes) or q + 2k + 1 (odd lanes).
    for (int q = 0; q < 3; ++q)
        for (int k = 0, e = q, o = (q + 1) % 3; k < 16; ++k, e = (e + 2) % 3, o = (o + 2) % 3) {
            pattern_[q][0][k] = pixel_[e];
            pattern_[q][1][k] = pixel_[o];
        }
}

#ifdef KORVEL_BLEND_AVX2
namespace {

// 32 bytes of TRowBlendSource::Blend: the even bytes and the odd bytes each in
// their own 16-bit lanes, where u * alpha + k is at most 65152; the result is the
// high byte, shifted down for the even bytes and left in place for the odd ones.
__attribute__((target("avx2"))) inline __m256i RowBlend32(__m256i u, __m256i a, const std::uint16_t* ke,
                                                          const std::uint16_t* ko) {
    const __m256i low = _mm256_set1_epi16(0x00FF), high = _mm256_set1_epi16(static_cast<short>(0xFF00));
    const __m256i e = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(u, low), a),
                                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ke)));
    const __m256i o = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(u, 8), a),
                                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ko)));
    return _mm256_or_si256(_mm256_srli_epi16(e, 8), _mm256_and_si256(o, high));
}

// Blend for n >= 32. The last step may overlap the one before: it blends what
// under held before the loop (dest may be under), so shared bytes get the same values.
__attribute__((target("avx2"))) void RowBlendAvx2(std::uint8_t* dest, const std::uint8_t* under, std::size_t offset,
                                                  std::size_t n, std::uint16_t alpha, const std::uint16_t* even,
                                                  const std::uint16_t* odd) {
    const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
    // Byte j of the row: its even lanes take the shares of bytes j, j + 2, ...
    auto shares = [&](std::size_t j, const std::uint16_t*& ke, const std::uint16_t*& ko) {
        if (j % 2 == 0)
            ke = even + j / 2, ko = odd + j / 2;
        else
            ke = odd + j / 2, ko = even + j / 2 + 1;
    };
    const __m256i last = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + n - 32));
    const std::uint16_t *ke, *ko;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        shares(offset + i, ke, ko);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                            RowBlend32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + i)), a, ke, ko));
    }
    if (i < n) {
        shares(offset + n - 32, ke, ko);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + n - 32), RowBlend32(last, a, ke, ko));
    }
}

// Blend for n >= 32 of a row that repeats three bytes: the shares of a step are
// one of three patterns, by where the step starts modulo 3 (steps of 32 bytes
// move it on by 2), so nothing is loaded for them.
__attribute__((target("avx2"))) void RepeatingRowBlendAvx2(std::uint8_t* dest, const std::uint8_t* under,
                                                           std::size_t offset, std::size_t n, std::uint16_t alpha,
                                                           const std::uint16_t (*pattern)[2][16]) {
    const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i last = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + n - 32));
    std::size_t i = 0, q = offset % 3;
    for (; i + 32 <= n; i += 32, q = q == 0 ? 2 : q - 1)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                            RowBlend32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + i)), a,
                                       pattern[q][0], pattern[q][1]));
    if (i < n) {
        const std::size_t r = (offset + n - 32) % 3;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + n - 32), RowBlend32(last, a, pattern[r][0], pattern[r][1]));
    }
}

// The shares of the row blend for a step at byte j of the row, as even and odd lanes.
struct TShares {
    const std::uint16_t* Even;
    const std::uint16_t* Odd;
};

// Both blends of BlendThenWeigh on 32 bytes: the row blend leaves each result in
// the high byte of its lane, shifted down it is the byte the weighing takes.
__attribute__((target("avx2"))) inline __m256i BlendThenWeigh32(__m256i u, __m256i a, TShares k, TShares w, TShares s) {
    auto load = [](const std::uint16_t* p) { return reinterpret_cast<const __m256i*>(p); };
    const __m256i low = _mm256_set1_epi16(0x00FF), high = _mm256_set1_epi16(static_cast<short>(0xFF00));
    const __m256i e = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(u, low), a), _mm256_loadu_si256(load(k.Even))), 8);
    const __m256i o = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(u, 8), a), _mm256_loadu_si256(load(k.Odd))), 8);
    const __m256i we = _mm256_add_epi16(_mm256_mullo_epi16(e, _mm256_loadu_si256(load(w.Even))), _mm256_loadu_si256(load(s.Even)));
    const __m256i wo = _mm256_add_epi16(_mm256_mullo_epi16(o, _mm256_loadu_si256(load(w.Odd))), _mm256_loadu_si256(load(s.Odd)));
    return _mm256_or_si256(_mm256_srli_epi16(we, 8), _mm256_and_si256(wo, high));
}

// Lanes of per-byte arrays kept apart for even and odd bytes, for a step at byte j.
inline TShares Lanes(const std::uint16_t* even, const std::uint16_t* odd, std::size_t j) {
    return j % 2 == 0 ? TShares{even + j / 2, odd + j / 2} : TShares{odd + j / 2, even + j / 2 + 1};
}

__attribute__((target("avx2"))) void BlendThenWeighAvx2(std::uint8_t* dest, const std::uint8_t* under,
                                                        std::size_t offset, std::size_t n, std::uint16_t alpha,
                                                        bool repeating, const std::uint16_t (*pattern)[2][16],
                                                        const std::uint16_t* even, const std::uint16_t* odd,
                                                        const std::uint16_t* ew, const std::uint16_t* ow,
                                                        const std::uint16_t* es, const std::uint16_t* os) {
    const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
    auto shares = [&](std::size_t j) {
        return repeating ? TShares{pattern[j % 3][0], pattern[j % 3][1]} : Lanes(even, odd, j);
    };
    auto under32 = [under](std::size_t i) { return reinterpret_cast<const __m256i*>(under + i); };
    auto dest32 = [dest](std::size_t i) { return reinterpret_cast<__m256i*>(dest + i); };
    // The shares move on by 16 lanes a step; a repeating row's come round every third step.
    std::size_t i = 0;
    if (repeating) {
        std::size_t q = offset % 3;
        for (; i + 32 <= n; i += 32, q = q == 0 ? 2 : q - 1)
            _mm256_storeu_si256(dest32(i), BlendThenWeigh32(_mm256_loadu_si256(under32(i)), a,
                                                            TShares{pattern[q][0], pattern[q][1]},
                                                            TShares{ew + i / 2, ow + i / 2}, TShares{es + i / 2, os + i / 2}));
    } else {
        TShares k = Lanes(even, odd, offset);
        for (; i + 32 <= n; i += 32, k.Even += 16, k.Odd += 16)
            _mm256_storeu_si256(dest32(i), BlendThenWeigh32(_mm256_loadu_si256(under32(i)), a, k,
                                                            TShares{ew + i / 2, ow + i / 2}, TShares{es + i / 2, os + i / 2}));
    }
    // under is not written, so an overlapping last step needs nothing kept.
    if (i < n) {
        const std::size_t j = n - 32;
        _mm256_storeu_si256(dest32(j), BlendThenWeigh32(_mm256_loadu_si256(under32(j)), a, shares(offset + j),
                                                        Lanes(ew, ow, j), Lanes(es, os, j)));
    }
}

}  // namespace
#endif

bool TRowBlendSource::BlendThenWeigh(std::uint8_t* dest, const std::uint8_t* under, std::size_t offset, std::size_t n,
                                     const std::uint16_t* evenWeight, const std::uint16_t* oddWeight,
                                     const std::uint16_t* evenShare, const std::uint16_t* oddShare) const {
#ifdef KORVEL_BLEND_AVX2
    if (hasAvx2 && n >= 32) {
        BlendThenWeighAvx2(dest, under, offset, n, alpha_, repeating_, pattern_, even_.data(), odd_.data(), evenWeight,
                           oddWeight, evenShare, oddShare);
        return true;
    }
#endif
    (void)dest, (void)under, (void)offset, (void)n, (void)evenWeight, (void)oddWeight, (void)evenShare, (void)oddShare;
    return false;
}

void TRowBlendSource::Blend(std::uint8_t* dest, const std::uint8_t* under, std::size_t offset, std::size_t n) const {
#ifdef KORVEL_BLEND_AVX2
    if (hasAvx2 && n >= 32) {
        if (repeating_)
            RepeatingRowBlendAvx2(dest, under, offset, n, alpha_, pattern_);
        else
            RowBlendAvx2(dest, under, offset, n, alpha_, even_.data(), odd_.data());
        return;
    }
#endif
#ifdef KORVEL_BLEND_SSE2
    if (n >= 16) {
        // 16 bytes a step as in RowBlend32, the shares of the step's lanes from the same tables.
        const __m128i a = _mm_set1_epi16(static_cast<short>(alpha_));
        const __m128i low = _mm_set1_epi16(0x00FF), high = _mm_set1_epi16(static_cast<short>(0xFF00));
        auto step = [&](__m128i u, std::size_t j) {
            const std::uint16_t *ke, *ko;
            if (repeating_)
                ke = pattern_[j % 3][0], ko = pattern_[j % 3][1];
            else if (j % 2 == 0)
                ke = even_.data() + j / 2, ko = odd_.data() + j / 2;
            else
                ke = odd_.data() + j / 2, ko = even_.data() + j / 2 + 1;
            const __m128i e = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(u, low), a),
                                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(ke)));
            const __m128i o = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(u, 8), a),
                                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(ko)));
            return _mm_or_si128(_mm_srli_epi16(e, 8), _mm_and_si128(o, high));
        };
        // The last step may overlap: it blends what under held before (dest may be under).
        const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(under + n - 16));
        std::size_t i = 0;
        for (; i + 16 <= n; i += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                             step(_mm_loadu_si128(reinterpret_cast<const __m128i*>(under + i)), offset + i));
        if (i < n) _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + n - 16), step(last, offset + n - 16));
        return;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = offset + i;
        const unsigned k = repeating_ ? pixel_[j % 3] : (j % 2 ? odd_ : even_)[j / 2];
        dest[i] = static_cast<std::uint8_t>((under[i] * alpha_ + k) >> 8);
    }
}

void TacFastSum24::BlendRect() {
    if (!Source || !Dest) return;
    if (DestLeft < 0 || DestTop < 0 || DestRight > Dest->Width() || DestBottom > Dest->Height()) return;
    const int w = DestRight - DestLeft, h = DestBottom - DestTop;   // both ends inside Dest: no overflow
    if (w <= 0 || h <= 0) return;
    if (SourceLeft < 0 || SourceTop < 0 || SourceLeft > Source->Width() - w || SourceTop > Source->Height() - h) return;
    const std::size_t bytes = static_cast<std::size_t>(w) * 3;
    // Within one bitmap the backward walk decides which bytes are read already blended.
    const bool overlapping = Source == Dest;
    for (int y = h - 1; y >= 0; --y) {
        std::uint8_t* d = DestBits + (DestTop + y) * DestStride + DestLeft * 3;
        const std::uint8_t* s = SourceBits + (SourceTop + y) * SourceStride + SourceLeft * 3;
        if (overlapping)
            BlendRowReference(d, s, bytes, Alpha);
        else
            BlendRow(d, s, bytes, Alpha);
    }
}

}  // namespace korvel

// Row primitives, in AVX-512 where the processor has it and as plain loops otherwise.
#include "filters/RowOps.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#if defined(__AVX512BW__) && defined(__AVX512VBMI__)
// GCC 12 reports the deliberately undefined pass-through operand inside its own AVX-512
// intrinsics as maybe uninitialised.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#define LF_ROWS_AVX512 1
#endif

namespace lf::rows {
namespace {

[[maybe_unused]] void ApplyTablesPlain(uint8_t* p, int32_t width, const uint8_t* blue, const uint8_t* green,
                                       const uint8_t* red) {
    for (int32_t x = 0; x < width; ++x, p += 3) {
        p[0] = blue[p[0]];
        p[1] = green[p[1]];
        p[2] = red[p[2]];
    }
}

[[maybe_unused]] void GrayPlain(uint8_t* p, int32_t width, bool threshold) {
    for (int32_t x = 0; x < width; ++x, p += 3) {
        int v = (p[0] + p[1] + p[2]) / 3;
        if (threshold) v = v > 127 ? 255 : 0;
        p[0] = p[1] = p[2] = static_cast<uint8_t>(v);
    }
}

[[maybe_unused]] void RotatePlain(uint8_t* p, int32_t width) {
    for (int32_t x = 0; x < width; ++x, p += 3) {
        const uint8_t blue = p[0], green = p[1], red = p[2];
        p[0] = green;
        p[1] = red;
        p[2] = blue;
    }
}

[[maybe_unused]] void IntensitiesPlain(const uint8_t* p, int32_t width, uint8_t* out) {
    for (int32_t x = 0; x < width; ++x, p += 3) out[x] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
}

[[maybe_unused]] void MinMaxPlain(const uint8_t* p, int32_t width, int minimum[3], int maximum[3]) {
    for (int32_t x = 0; x < width; ++x, p += 3)
        for (int c = 0; c < 3; ++c) {
            minimum[c] = std::min<int>(minimum[c], p[c]);
            maximum[c] = std::max<int>(maximum[c], p[c]);
        }
}

[[maybe_unused]] void SpreadGreyPlain(const uint8_t* grey, int32_t width, uint8_t* p) {
    for (int32_t x = 0; x < width; ++x, p += 3) p[0] = p[1] = p[2] = grey[x];
}

[[maybe_unused]] inline int Moved(int c, int d, bool soften) {
    const int v = soften ? c - ((d + 1) >> 1) : c + 2 * d;  // (d + 1) >> 1 is ⌈d / 2⌉, also below 0
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

[[maybe_unused]] void SharpenPlain(uint8_t* p, const uint8_t* means, int32_t count, bool soften) {
    for (int32_t x = 0; x < count; ++x, p += 3) {
        const int m = means[x];
        p[2] = static_cast<uint8_t>(Moved(p[2], (p[0] + p[1] + p[2]) / 3 - m, soften));
        p[1] = static_cast<uint8_t>(Moved(p[1], (p[0] + p[1] + p[2]) / 3 - m, soften));
        p[0] = static_cast<uint8_t>(Moved(p[0], (p[0] + p[1] + p[2]) / 3 - m, soften));
    }
}

[[maybe_unused]] void AddNoisePlain(uint8_t* p, int32_t width, int amplitude, uint32_t& seed) {
    const uint32_t n = static_cast<uint32_t>(amplitude);
    auto below = [&] {
        seed = seed * 134775813u + 1u;
        return static_cast<int>((uint64_t{seed} * n) >> 32);
    };
    auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int32_t x = 0; x < width; ++x, p += 3) {
        const int rR = below(), rG = below(), rB = below();
        p[2] = clamp(p[2] + 2 * rR - amplitude);
        p[1] = clamp(p[1] + 2 * rG - amplitude);
        p[0] = clamp(p[0] + 2 * rB - amplitude);
    }
}

#ifdef LF_ROWS_AVX512

// Masks of the lanes of a 64-byte vector that hold channel c when the vector starts at a byte
// whose channel is `phase` (0 blue, 1 green, 2 red).
struct ChannelMasks {
    __mmask64 lanes[3][3];
    ChannelMasks() {
        for (int phase = 0; phase < 3; ++phase)
            for (int c = 0; c < 3; ++c) {
                uint64_t m = 0;
                for (int i = 0; i < 64; ++i)
                    if ((phase + i) % 3 == c) m |= uint64_t{1} << i;
                lanes[phase][c] = m;
            }
    }
};
const ChannelMasks channelMasks;

__mmask64 TailMask(size_t bytes) { return bytes >= 64 ? ~__mmask64{0} : (__mmask64{1} << bytes) - 1; }

// A 256-entry byte table as four 64-byte quarters for two-table permutes.
struct Table {
    __m512i q0, q1, q2, q3;
    explicit Table(const uint8_t* t)
        : q0(_mm512_loadu_si512(t)),
          q1(_mm512_loadu_si512(t + 64)),
          q2(_mm512_loadu_si512(t + 128)),
          q3(_mm512_loadu_si512(t + 192)) {}
    __m512i Lookup(__m512i v) const {
        const __m512i low = _mm512_permutex2var_epi8(q0, v, q1);   // entries 0..127 by bits 0..6
        const __m512i high = _mm512_permutex2var_epi8(q2, v, q3);  // entries 128..255
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
    }
};

void ApplyTablesWide(uint8_t* p, int32_t width, const uint8_t* blue, const uint8_t* green,
                     const uint8_t* red) {
    const size_t bytes = static_cast<size_t>(width) * 3;
    const Table tb(blue);
    size_t i = 0;
    if (blue == green && green == red) {
        for (; i + 64 <= bytes; i += 64) _mm512_storeu_si512(p + i, tb.Lookup(_mm512_loadu_si512(p + i)));
        if (i < bytes) {
            const __mmask64 m = TailMask(bytes - i);
            _mm512_mask_storeu_epi8(p + i, m, tb.Lookup(_mm512_maskz_loadu_epi8(m, p + i)));
        }
        return;
    }
    const Table tg(green), tr(red);
    auto lookup = [&](__m512i v, int phase) {
        const __m512i r = _mm512_mask_blend_epi8(channelMasks.lanes[phase][1], tb.Lookup(v), tg.Lookup(v));
        return _mm512_mask_blend_epi8(channelMasks.lanes[phase][2], r, tr.Lookup(v));
    };
    // Blocks of three vectors each start on a blue byte; the tail goes vector by vector. Masked
    // stores are slow on some processors, so only the tail uses them.
    for (; i + 192 <= bytes; i += 192)
        for (int k = 0; k < 3; ++k)
            _mm512_storeu_si512(p + i + 64 * k, lookup(_mm512_loadu_si512(p + i + 64 * k), k));
    for (int phase = 0; i < bytes; i += 64, ++phase) {
        const __mmask64 m = TailMask(bytes - i);
        _mm512_mask_storeu_epi8(p + i, m, lookup(_mm512_maskz_loadu_epi8(m, p + i), phase));
    }
}

// Index vectors over 21 pixels (63 bytes) of a 64-byte load.
struct PixelShuffles {
    __m512i blue, green, red;  // channel of pixel k into 16-bit lane k (high byte zeroed by mask)
    __m512i spread;            // 16-bit lane k's low byte into the three bytes of pixel k
    __m512i rotate;            // (R, G, B) := (B, R, G) within each pixel
    __m512i blueGreen;         // pixel k's blue from lane k of the first source, green of the second
    __mmask64 redBytes;        // the red byte of each pixel
    __mmask64 lowBytes;        // even bytes: the low byte of each 16-bit lane
    PixelShuffles() {
        alignas(64) uint8_t b[64], g[64], r[64], s[64], t[64], bg[64];
        uint64_t redMask = 0;
        for (int i = 0; i < 64; ++i) {
            const int k = i / 2;
            const int pixel = std::min(k, 20);
            b[i] = static_cast<uint8_t>(3 * pixel);
            g[i] = static_cast<uint8_t>(3 * pixel + 1);
            r[i] = static_cast<uint8_t>(3 * pixel + 2);
            s[i] = static_cast<uint8_t>(2 * std::min(i / 3, 20));
            // Blue takes the old green, green the old red, red the old blue; byte 63 stays.
            const int c = i % 3, pixelStart = i - c;
            const int from = c == 0 ? 1 : c == 1 ? 2 : 0;
            t[i] = i < 63 ? static_cast<uint8_t>(pixelStart + from) : 63;
            bg[i] = static_cast<uint8_t>(2 * std::min(i / 3, 20) + (c == 1 ? 64 : 0));
            if (c == 2) redMask |= uint64_t{1} << i;
        }
        blue = _mm512_load_si512(b);
        green = _mm512_load_si512(g);
        red = _mm512_load_si512(r);
        spread = _mm512_load_si512(s);
        rotate = _mm512_load_si512(t);
        blueGreen = _mm512_load_si512(bg);
        redBytes = redMask;
        lowBytes = 0x5555555555555555ull;
    }
};
const PixelShuffles shuffles;

// Bytes of the row from byte i on: a full 63-byte step when 64 bytes remain, else the rest.
__mmask64 PixelMask(size_t remaining) {
    return remaining >= 63 ? (__mmask64{1} << 63) - 1 : TailMask(remaining);
}

// Runs f(v, x) on every 21 pixels (63 bytes) of a row, v the bytes loaded at pixel x, and stores
// its result there. Where 64 bytes remain the plain 64-byte store puts the 64th byte back as it
// was loaded, and the next chunk is loaded before that store, so no load waits for an
// overlapping store; only the row's tail uses masked loads and stores (slow on some processors).
template <typename F>
void ForEachPixelChunk(uint8_t* p, size_t bytes, F&& f) {
    constexpr __mmask64 pixels = (__mmask64{1} << 63) - 1;
    size_t i = 0, x = 0;
    if (bytes >= 64) {
        __m512i v = _mm512_loadu_si512(p);
        for (; i + 63 + 64 <= bytes; i += 63, x += 21) {
            const __m512i next = _mm512_loadu_si512(p + i + 63);
            _mm512_storeu_si512(p + i, _mm512_mask_blend_epi8(pixels, v, f(v, x)));
            v = next;
        }
        _mm512_storeu_si512(p + i, _mm512_mask_blend_epi8(pixels, v, f(v, x)));
        i += 63, x += 21;
    }
    for (; i < bytes; i += 63, x += 21) {
        const __mmask64 m = PixelMask(bytes - i);
        _mm512_mask_storeu_epi8(p + i, m, f(_mm512_maskz_loadu_epi8(m, p + i), x));
    }
}

__m512i LoadPixels(const uint8_t* p, size_t remaining) {
    return remaining >= 64 ? _mm512_loadu_si512(p) : _mm512_maskz_loadu_epi8(PixelMask(remaining), p);
}

// Up to 21 bytes of a compact row from x on.
__m256i LoadBytes(const uint8_t* row, size_t x, size_t width) {
    if (x + 32 <= width) return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x));
    const size_t n = std::min<size_t>(21, width - x);
    return _mm256_maskz_loadu_epi8(static_cast<__mmask32>((uint64_t{1} << n) - 1), row + x);
}
void StoreBytes(uint8_t* row, size_t x, size_t width, __m256i bytes) {
    // Beyond the 21 bytes the plain store writes what the next step overwrites.
    if (x + 32 <= width) return _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + x), bytes);
    const size_t n = std::min<size_t>(21, width - x);
    _mm256_mask_storeu_epi8(row + x, static_cast<__mmask32>((uint64_t{1} << n) - 1), bytes);
}

__m512i Intensity16(__m512i b, __m512i g, __m512i r) {
    const __m512i sum = _mm512_add_epi16(_mm512_add_epi16(b, g), r);
    // sum div 3 = (sum × 43691) >> 17, exact for sums below 131072.
    return _mm512_srli_epi16(_mm512_mulhi_epu16(sum, _mm512_set1_epi16(-21845)), 1);
}

// The three channels of 21 pixels, each pixel in a 16-bit lane.
struct Channels16 {
    __m512i b, g, r;
    explicit Channels16(__m512i v)
        : b(_mm512_maskz_permutexvar_epi8(shuffles.lowBytes, shuffles.blue, v)),
          g(_mm512_maskz_permutexvar_epi8(shuffles.lowBytes, shuffles.green, v)),
          r(_mm512_maskz_permutexvar_epi8(shuffles.lowBytes, shuffles.red, v)) {}
};

__m512i IntensityLanes(__m512i v) {
    const Channels16 c(v);
    return Intensity16(c.b, c.g, c.r);
}

void GrayWide(uint8_t* p, int32_t width, bool threshold) {
    ForEachPixelChunk(p, static_cast<size_t>(width) * 3, [threshold](__m512i v, size_t) {
        __m512i q = IntensityLanes(v);
        if (threshold) q = _mm512_maskz_set1_epi16(_mm512_cmpgt_epu16_mask(q, _mm512_set1_epi16(127)), 255);
        return _mm512_permutexvar_epi8(shuffles.spread, q);
    });
}

void RotateWide(uint8_t* p, int32_t width) {
    ForEachPixelChunk(p, static_cast<size_t>(width) * 3,
                      [](__m512i v, size_t) { return _mm512_permutexvar_epi8(shuffles.rotate, v); });
}

void IntensitiesWide(const uint8_t* p, int32_t width, uint8_t* out) {
    const size_t bytes = static_cast<size_t>(width) * 3;
    for (size_t i = 0, x = 0; i < bytes; i += 63, x += 21)
        StoreBytes(out, x, static_cast<size_t>(width),
                   _mm512_cvtepi16_epi8(IntensityLanes(LoadPixels(p + i, bytes - i))));
}

void MinMaxWide(const uint8_t* p, int32_t width, int minimum[3], int maximum[3]) {
    const size_t bytes = static_cast<size_t>(width) * 3;
    // Blocks of 192 bytes keep every lane on one channel; the rest is done plainly.
    const size_t blocks = bytes / 192;
    __m512i lo[3], hi[3];
    for (int k = 0; k < 3; ++k) lo[k] = _mm512_set1_epi8(-1), hi[k] = _mm512_setzero_si512();
    for (size_t b = 0; b < blocks; ++b)
        for (int k = 0; k < 3; ++k) {
            const __m512i v = _mm512_loadu_si512(p + b * 192 + 64 * k);
            lo[k] = _mm512_min_epu8(lo[k], v);
            hi[k] = _mm512_max_epu8(hi[k], v);
        }
    if (blocks > 0) {
        alignas(64) uint8_t l[192], h[192];
        for (int k = 0; k < 3; ++k) {
            _mm512_store_si512(l + 64 * k, lo[k]);
            _mm512_store_si512(h + 64 * k, hi[k]);
        }
        for (int i = 0; i < 192; ++i) {
            minimum[i % 3] = std::min<int>(minimum[i % 3], l[i]);
            maximum[i % 3] = std::max<int>(maximum[i % 3], h[i]);
        }
    }
    MinMaxPlain(p + blocks * 192, static_cast<int32_t>((bytes - blocks * 192) / 3), minimum, maximum);
}

void SpreadGreyWide(const uint8_t* grey, int32_t width, uint8_t* p) {
    // 64 pixels at a time: three vectors, byte i of vector k from grey byte (64k + i) div 3.
    static const struct Spread {
        __m512i index[3];
        Spread() {
            alignas(64) uint8_t t[3][64];
            for (int k = 0; k < 3; ++k)
                for (int i = 0; i < 64; ++i) t[k][i] = static_cast<uint8_t>((64 * k + i) / 3);
            for (int k = 0; k < 3; ++k) index[k] = _mm512_load_si512(t[k]);
        }
    } spread;
    int32_t x = 0;
    for (; x + 64 <= width; x += 64, p += 192) {
        const __m512i g = _mm512_loadu_si512(grey + x);
        for (int k = 0; k < 3; ++k)
            _mm512_storeu_si512(p + 64 * k, _mm512_permutexvar_epi8(spread.index[k], g));
    }
    SpreadGreyPlain(grey + x, width - x, p);
}

__m512i Moved16(__m512i c, __m512i d, bool soften) {
    const __m512i v =
        soften ? _mm512_sub_epi16(c, _mm512_srai_epi16(_mm512_add_epi16(d, _mm512_set1_epi16(1)), 1))
               : _mm512_add_epi16(c, _mm512_add_epi16(d, d));
    return _mm512_min_epi16(_mm512_max_epi16(v, _mm512_setzero_si512()), _mm512_set1_epi16(255));
}

void SharpenWide(uint8_t* p, const uint8_t* means, int32_t count, bool soften) {
    ForEachPixelChunk(p, static_cast<size_t>(count) * 3, [&](__m512i v, size_t x) {
        const __m512i mean = _mm512_cvtepu8_epi16(LoadBytes(means, x, static_cast<size_t>(count)));
        Channels16 c(v);
        c.r = Moved16(c.r, _mm512_sub_epi16(Intensity16(c.b, c.g, c.r), mean), soften);
        c.g = Moved16(c.g, _mm512_sub_epi16(Intensity16(c.b, c.g, c.r), mean), soften);
        c.b = Moved16(c.b, _mm512_sub_epi16(Intensity16(c.b, c.g, c.r), mean), soften);
        const __m512i blueGreen = _mm512_permutex2var_epi8(c.b, shuffles.blueGreen, c.g);
        return _mm512_mask_permutexvar_epi8(blueGreen, shuffles.redBytes, shuffles.spread, c.r);
    });
}

void AddNoiseWide(uint8_t* p, int32_t width, int amplitude, uint32_t& seed) {
    // Doubled draws reach 2 × (amplitude − 1); beyond a byte the plain loop does it.
    if (amplitude > 127 || width == 0) return AddNoisePlain(p, width, amplitude, seed);
    // The generator jumped ahead: after k more draws the seed is A[k] × seed + C[k]. Sixteen lanes
    // hold sixteen consecutive seeds and all step by sixteen draws at once.
    static const struct Jumps {
        uint32_t A[17], C[17];
        Jumps() {
            A[0] = 1, C[0] = 0;
            for (int k = 1; k <= 16; ++k) A[k] = A[k - 1] * 134775813u, C[k] = C[k - 1] * 134775813u + 1u;
        }
    } jumps;
    const size_t draws = static_cast<size_t>(width) * 3;
    thread_local std::vector<uint8_t> drawn;
    drawn.resize(draws + 128);
    alignas(64) uint32_t start[16];
    for (int k = 0; k < 16; ++k) start[k] = jumps.A[k + 1] * seed + jumps.C[k + 1];
    __m512i lanes = _mm512_load_si512(start);
    const __m512i stepA = _mm512_set1_epi32(static_cast<int>(jumps.A[16]));
    const __m512i stepC = _mm512_set1_epi32(static_cast<int>(jumps.C[16]));
    const __m512i n = _mm512_set1_epi32(amplitude);
    __m512i last = lanes;
    for (size_t i = 0; i < draws; i += 16) {
        const __m512i even = _mm512_srli_epi64(_mm512_mul_epu32(lanes, n), 32);
        const __m512i odd = _mm512_mul_epu32(_mm512_srli_epi64(lanes, 32), n);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(drawn.data() + i),
                         _mm512_cvtepi32_epi8(_mm512_mask_blend_epi32(0xAAAA, even, odd)));
        last = lanes;
        lanes = _mm512_add_epi32(_mm512_mullo_epi32(lanes, stepA), stepC);
    }
    alignas(64) uint32_t ended[16];
    _mm512_store_si512(ended, last);
    seed = ended[(draws - 1) % 16];

    // The draws come red, green, blue; the bytes lie blue, green, red.
    static const struct Reverse {
        __m512i index;
        Reverse() {
            alignas(64) uint8_t t[64];
            for (int i = 0; i < 64; ++i) t[i] = static_cast<uint8_t>(i < 63 ? i - i % 3 + 2 - i % 3 : 63);
            index = _mm512_load_si512(t);
        }
    } reverse;
    const __m512i a = _mm512_set1_epi8(static_cast<char>(amplitude));
    ForEachPixelChunk(p, draws, [&](__m512i v, size_t x) {
        const __m512i r = _mm512_permutexvar_epi8(reverse.index, _mm512_loadu_si512(drawn.data() + 3 * x));
        const __m512i twice = _mm512_add_epi8(r, r);
        // C + 2r − a in bytes: add what lies above a, take away what lies below it.
        return _mm512_subs_epu8(_mm512_adds_epu8(v, _mm512_subs_epu8(twice, a)), _mm512_subs_epu8(a, twice));
    });
}

#endif

}  // namespace

// Each row routine runs its AVX-512 form where the build has it and its plain form otherwise.
#ifdef LF_ROWS_AVX512
#define LF_ROW_KERNEL(name) name##Wide
#else
#define LF_ROW_KERNEL(name) name##Plain
#endif

void ApplyTables(uint8_t* row, int32_t width, const uint8_t* b, const uint8_t* g, const uint8_t* r) {
    LF_ROW_KERNEL(ApplyTables)(row, width, b, g, r);
}
void Gray(uint8_t* row, int32_t width, bool threshold) { LF_ROW_KERNEL(Gray)(row, width, threshold); }
void RotateChannels(uint8_t* row, int32_t width) { LF_ROW_KERNEL(Rotate)(row, width); }
void Intensities(const uint8_t* row, int32_t width, uint8_t* out) {
    LF_ROW_KERNEL(Intensities)(row, width, out);
}
void MinMax(const uint8_t* row, int32_t width, int minimum[3], int maximum[3]) {
    LF_ROW_KERNEL(MinMax)(row, width, minimum, maximum);
}
void SpreadGrey(const uint8_t* grey, int32_t width, uint8_t* row) {
    LF_ROW_KERNEL(SpreadGrey)(grey, width, row);
}
void Sharpen(uint8_t* pixels, const uint8_t* means, int32_t count, bool soften) {
    LF_ROW_KERNEL(Sharpen)(pixels, means, count, soften);
}
void AddNoise(uint8_t* row, int32_t width, int amplitude, uint32_t& seed) {
    LF_ROW_KERNEL(AddNoise)(row, width, amplitude, seed);
}

#undef LF_ROW_KERNEL

}  // namespace lf::rows

// The geometry commands: pixel kernels that walk rows directly, and the thin routines and menu
// handlers over the document.
#include "app/Geometry.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#if defined(__AVX2__)
#include <immintrin.h>
#endif

#include "filters/Filters.h"
#include "platform/Cursor.h"
#include "platform/Errors.h"

namespace lf {

// ---- Kernels ----

Bitmap CropPicture(const Bitmap& picture, const TRect& selection) {
    const int64_t width = int64_t{selection.Right} - selection.Left + 1;
    const int64_t height = int64_t{selection.Bottom} - selection.Top + 1;
    CheckPictureSize(width, height);
    Bitmap result(static_cast<int32_t>(width), static_cast<int32_t>(height));  // black outside

    // Columns of the selection that lie inside the picture, in picture coordinates.
    const int64_t x0 = std::max<int64_t>(selection.Left, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{selection.Left} + width, picture.Width());
    if (x0 >= x1) return result;
    const size_t bytes = static_cast<size_t>(x1 - x0) * 3;
    for (int64_t j = 0; j < height; ++j) {
        const int64_t y = selection.Top + j;
        if (y < 0 || y >= picture.Height()) continue;
        std::memcpy(result.ScanLine(static_cast<int32_t>(j)) + (x0 - selection.Left) * 3,
                    picture.ScanLine(static_cast<int32_t>(y)) + x0 * 3, bytes);
    }
    return result;
}

namespace {

// Truncating average of two bytes without widening: (a + b) shr 1.
inline uint8_t Average(uint8_t a, uint8_t b) { return static_cast<uint8_t>((a & b) + ((a ^ b) >> 1)); }

// pair(a, b, bytes) on each row of the upper half and its partner row in the lower half, from the
// outside in; a middle row has no partner.
template <typename Pair>
void ForEachRowPair(Bitmap& picture, Pair pair) {
    const size_t bytes = static_cast<size_t>(picture.Width()) * 3;
    for (int32_t y = 0, partner = picture.Height() - 1; y < partner; ++y, --partner)
        pair(picture.ScanLine(y), picture.ScanLine(partner), bytes);
}

}  // namespace

void MirrorPicture(Bitmap& picture, bool vertical) {
    const int32_t w = picture.Width(), h = picture.Height();
    if (vertical) {
        ForEachRowPair(picture,
                       [](uint8_t* a, uint8_t* b, size_t bytes) { std::swap_ranges(a, a + bytes, b); });
        return;
    }
    if (w < 2) return;
    // Each row is reversed into a row buffer and copied back. Pixels move as 4-byte words whose
    // fourth byte the next pixel overwrites; the row's last pixel, whose word would reach past
    // the row, moves on its own.
    const size_t bytes = static_cast<size_t>(w) * 3;
    std::unique_ptr<uint8_t[]> reversed(new uint8_t[bytes + 1]);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = picture.ScanLine(y);
        uint8_t* d = reversed.get();
        std::memcpy(d, row + bytes - 3, 3);
        for (size_t i = bytes - 3; i != 0; i -= 3) {
            d += 3;
            std::memcpy(d, row + i - 3, 4);
        }
        std::memcpy(row, reversed.get(), bytes);
    }
}

void ReflectPicture(Bitmap& picture, bool vertical) {
    // Both partners take the same average, so one pass over half the pairs, in place, reads
    // only values that have not been written yet. A middle row or column stays as it is.
    const int32_t w = picture.Width(), h = picture.Height();
    if (vertical) {
        ForEachRowPair(picture, [](uint8_t* a, uint8_t* b, size_t bytes) {
            for (size_t i = 0; i < bytes; ++i) a[i] = b[i] = Average(a[i], b[i]);
        });
        return;
    }
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = picture.ScanLine(y);
        uint8_t* left = row;
        uint8_t* right = row + static_cast<size_t>(w - 1) * 3;
        for (; left < right; left += 3, right -= 3) {
            for (int c = 0; c < 3; ++c) left[c] = right[c] = Average(left[c], right[c]);
        }
    }
}

namespace {

// The turn's tiles, in new pixels. Each tile reads 256 runs of 768 bytes from the old rows and writes
// as many runs into the new ones: runs long enough for the processor's prefetch to follow, while
// the old rows' part (192 KB) stays in the second-level cache. 64 × 64 tiles, which fit the first
// level, were half again slower here.
constexpr int32_t kTileRows = 256, kTileColumns = 256;

// One 8 × 8 block of the turn: eight old rows of eight pixels, from src stepping srcStep bytes,
// become eight new rows of eight pixels, from dst stepping dstStep bytes; old column j ends as
// new row j, old row i as new column i.
#if defined(__AVX2__)
inline __m256i LoadEightPixels(const uint8_t* p) {
    // Pixels 0-3 from bytes 0-15, pixels 4-7 from bytes 8-23: nothing is read past the block, and
    // each lane spreads its four pixels to one 4-byte word each.
    const __m256i bytes =
        _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 8), reinterpret_cast<const __m128i*>(p));
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                            4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    return _mm256_shuffle_epi8(bytes, spread);
}

inline void StoreEightPixels(uint8_t* p, __m256i words) {
    // Each lane packs its four pixels into its first 12 bytes; the two runs of 12 then join.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i joined = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, pack),
                                                       _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(joined));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16), _mm256_extracti128_si256(joined, 1));
}

inline void TurnBlock(const uint8_t* src, ptrdiff_t srcStep, uint8_t* dst, ptrdiff_t dstStep) {
    __m256i r[8];
    for (int i = 0; i < 8; ++i) r[i] = LoadEightPixels(src + i * srcStep);
    // The transpose of 8 × 8 words: pairs, then quads within each lane, then the lanes.
    __m256i t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
    }
    for (int j = 0; j < 4; ++j) {
        StoreEightPixels(dst + j * dstStep, _mm256_permute2x128_si256(u[j], u[j + 4], 0x20));
        StoreEightPixels(dst + (j + 4) * dstStep, _mm256_permute2x128_si256(u[j], u[j + 4], 0x31));
    }
}
#else
inline void TurnBlock(const uint8_t* src, ptrdiff_t srcStep, uint8_t* dst, ptrdiff_t dstStep) {
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) std::memcpy(dst + j * dstStep + i * 3, src + i * srcStep + j * 3, 3);
}
#endif

}  // namespace

Bitmap RotatePicture(const Bitmap& picture, bool right) {
    Bitmap result;
    RotatePicture(picture, result, right);
    return result;
}

void RotatePicture(const Bitmap& picture, Bitmap& result, bool right) {
    const int32_t w = picture.Width(), h = picture.Height();
    result.SetSizeUninitialised(h, w);
    if (w == 0 || h == 0) return;

    // Left: new (nx, ny) = old (W − 1 − ny, nx). Right: new (nx, ny) = old (ny, H − 1 − nx).
    const ptrdiff_t oldStride = static_cast<ptrdiff_t>(picture.Stride());
    const ptrdiff_t newStride = static_cast<ptrdiff_t>(result.Stride());
    auto oldPixel = [&](int32_t nx, int32_t ny) {
        return right ? picture.ScanLine(h - 1 - nx) + static_cast<size_t>(ny) * 3
                     : picture.ScanLine(nx) + static_cast<size_t>(w - 1 - ny) * 3;
    };

    // Whole 8 × 8 blocks, tile by tile. On the left turn a block's first old column feeds its
    // last new row, so the block is read from there and written upwards.
    const int32_t blockRows = w & ~7, blockColumns = h & ~7;
    for (int32_t ty = 0; ty < blockRows; ty += kTileRows) {
        const int32_t tyEnd = std::min(ty + kTileRows, blockRows);
        for (int32_t tx = 0; tx < blockColumns; tx += kTileColumns) {
            const int32_t txEnd = std::min(tx + kTileColumns, blockColumns);
            for (int32_t ny0 = ty; ny0 < tyEnd; ny0 += 8)
                for (int32_t nx0 = tx; nx0 < txEnd; nx0 += 8) {
                    if (right)
                        TurnBlock(oldPixel(nx0, ny0), -oldStride,
                                  result.ScanLine(ny0) + static_cast<size_t>(nx0) * 3, newStride);
                    else
                        TurnBlock(oldPixel(nx0, ny0 + 7), oldStride,
                                  result.ScanLine(ny0 + 7) + static_cast<size_t>(nx0) * 3, -newStride);
                }
        }
    }
    // The pixels outside whole blocks: the last w mod 8 new rows, the last h mod 8 new columns.
    for (int32_t ny = 0; ny < w; ++ny) {
        uint8_t* d = result.ScanLine(ny);
        for (int32_t nx = ny < blockRows ? blockColumns : 0; nx < h; ++nx)
            std::memcpy(d + nx * 3, oldPixel(nx, ny), 3);
    }
}

void StretchPicture(const Bitmap& source, Bitmap& target) {
    const int64_t sw = source.Width(), sh = source.Height();
    const int64_t tw = target.Width(), th = target.Height();
    if (sw == 0 || sh == 0 || tw == 0 || th == 0) return;

    // The sampling of Bitmap::StretchDraw: target t takes source floor((t + 0.5) × s / t_size).
    std::unique_ptr<uint32_t[]> columns(new uint32_t[static_cast<size_t>(tw)]);
    for (int64_t x = 0; x < tw; ++x) columns[x] = static_cast<uint32_t>(((2 * x + 1) * sw) / (2 * tw) * 3);
    // Target pixels from wordEnd on sample the old row's last column or are the new row's last.
    int64_t wordEnd = tw - 1;
    while (wordEnd > 0 && columns[wordEnd - 1] == (sw - 1) * 3) --wordEnd;
    const size_t rowBytes = static_cast<size_t>(tw) * 3;
    int64_t previous = -1;
    for (int64_t y = 0; y < th; ++y) {
        const int64_t sy = ((2 * y + 1) * sh) / (2 * th);
        uint8_t* dst = target.ScanLine(static_cast<int32_t>(y));
        if (sy == previous) {
            // An enlargement repeats whole rows: copy the row just built.
            std::memcpy(dst, target.ScanLine(static_cast<int32_t>(y - 1)), rowBytes);
            continue;
        }
        previous = sy;
        const uint8_t* src = source.ScanLine(static_cast<int32_t>(sy));
        // 4-byte words as in the mirror, except where the word would reach past a row.
        int64_t x = 0;
        for (; x < wordEnd; ++x, dst += 3) std::memcpy(dst, src + columns[x], 4);
        for (; x < tw; ++x, dst += 3) std::memcpy(dst, src + columns[x], 3);
    }
}

// ---- Routines over the document ----

void Crop() {
    WorkBitmap = CropPicture(MainBitmap, SelRect);
    MainBitmap = std::move(WorkBitmap);
    WorkBitmap.FreeImage();
    SelectAll();
}

void Mirror(bool vertical) {
    HourglassCursor busy;
    MirrorPicture(MainBitmap, vertical);
    SelectAll();
}

void Reflect(bool vertical) {
    HourglassCursor busy;
    SelectAll();
    ReflectPicture(MainBitmap, vertical);
}

void Rotate(bool right) {
    HourglassCursor busy;
    // The turned picture is complete before MainBitmap changes, so a failed allocation leaves
    // the picture as it was.
    MainBitmap = RotatePicture(MainBitmap, right);
    SelectAll();
}

void Resize(int newWidth, int newHeight) {
    CheckPictureSize(newWidth, newHeight);
    Bitmap scaled;
    if (MainBitmap.Empty())
        scaled.SetSize(newWidth, newHeight);  // nothing to draw: a black picture
    else
        scaled.SetSizeUninitialised(newWidth, newHeight);
    StretchPicture(MainBitmap, scaled);
    MainBitmap = std::move(scaled);
    SelectAll();
}

void ResizeOK(int oldWidth, int oldHeight, int width, int height, bool interpolate) {
    UpdateUndo();
    Resize(width, height);
    if (interpolate && (oldWidth < width || oldHeight < height)) Mean(1);
    ReDraw();
}

void ResizeOK(int width, int height, bool interpolate) {
    ResizeOK(MainBitmap.Width(), MainBitmap.Height(), width, height, interpolate);
}

// ---- Menu handlers ----

const std::vector<GeometryCommand>& GeometryCommands() {
    static const std::vector<GeometryCommand> commands = {
        {"CropMenu", "Deforma > Ritaglia", [] { RunEditingCommand({Crop}); }},
        {"HorisontallyMenu", "Filtri > Specchia > Orizzontale",
         [] { RunEditingCommand({[] { Mirror(false); }}); }},
        {"VerticallyMenu", "Filtri > Specchia > Verticale",
         [] { RunEditingCommand({[] { Mirror(true); }}); }},
        {"ReflectionHorisontallyMenu", "Filtri > Riflessione > Orizzontale",
         [] {
             RunEditingCommand({[] { Reflect(false); }, Optimize});
         }},
        {"ReflectionVerticallyMenu", "Filtri > Riflessione > Verticale",
         [] {
             RunEditingCommand({[] { Reflect(true); }, Optimize});
         }},
        {"LeftMenu", "Deforma > Ruota > Sinistra", [] { RunEditingCommand({[] { Rotate(false); }}); }},
        {"RightMenu", "Deforma > Ruota > Destra", [] { RunEditingCommand({[] { Rotate(true); }}); }},
    };
    return commands;
}

const GeometryCommand* FindGeometryCommand(const char* component) {
    for (const GeometryCommand& c : GeometryCommands())
        if (std::string_view(c.component) == component) return &c;
    return nullptr;
}

}  // namespace lf

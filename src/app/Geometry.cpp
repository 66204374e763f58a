// The geometry commands: pixel kernels that walk rows directly, and the thin routines and menu
// handlers over the document.
#include "app/Geometry.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

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

}  // namespace

void MirrorPicture(Bitmap& picture, bool vertical) {
    const int32_t w = picture.Width(), h = picture.Height();
    if (vertical) {
        const size_t bytes = static_cast<size_t>(w) * 3;
        for (int32_t y = 0, partner = h - 1; y < partner; ++y, --partner) {
            uint8_t* a = picture.ScanLine(y);
            uint8_t* b = picture.ScanLine(partner);
            std::swap_ranges(a, a + bytes, b);
        }
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
        const size_t bytes = static_cast<size_t>(w) * 3;
        for (int32_t y = 0, partner = h - 1; y < partner; ++y, --partner) {
            uint8_t* a = picture.ScanLine(y);
            uint8_t* b = picture.ScanLine(partner);
            for (size_t i = 0; i < bytes; ++i) a[i] = b[i] = Average(a[i], b[i]);
        }
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

Bitmap RotatePicture(const Bitmap& picture, bool right) {
    Bitmap result;
    RotatePicture(picture, result, right);
    return result;
}

void RotatePicture(const Bitmap& picture, Bitmap& result, bool right) {
    const int32_t w = picture.Width(), h = picture.Height();
    result.SetSizeUninitialised(h, w);
    if (w == 0 || h == 0) return;

    // The new picture is written row by row in square tiles, so the old rows one tile reads
    // down a column stay in the cache for the whole tile.
    constexpr int32_t kTile = 64;
    const ptrdiff_t stride = static_cast<ptrdiff_t>(picture.Stride());
    for (int32_t ty = 0; ty < w; ty += kTile) {
        const int32_t tyEnd = std::min(ty + kTile, w);
        for (int32_t tx = 0; tx < h; tx += kTile) {
            const int32_t txEnd = std::min(tx + kTile, h);
            for (int32_t ny = ty; ny < tyEnd; ++ny) {
                // Left: new (nx, ny) = old (W − 1 − ny, nx). Right: new (nx, ny) = old (ny, H − 1 − nx).
                const uint8_t* s;
                ptrdiff_t step;
                if (right) {
                    s = picture.ScanLine(h - 1 - tx) + static_cast<size_t>(ny) * 3;
                    step = -stride;
                } else {
                    s = picture.ScanLine(tx) + static_cast<size_t>(w - 1 - ny) * 3;
                    step = stride;
                }
                uint8_t* d = result.ScanLine(ny) + static_cast<size_t>(tx) * 3;
                // 4-byte words, the fourth byte overwritten by the next pixel; not where the
                // word would reach past a row: the new row's last pixel, the old rows' last column.
                const int32_t wordEnd = (ny == (right ? w - 1 : 0)) ? tx : std::min(txEnd, h - 1);
                int32_t nx = tx;
                for (; nx < wordEnd; ++nx, d += 3, s += step) std::memcpy(d, s, 4);
                for (; nx < txEnd; ++nx, d += 3, s += step) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                }
            }
        }
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

void ResizePicture(int newWidth, int newHeight) {
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

void ResizePicture(int newWidth, int newHeight, bool interpolate) {
    const int oldWidth = MainBitmap.Width(), oldHeight = MainBitmap.Height();
    ResizePicture(newWidth, newHeight);
    if (interpolate && (oldWidth < newWidth || oldHeight < newHeight)) Mean(1);
}

void ResizeOK(int oldWidth, int oldHeight, int width, int height, bool interpolate) {
    UpdateUndo();
    ResizePicture(width, height);
    if (interpolate && (oldWidth < width || oldHeight < height)) Mean(1);
    ReDraw();
}

void ResizeOK(int width, int height, bool interpolate) {
    ResizeOK(MainBitmap.Width(), MainBitmap.Height(), width, height, interpolate);
}

// ---- Menu handlers ----

const std::vector<GeometryCommand>& GeometryCommands() {
    static const std::vector<GeometryCommand> commands = {
        {"CropMenu", [] { RunEditingCommand({Crop}); }},
        {"HorisontallyMenu", [] { RunEditingCommand({[] { Mirror(false); }}); }},
        {"VerticallyMenu", [] { RunEditingCommand({[] { Mirror(true); }}); }},
        {"ReflectionHorisontallyMenu",
         [] {
             RunEditingCommand({[] { Reflect(false); }, Optimize});
         }},
        {"ReflectionVerticallyMenu",
         [] {
             RunEditingCommand({[] { Reflect(true); }, Optimize});
         }},
        {"LeftMenu", [] { RunEditingCommand({[] { Rotate(false); }}); }},
        {"RightMenu", [] { RunEditingCommand({[] { Rotate(true); }}); }},
    };
    return commands;
}

const GeometryCommand* FindGeometryCommand(const char* component) {
    for (const GeometryCommand& c : GeometryCommands())
        if (std::string_view(c.component) == component) return &c;
    return nullptr;
}

}  // namespace lf

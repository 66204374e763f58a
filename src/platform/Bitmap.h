// Our 24-bit picture buffer: rows of blue, green, red, each row padded to 4 bytes, so a
// QImage of format BGR888 can view the rows without a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Rect.h"

namespace lf {

// The largest picture we accept. Every buffer is checked against these limits before it is
// allocated, so a damaged file that declares a huge size is refused instead of exhausting
// memory (a picture lives in up to three buffers at once: picture, undo, scratch).
inline constexpr int32_t kMaxPictureSide = 65500;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 28;  // 268 megapixels, 805 MB a copy

// Throws lf::Error with a clear message when width × height is beyond the limits above or negative.
void CheckPictureSize(int64_t width, int64_t height);

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int32_t width, int32_t height) { SetSize(width, height); }
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Reallocates the pixels; the new content is black. Checks the size limits first.
    void SetSize(int32_t width, int32_t height);
    // Like SetSize, but leaves the new pixels unset: for callers that overwrite every byte.
    void SetSizeUninitialised(int32_t width, int32_t height);
    // Releases the pixel memory; the bitmap becomes 0 × 0 and stays usable.
    void FreeImage();

    // Row y (0 = top): Width() pixels of blue, green, red.
    uint8_t* ScanLine(int32_t y) { return pixels_.get() + static_cast<size_t>(y) * stride_; }
    const uint8_t* ScanLine(int32_t y) const {
        return pixels_.get() + static_cast<size_t>(y) * stride_;
    }
    // Bytes from one row to the next (3 × Width() rounded up to a multiple of 4).
    size_t Stride() const { return stride_; }
    const uint8_t* Bits() const { return pixels_.get(); }
    uint8_t* Bits() { return pixels_.get(); }
    size_t SizeInBytes() const { return stride_ * static_cast<size_t>(height_); }

    // One pixel as $00BBGGRR. Reading outside the picture gives 0; writing there does nothing.
    uint32_t Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, uint32_t color);

    // Copies the whole source one to one with its top-left pixel at (x, y); clipped to this bitmap.
    void Draw(int32_t x, int32_t y, const Bitmap& source);
    // Copies sourceRect of source into target (both with exclusive right and bottom edges).
    // Equal sizes copy one to one; otherwise nearest-neighbour scaling. Clipped on both sides:
    // target pixels whose sample falls outside the source keep their value.
    void CopyRect(const TRect& target, const Bitmap& source, const TRect& sourceRect);
    // Draws the whole source scaled to fill target, by nearest-neighbour sampling.
    void StretchDraw(const TRect& target, const Bitmap& source);
    // Fills the rectangle (exclusive right and bottom), clipped, with $00BBGGRR.
    void Fill(const TRect& target, uint32_t color);

    // Equal size and equal pixels (row padding is not compared).
    friend bool operator==(const Bitmap& a, const Bitmap& b);

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    size_t stride_ = 0;
    std::unique_ptr<uint8_t[]> pixels_;
};

// $00BBGGRR helpers.
inline constexpr uint32_t RGB(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t{r} | (uint32_t{g} << 8) | (uint32_t{b} << 16);
}
inline constexpr uint8_t GetR(uint32_t c) { return static_cast<uint8_t>(c); }
inline constexpr uint8_t GetG(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
inline constexpr uint8_t GetB(uint32_t c) { return static_cast<uint8_t>(c >> 16); }

}  // namespace lf

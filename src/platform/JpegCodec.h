// JPEG files through libjpeg's C API, decoded straight into and encoded straight from the
// picture's blue, green, red rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace lf {

// Decodes a whole JPEG file held in memory at full size with libjpeg's accurate defaults
// (integer DCT, fancy upsampling). Colour, grey-scale and CMYK/YCCK files (Adobe's inverted
// ones included) come out as 24-bit colour. A file libjpeg only warns about (a truncated one)
// loads as libjpeg decodes it; one it rejects throws EInvalidGraphic with libjpeg's reason.
// The declared size is checked against the picture limits before decoding starts.
Bitmap ReadJpeg(const uint8_t* data, size_t size);
inline Bitmap ReadJpeg(const std::vector<uint8_t>& file) { return ReadJpeg(file.data(), file.size()); }
Bitmap LoadJpegFile(const std::string& path);

// Baseline sequential colour (YCbCr) JPEG at quality 90.
void WriteJpeg(const Bitmap& picture, std::vector<uint8_t>& out);
// WriteJpeg, then an atomic replacement of the file.
void SaveJpegFile(const Bitmap& picture, const std::string& path);

inline constexpr int kJpegQuality = 90;

}  // namespace lf

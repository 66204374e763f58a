// Windows bitmap files: a strict reader of every common variant and a 24-bit writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace lf {

// Decodes a whole BMP file held in memory: 1, 2, 4 and 8 bits with a palette, RLE4, RLE8,
// 16 and 32 bits (default layouts and bit fields, channels of any width scaled to 0..255),
// 24 bits, OS/2 RLE24, top-down rows, and the core (OS/2 1.x), OS/2 2.x, Windows 3 and
// V2..V5 headers. Anything else, and every damaged file, is refused with EInvalidGraphic
// "Invalid bitmap: ..."; a picture that comes back has every pixel defined. The declared size
// is checked against the picture limits before any pixel memory is taken.
Bitmap ReadBmp(const uint8_t* data, size_t size);
inline Bitmap ReadBmp(const std::vector<uint8_t>& file) { return ReadBmp(file.data(), file.size()); }
// Reads the file (lf::Error with the system's reason when it cannot), then ReadBmp.
Bitmap LoadBmpFile(const std::string& path);

// Zeroes the bytes that pad each row to 4 bytes, so that a decoder that writes only the pixels
// hands back no stale memory in them.
void ClearRowPadding(Bitmap& picture);

// A standard uncompressed 24-bit file: BITMAPINFOHEADER, bottom-up rows padded to 4 bytes, 72 dpi.
void WriteBmp(const Bitmap& picture, std::vector<uint8_t>& out);
// WriteBmp, then an atomic replacement of the file.
void SaveBmpFile(const Bitmap& picture, const std::string& path);

}  // namespace lf

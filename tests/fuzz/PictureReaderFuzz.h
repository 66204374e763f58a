// The body both picture-reader fuzz targets share: any input gives a picture or the program's
// error, and every byte of the picture is read so the sanitizers see a bad pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Errors.h"

namespace lf::fuzz {

inline int FuzzPictureReader(Bitmap (*read)(const uint8_t*, size_t), const uint8_t* data, size_t size) {
    try {
        const Bitmap picture = read(data, size);
        unsigned sum = 0;
        for (int32_t y = 0; y < picture.Height(); ++y)
            for (int32_t x = 0; x < picture.Width() * 3; ++x) sum += picture.ScanLine(y)[x];
        static volatile unsigned sink;
        sink = sum;
        if (picture.Empty()) __builtin_trap();  // a reader never hands back an empty picture
    } catch (const Error&) {
    }
    return 0;
}

}  // namespace lf::fuzz

// libFuzzer entry for the JPEG reader: any input gives a picture or the program's error.
#include <cstddef>
#include <cstdint>

#include "platform/Errors.h"
#include "platform/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const lf::Bitmap picture = lf::ReadJpeg(data, size);
        // Reading every byte lets the sanitizers see an undefined or out-of-bounds pixel.
        unsigned sum = 0;
        for (int32_t y = 0; y < picture.Height(); ++y)
            for (int32_t x = 0; x < picture.Width() * 3; ++x) sum += picture.ScanLine(y)[x];
        static volatile unsigned sink;
        sink = sum;
        if (picture.Empty()) __builtin_trap();  // a reader never hands back an empty picture
    } catch (const lf::Error&) {
    }
    return 0;
}

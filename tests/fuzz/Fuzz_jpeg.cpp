// libFuzzer entry for the JPEG reader: any input gives a picture or the program's error.
#include "PictureReaderFuzz.h"
#include "platform/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return lf::fuzz::FuzzPictureReader(lf::ReadJpeg, data, size);
}

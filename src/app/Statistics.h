// The statistics report: channel ranges, full-range test and mean brightness of the whole
// picture, as the information box and the batch tool show it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Bitmap.h"

namespace lf {

struct PictureStatistics {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t minRed = 255, minGreen = 255, minBlue = 255;
    uint8_t maxRed = 0, maxGreen = 0, maxBlue = 0;
    // Sum of (R + G + B) div 3 over every pixel: at most 255 × the largest picture, far
    // inside 64 bits.
    uint64_t intensitySum = 0;

    int64_t Pixels() const { return int64_t{width} * height; }
    // Every channel reaches both 0 and 255 somewhere.
    bool Optimised() const;
    // Mean intensity in percent, rounded half to even. Throws lf::Error (invalid floating
    // point operation) on a picture without pixels rather than producing a meaningless number.
    int Brightness() const;
};

// One sweep by rows over the picture.
PictureStatistics MeasurePicture(const Bitmap& picture);

// The ten report lines joined by "\r\n" (no break after the last).
std::string FormatStatistics(const PictureStatistics& stats, const std::string& file);

// The report over MainBitmap and CurrentFile, measured under the hourglass.
std::string StatisticsReport();

}  // namespace lf

// The statistics report.
#include "app/Statistics.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/Document.h"
#include "platform/Cursor.h"
#include "platform/Errors.h"
#include "platform/Extended.h"

namespace lf {

namespace {
// 100 / 255 as the extended-precision constant the brightness has always been computed with.
constexpr Extended kPercentPerLevel = 0.39215686274509803922L;
}  // namespace

bool PictureStatistics::Optimised() const {
    return minRed + minGreen + minBlue == 0 && maxRed + maxGreen + maxBlue == 765;
}

int PictureStatistics::Brightness() const {
    const int64_t n = Pixels();
    // 0 × factor / 0 is an invalid operation; never let it become a NaN cast to int.
    if (n <= 0) throw Error(kInvalidOperation);
    // The product first, then the division, both in extended precision.
    const Extended product = static_cast<Extended>(intensitySum) * kPercentPerLevel;
    const Extended mean = product / static_cast<Extended>(n);
    return static_cast<int>(std::nearbyint(mean));
}

PictureStatistics MeasurePicture(const Bitmap& picture) {
    PictureStatistics s;
    s.width = picture.Width();
    s.height = picture.Height();
    for (int32_t y = 0; y < s.height; ++y) {
        const uint8_t* p = picture.ScanLine(y);
        // Per-row accumulators in plain locals so the loop vectorises.
        uint8_t minB = 255, minG = 255, minR = 255, maxB = 0, maxG = 0, maxR = 0;
        uint64_t rowSum = 0;
        for (int32_t x = 0; x < s.width; ++x, p += 3) {
            const uint8_t b = p[0], g = p[1], r = p[2];
            minB = std::min(minB, b);
            minG = std::min(minG, g);
            minR = std::min(minR, r);
            maxB = std::max(maxB, b);
            maxG = std::max(maxG, g);
            maxR = std::max(maxR, r);
            rowSum += static_cast<uint32_t>(b + g + r) / 3;
        }
        s.minBlue = std::min(s.minBlue, minB);
        s.minGreen = std::min(s.minGreen, minG);
        s.minRed = std::min(s.minRed, minR);
        s.maxBlue = std::max(s.maxBlue, maxB);
        s.maxGreen = std::max(s.maxGreen, maxG);
        s.maxRed = std::max(s.maxRed, maxR);
        s.intensitySum += rowSum;
    }
    return s;
}

std::string FormatStatistics(const PictureStatistics& s, const std::string& file) {
    const auto range = [](const char* label, uint8_t low, uint8_t high) {
        return std::string(label) + std::to_string(low) + " to " + std::to_string(high);
    };
    const std::string lines[] = {
        "File: " + file,
        "Dimensioni: " + std::to_string(s.width) + " X " + std::to_string(s.height),
        "",
        std::string("Ottimizzata: ") + (s.Optimised() ? "si" : "no"),
        "",
        range("R: ", s.minRed, s.maxRed),
        range("G: ", s.minGreen, s.maxGreen),
        range("B: ", s.minBlue, s.maxBlue),
        "",
        "Luminosità: " + std::to_string(s.Brightness()) + " %",
    };
    std::string report = lines[0];
    for (size_t i = 1; i < std::size(lines); ++i) report += "\r\n" + lines[i];
    return report;
}

std::string StatisticsReport() {
    HourglassCursor busy;
    return FormatStatistics(MeasurePicture(MainBitmap), CurrentFile);
}

}  // namespace lf

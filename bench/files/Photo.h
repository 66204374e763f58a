// The photograph-like test picture of the file benchmarks: smooth gradients with a little noise,
// so it compresses like a photograph rather than like a flat test card.
#pragma once

#include <algorithm>
#include <random>

#include "platform/Bitmap.h"

namespace lf::bench {

inline Bitmap MakePhoto(int width, int height) {
    Bitmap b(width, height);
    std::mt19937 noise(1);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(noise() % 13) - 6;
            const int blue = 40 + 160 * y / height + n;
            const int green = 30 + 120 * (x + y) / (width + height) + n;
            const int red = 200 - 150 * x / width + n;
            row[3 * x] = static_cast<uint8_t>(std::clamp(blue, 0, 255));
            row[3 * x + 1] = static_cast<uint8_t>(std::clamp(green, 0, 255));
            row[3 * x + 2] = static_cast<uint8_t>(std::clamp(red, 0, 255));
        }
    }
    return b;
}

}  // namespace lf::bench

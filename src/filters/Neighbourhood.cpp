// Neighbourhood kernels and the noise kernel. Each reads the unfiltered selection (an intensity
// grid, or saved rows) and writes into the scratch bitmap.
#include "filters/Neighbourhood.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/Document.h"

namespace lf {
namespace {

std::vector<uint8_t> IntensityGrid(const Bitmap& work) {
    const size_t w = static_cast<size_t>(work.Width());
    std::vector<uint8_t> grid(w * static_cast<size_t>(work.Height()));
    for (int32_t y = 0; y < work.Height(); ++y) {
        const uint8_t* p = work.ScanLine(y);
        uint8_t* g = grid.data() + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, p += 3) g[x] = static_cast<uint8_t>(Intensity(p));
    }
    return grid;
}

}  // namespace

void EdgeImageKernel(Bitmap& work) {
    const int32_t w = work.Width(), h = work.Height();
    if (w < 3 || h < 3) return;
    const std::vector<uint8_t> grid = IntensityGrid(work);
    for (int32_t y = 1; y < h - 1; ++y) {
        const uint8_t* above = grid.data() + static_cast<size_t>(y - 1) * w;
        const uint8_t* here = above + w;
        const uint8_t* below = here + w;
        uint8_t* p = work.ScanLine(y) + 3;
        for (int32_t x = 1; x < w - 1; ++x, p += 3) {
            const int a = here[x];
            const int sum = std::abs(above[x - 1] - a) + std::abs(above[x] - a) + std::abs(above[x + 1] - a) +
                            std::abs(here[x - 1] - a) + std::abs(here[x + 1] - a) +
                            std::abs(below[x - 1] - a) + std::abs(below[x] - a) + std::abs(below[x + 1] - a);
            p[0] = p[1] = p[2] = static_cast<uint8_t>(sum / 8);
        }
    }
}

void MeanKernel(Bitmap& work, int radius) {
    const int32_t w = work.Width(), h = work.Height();
    if (w == 0 || h == 0 || radius <= 0) return;
    const int32_t r = radius;
    const uint32_t area = static_cast<uint32_t>((2 * r + 1) * (2 * r + 1));
    const size_t rowBytes = static_cast<size_t>(w) * 3;

    // The box is separable, and so is the clamping of its coordinates: column sums over the 2r + 1
    // rows around y (clamped rows), then a running sum along the row over 2r + 1 columns (clamped
    // columns). Rows are rewritten in place, so the input rows that the column sums still need
    // are kept in a ring of 2r + 1 saved rows.
    const int32_t ringRows = 2 * r + 1;
    std::vector<uint8_t> ring(static_cast<size_t>(ringRows) * rowBytes);
    auto saved = [&](int32_t y) { return ring.data() + static_cast<size_t>(y % ringRows) * rowBytes; };
    // Input row y (clamped), from the ring when it has already been overwritten.
    int32_t writtenRows = 0;
    auto input = [&](int32_t y) -> const uint8_t* {
        y = std::clamp(y, 0, h - 1);
        return y < writtenRows ? saved(y) : work.ScanLine(y);
    };

    std::vector<uint32_t> columns(rowBytes, 0);
    for (int32_t j = -r; j <= r; ++j) {
        const uint8_t* row = input(j);
        for (size_t i = 0; i < rowBytes; ++i) columns[i] += row[i];
    }
    std::vector<uint32_t> padded(static_cast<size_t>(w + 2 * r) * 3);
    for (int32_t y = 0; y < h; ++y) {
        // Horizontal box over the column sums, with the edge columns repeated r times.
        for (int32_t x = -r; x < w + r; ++x) {
            const size_t source = static_cast<size_t>(std::clamp(x, 0, w - 1)) * 3;
            const size_t target = static_cast<size_t>(x + r) * 3;
            for (int c = 0; c < 3; ++c) padded[target + c] = columns[source + c];
        }
        // Row y is about to be overwritten; the sums of later rows still need it.
        std::memcpy(saved(y), work.ScanLine(y), rowBytes);
        writtenRows = y + 1;
        uint8_t* out = work.ScanLine(y);
        uint32_t sum[3] = {0, 0, 0};
        for (int32_t i = 0; i < 2 * r; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += padded[static_cast<size_t>(i) * 3 + c];
        for (int32_t x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                sum[c] += padded[static_cast<size_t>(x + 2 * r) * 3 + c];
                out[static_cast<size_t>(x) * 3 + c] = static_cast<uint8_t>(sum[c] / area);
                sum[c] -= padded[static_cast<size_t>(x) * 3 + c];
            }
        }
        if (y + 1 < h) {
            const uint8_t* leaving = input(y - r);
            const uint8_t* entering = input(y + r + 1);
            for (size_t i = 0; i < rowBytes; ++i) columns[i] += uint32_t{entering[i]} - leaving[i];
        }
    }
}

void SharpnessKernel(Bitmap& work, Direction direction) {
    const int32_t w = work.Width(), h = work.Height();
    if (w < 3 || h < 3) return;
    const std::vector<uint8_t> grid = IntensityGrid(work);
    for (int32_t y = 1; y < h - 1; ++y) {
        const uint8_t* above = grid.data() + static_cast<size_t>(y - 1) * w;
        const uint8_t* here = above + w;
        const uint8_t* below = here + w;
        uint8_t* p = work.ScanLine(y) + 3;
        for (int32_t x = 1; x < w - 1; ++x, p += 3) {
            const int m = (above[x - 1] + above[x] + above[x + 1] + here[x - 1] + here[x + 1] + below[x - 1] +
                           below[x] + below[x + 1]) /
                          8;
            // Red, green, blue in turn, each against the intensity as the pixel stands now.
            for (int c = 2; c >= 0; --c) {
                const int d = Intensity(p) - m;
                // Trunc(d × 2.0 + C) and Trunc(d × −0.5 + C) in integers.
                const int moved =
                    direction == Direction::Increase ? p[c] + 2 * d : p[c] - (d > 0 ? (d + 1) / 2 : d / 2);
                p[c] = Clamp(moved);
            }
        }
    }
}

uint32_t ClockSeed(const TimeOfDay& t) {
    return static_cast<uint32_t>(((t.Hour * 60 + t.Minute) * 60 + t.Second) * 1000 + t.Millisecond);
}

void AddNoiseKernel(Bitmap& work, int amplitude, RandomGenerator& generator) {
    const uint32_t n = static_cast<uint32_t>(amplitude);
    for (int32_t y = 0; y < work.Height(); ++y) {
        uint8_t* p = work.ScanLine(y);
        for (int32_t x = 0; x < work.Width(); ++x, p += 3) {
            const int rR = static_cast<int>(generator.Below(n));
            const int rG = static_cast<int>(generator.Below(n));
            const int rB = static_cast<int>(generator.Below(n));
            p[2] = Clamp(p[2] + 2 * rR - amplitude);
            p[1] = Clamp(p[1] + 2 * rG - amplitude);
            p[0] = Clamp(p[0] + 2 * rB - amplitude);
        }
    }
}

}  // namespace lf

// The levels stretch and the contrast step. Both are per-channel curves, applied as tables.
#include "filters/Contrast.h"

#include <algorithm>
#include <cmath>

#include "app/Document.h"
#include "platform/Errors.h"
#include "platform/Extended.h"

namespace lf {

ChannelRange MeasureChannels(const Bitmap& work) {
    ChannelRange range;
    for (int32_t y = 0; y < work.Height(); ++y) {
        const uint8_t* p = work.ScanLine(y);
        for (int32_t x = 0; x < work.Width(); ++x, p += 3) {
            for (int c = 0; c < 3; ++c) {
                if (p[c] > range.Maximum[c]) range.Maximum[c] = p[c];
                if (p[c] < range.Minimum[c]) range.Minimum[c] = p[c];
            }
        }
    }
    return range;
}

std::array<uint8_t, 256> StretchTable(int minimum, int maximum) {
    if (maximum == minimum) throw Error(kDivisionByZero);
    // The scale and the offset are doubles; the sum is formed in extended precision, where the
    // product of a byte and a double is exact, and rounded to the nearest with ties to even.
    // Ties at exact halves therefore fall as these roundings put them (17 of 10..24 gives 127).
    const double scale = 255.0 / static_cast<double>(maximum - minimum);
    const double offset = -(scale * static_cast<double>(minimum));
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        const Extended sum =
            static_cast<Extended>(v) * static_cast<Extended>(scale) + static_cast<Extended>(offset);
        // Values outside minimum..maximum never occur in the selection; keep their entries in a byte.
        const long rounded = std::lrint(sum);
        table[v] = Clamp(static_cast<int32_t>(std::clamp<long>(rounded, -1, 256)));
    }
    return table;
}

void ApplyChannelTables(uint8_t* row, int32_t width, const uint8_t* blue, const uint8_t* green,
                        const uint8_t* red) {
    for (int32_t x = 0; x < width; ++x, row += 3) {
        row[0] = blue[row[0]];
        row[1] = green[row[1]];
        row[2] = red[row[2]];
    }
}

void OptimizeKernel(Bitmap& work) {
    const ChannelRange range = MeasureChannels(work);
    // Red first, then green, then blue, as the error is found.
    const auto red = StretchTable(range.Minimum[2], range.Maximum[2]);
    const auto green = StretchTable(range.Minimum[1], range.Maximum[1]);
    const auto blue = StretchTable(range.Minimum[0], range.Maximum[0]);
    for (int32_t y = 0; y < work.Height(); ++y)
        ApplyChannelTables(work.ScanLine(y), work.Width(), blue.data(), green.data(), red.data());
}

void ContrastRow(uint8_t* row, int32_t width, Direction direction) {
    // v × factor + offset, truncated and clamped: 2v − 128 when increasing, 64 + v div 2 when
    // decreasing. Both are exact in integers.
    const size_t bytes = static_cast<size_t>(width) * 3;
    if (direction == Direction::Increase) {
        for (size_t i = 0; i < bytes; ++i) row[i] = Clamp(2 * row[i] - 128);
    } else {
        for (size_t i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(64 + row[i] / 2);
    }
}

void ContrastKernel(Bitmap& work, Direction direction) {
    for (int32_t y = 0; y < work.Height(); ++y) ContrastRow(work.ScanLine(y), work.Width(), direction);
}

}  // namespace lf

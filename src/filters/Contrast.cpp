// The levels stretch and the contrast step. Both are per-channel curves, applied as tables.
#include "filters/Contrast.h"

#include <algorithm>
#include <cmath>

#include "app/Document.h"
#include "filters/RowOps.h"
#include "platform/Errors.h"
#include "platform/Extended.h"

namespace lf {

ChannelRange MeasureChannels(const PixelRows& rows) {
    ChannelRange range;
    for (int32_t y = 0; y < rows.Height; ++y)
        rows::MinMax(rows.Row(y), rows.Width, range.Minimum, range.Maximum);
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
        const long rounded = std::lrint(std::clamp<Extended>(sum, -1, 256));
        table[v] = Clamp(static_cast<int32_t>(rounded));
    }
    return table;
}

ChannelTables StretchTables(const ChannelRange& range) {
    const auto red = StretchTable(range.Minimum[2], range.Maximum[2]);
    const auto green = StretchTable(range.Minimum[1], range.Maximum[1]);
    const auto blue = StretchTable(range.Minimum[0], range.Maximum[0]);
    ChannelTables t;
    std::copy(blue.begin(), blue.end(), t.Blue);
    std::copy(green.begin(), green.end(), t.Green);
    std::copy(red.begin(), red.end(), t.Red);
    return t;
}

void OptimizeRows(const PixelRows& rows) { ApplyTables(rows, StretchTables(MeasureChannels(rows))); }

void OptimizeKernel(Bitmap& work) { OptimizeRows(RowsOf(work)); }

ChannelTables ContrastTables(Direction direction) {
    // v × factor + offset, truncated and clamped: 2v − 128 when increasing, 64 + v div 2 when
    // decreasing. Both are exact in integers.
    ChannelTables t;
    for (int v = 0; v < 256; ++v)
        t.Blue[v] = direction == Direction::Increase ? Clamp(2 * v - 128) : static_cast<uint8_t>(64 + v / 2);
    std::copy(t.Blue, t.Blue + 256, t.Green);
    std::copy(t.Blue, t.Blue + 256, t.Red);
    return t;
}

void ContrastRow(uint8_t* row, int32_t width, Direction direction) {
    ApplyTables(PixelRows{row, 0, width, 1}, ContrastTables(direction));
}

void ContrastKernel(Bitmap& work, Direction direction) {
    ApplyTables(RowsOf(work), ContrastTables(direction));
}

}  // namespace lf

// Point filter kernels. Per-channel curves are tables; the rows are walked as plain byte arrays
// so that the compiler can vectorise them.
#include "filters/PointFilters.h"

#include <array>
#include <cmath>

#include "app/Document.h"

namespace lf {
namespace {

template <typename RowFunction>
void ForEachRow(Bitmap& work, RowFunction&& function) {
    for (int32_t y = 0; y < work.Height(); ++y) function(work.ScanLine(y), work.Width());
}

// The table of one channel offset: Clamp(v + d).
std::array<uint8_t, 256> OffsetTable(int d) {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = Clamp(v + d);
    return table;
}

std::array<uint8_t, 256> BuildLogaritmTable() {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<uint8_t>(std::nearbyint(std::log10(static_cast<double>(c + 1)) * 105.88));
    return table;
}

// Whether the selector touches the channel at byte offset b (0 blue, 1 green, 2 red).
bool Selected(int channel, int b) { return channel == kAllChannels || channel == 3 - b; }

}  // namespace

const uint8_t* LogaritmTable() {
    static const std::array<uint8_t, 256> table = BuildLogaritmTable();
    return table.data();
}

void AdjustChannelsRow(uint8_t* row, int32_t width, int dR, int dG, int dB) {
    const auto blue = OffsetTable(dB), green = OffsetTable(dG), red = OffsetTable(dR);
    for (int32_t x = 0; x < width; ++x, row += 3) {
        row[0] = blue[row[0]];
        row[1] = green[row[1]];
        row[2] = red[row[2]];
    }
}

void BlackAndWhiteRow(uint8_t* row, int32_t width) {
    for (int32_t x = 0; x < width; ++x, row += 3) {
        const uint8_t v = Intensity(row) > 127 ? 255 : 0;
        row[0] = row[1] = row[2] = v;
    }
}

void GrayscaleRow(uint8_t* row, int32_t width) {
    for (int32_t x = 0; x < width; ++x, row += 3) {
        const uint8_t v = static_cast<uint8_t>(Intensity(row));
        row[0] = row[1] = row[2] = v;
    }
}

void InvertRow(uint8_t* row, int32_t width, int channel) {
    for (int32_t x = 0; x < width; ++x, row += 3)
        for (int b = 0; b < 3; ++b)
            if (Selected(channel, b)) row[b] = static_cast<uint8_t>(255 - row[b]);
}

void LogaritmizeRow(uint8_t* row, int32_t width, int channel) {
    const uint8_t* table = LogaritmTable();
    for (int32_t x = 0; x < width; ++x, row += 3)
        for (int b = 0; b < 3; ++b)
            if (Selected(channel, b)) row[b] = table[row[b]];
}

void SwapChannelsRow(uint8_t* row, int32_t width) {
    for (int32_t x = 0; x < width; ++x, row += 3) {
        const uint8_t blue = row[0], green = row[1], red = row[2];
        row[2] = blue;   // red takes the old blue
        row[1] = red;    // green the old red
        row[0] = green;  // blue the old green
    }
}

void AdjustChannelsKernel(Bitmap& work, int dR, int dG, int dB) {
    ForEachRow(work, [&](uint8_t* row, int32_t w) { AdjustChannelsRow(row, w, dR, dG, dB); });
}
void BlackAndWhiteKernel(Bitmap& work) { ForEachRow(work, BlackAndWhiteRow); }
void GrayscaleKernel(Bitmap& work) { ForEachRow(work, GrayscaleRow); }
void InvertKernel(Bitmap& work, int channel) {
    ForEachRow(work, [&](uint8_t* row, int32_t w) { InvertRow(row, w, channel); });
}
void LogaritmizeKernel(Bitmap& work, int channel) {
    ForEachRow(work, [&](uint8_t* row, int32_t w) { LogaritmizeRow(row, w, channel); });
}
void SwapChannelsKernel(Bitmap& work) { ForEachRow(work, SwapChannelsRow); }

}  // namespace lf

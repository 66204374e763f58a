// Point filter kernels over the row primitives.
#include "filters/PointFilters.h"

#include <array>
#include <cmath>
#include <cstring>

#include "app/Document.h"
#include "filters/RowOps.h"

namespace lf {
namespace {

std::array<uint8_t, 256> BuildLogaritmTable() {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<uint8_t>(std::nearbyint(std::log10(static_cast<double>(c + 1)) * 105.88));
    return table;
}

void Identity(uint8_t* table) {
    for (int v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>(v);
}

// The tables of the channels a selector picks get `curve`, the others stay the identity.
template <typename Curve>
ChannelTables SelectedTables(int channel, Curve&& curve) {
    ChannelTables t;
    uint8_t* tables[3] = {t.Red, t.Green, t.Blue};  // selectors 1, 2, 3
    for (int c = 0; c < 3; ++c) {
        if (channel == kAllChannels || channel == c + 1)
            for (int v = 0; v < 256; ++v) tables[c][v] = curve(v);
        else
            Identity(tables[c]);
    }
    return t;
}

void EachRow(const PixelRows& rows, void (*function)(uint8_t*, int32_t)) {
    for (int32_t y = 0; y < rows.Height; ++y) function(rows.Row(y), rows.Width);
}

void GrayRow(uint8_t* row, int32_t width) { rows::Gray(row, width, false); }
void ThresholdRow(uint8_t* row, int32_t width) { rows::Gray(row, width, true); }

}  // namespace

const uint8_t* LogaritmTable() {
    static const std::array<uint8_t, 256> table = BuildLogaritmTable();
    return table.data();
}

ChannelTables OffsetTables(int dR, int dG, int dB) {
    ChannelTables t;
    for (int v = 0; v < 256; ++v) {
        t.Blue[v] = Clamp(v + dB);
        t.Green[v] = Clamp(v + dG);
        t.Red[v] = Clamp(v + dR);
    }
    return t;
}

ChannelTables InvertTables(int channel) {
    return SelectedTables(channel, [](int v) { return static_cast<uint8_t>(255 - v); });
}

ChannelTables LogaritmTables(int channel) {
    const uint8_t* curve = LogaritmTable();
    return SelectedTables(channel, [curve](int v) { return curve[v]; });
}

void ApplyTables(const PixelRows& rows, const ChannelTables& t) {
    // Equal tables let the row primitive look each byte up once.
    const bool same = std::memcmp(t.Blue, t.Green, 256) == 0 && std::memcmp(t.Blue, t.Red, 256) == 0;
    const uint8_t* green = same ? t.Blue : t.Green;
    const uint8_t* red = same ? t.Blue : t.Red;
    for (int32_t y = 0; y < rows.Height; ++y) rows::ApplyTables(rows.Row(y), rows.Width, t.Blue, green, red);
}

void AdjustChannelsRow(uint8_t* row, int32_t width, int dR, int dG, int dB) {
    ApplyTables(PixelRows{row, 0, width, 1}, OffsetTables(dR, dG, dB));
}
void BlackAndWhiteRow(uint8_t* row, int32_t width) { ThresholdRow(row, width); }
void GrayscaleRow(uint8_t* row, int32_t width) { GrayRow(row, width); }
void InvertRow(uint8_t* row, int32_t width, int channel) {
    ApplyTables(PixelRows{row, 0, width, 1}, InvertTables(channel));
}
void LogaritmizeRow(uint8_t* row, int32_t width, int channel) {
    ApplyTables(PixelRows{row, 0, width, 1}, LogaritmTables(channel));
}
void SwapChannelsRow(uint8_t* row, int32_t width) { rows::RotateChannels(row, width); }

void BlackAndWhiteRows(const PixelRows& rows) { EachRow(rows, ThresholdRow); }
void GrayscaleRows(const PixelRows& rows) { EachRow(rows, GrayRow); }
void SwapChannelsRows(const PixelRows& rows) { EachRow(rows, rows::RotateChannels); }

void AdjustChannelsKernel(Bitmap& work, int dR, int dG, int dB) {
    ApplyTables(RowsOf(work), OffsetTables(dR, dG, dB));
}
void BlackAndWhiteKernel(Bitmap& work) { BlackAndWhiteRows(RowsOf(work)); }
void GrayscaleKernel(Bitmap& work) { GrayscaleRows(RowsOf(work)); }
void InvertKernel(Bitmap& work, int channel) { ApplyTables(RowsOf(work), InvertTables(channel)); }
void LogaritmizeKernel(Bitmap& work, int channel) { ApplyTables(RowsOf(work), LogaritmTables(channel)); }
void SwapChannelsKernel(Bitmap& work) { SwapChannelsRows(RowsOf(work)); }

}  // namespace lf

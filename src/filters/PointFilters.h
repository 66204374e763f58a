// Point filter kernels: each output pixel depends on that pixel alone. Per-channel curves are
// tables of 256 results; each kernel works on a whole bitmap (the scratch copy), on rows, or on
// single rows.
#pragma once

#include <cstdint>

#include "filters/SelectionPass.h"
#include "platform/Bitmap.h"

namespace lf {

// The channel selector of Invert and Logaritmize.
inline constexpr int kAllChannels = 0;
inline constexpr int kRedChannel = 1;
inline constexpr int kGreenChannel = 2;
inline constexpr int kBlueChannel = 3;

// One curve per channel, in the order the bytes lie.
struct ChannelTables {
    uint8_t Blue[256];
    uint8_t Green[256];
    uint8_t Red[256];
};
ChannelTables OffsetTables(int dR, int dG, int dB);  // Clamp(C + d)
ChannelTables InvertTables(int channel);             // 255 − C on the selected channels
ChannelTables LogaritmTables(int channel);           // Round(log10(C + 1) × 105.88) on them
void ApplyTables(const PixelRows& rows, const ChannelTables& tables);

void AdjustChannelsRow(uint8_t* row, int32_t width, int dR, int dG, int dB);
void BlackAndWhiteRow(uint8_t* row, int32_t width);
void GrayscaleRow(uint8_t* row, int32_t width);
void InvertRow(uint8_t* row, int32_t width, int channel);
void LogaritmizeRow(uint8_t* row, int32_t width, int channel);
void SwapChannelsRow(uint8_t* row, int32_t width);

void BlackAndWhiteRows(const PixelRows& rows);
void GrayscaleRows(const PixelRows& rows);
void SwapChannelsRows(const PixelRows& rows);

void AdjustChannelsKernel(Bitmap& work, int dR, int dG, int dB);
void BlackAndWhiteKernel(Bitmap& work);
void GrayscaleKernel(Bitmap& work);
void InvertKernel(Bitmap& work, int channel);
void LogaritmizeKernel(Bitmap& work, int channel);
void SwapChannelsKernel(Bitmap& work);

// Round(log10(c + 1) × 105.88) for every channel value c.
const uint8_t* LogaritmTable();

}  // namespace lf

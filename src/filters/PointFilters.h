// Point filter kernels: each output pixel depends on that pixel alone. Each works on a whole
// bitmap (the scratch copy) and on single rows, which the fast pass rewrites in place.
#pragma once

#include <cstdint>

#include "platform/Bitmap.h"

namespace lf {

// The channel selector of Invert and Logaritmize.
inline constexpr int kAllChannels = 0;
inline constexpr int kRedChannel = 1;
inline constexpr int kGreenChannel = 2;
inline constexpr int kBlueChannel = 3;

void AdjustChannelsRow(uint8_t* row, int32_t width, int dR, int dG, int dB);
void BlackAndWhiteRow(uint8_t* row, int32_t width);
void GrayscaleRow(uint8_t* row, int32_t width);
void InvertRow(uint8_t* row, int32_t width, int channel);
void LogaritmizeRow(uint8_t* row, int32_t width, int channel);
void SwapChannelsRow(uint8_t* row, int32_t width);

void AdjustChannelsKernel(Bitmap& work, int dR, int dG, int dB);
void BlackAndWhiteKernel(Bitmap& work);
void GrayscaleKernel(Bitmap& work);
void InvertKernel(Bitmap& work, int channel);
void LogaritmizeKernel(Bitmap& work, int channel);
void SwapChannelsKernel(Bitmap& work);

// Round(log10(c + 1) × 105.88) for every channel value c.
const uint8_t* LogaritmTable();

}  // namespace lf

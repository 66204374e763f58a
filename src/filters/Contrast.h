// The tone kernels: the per-channel levels stretch and the fixed contrast step.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Bitmap.h"

namespace lf {

// Increase or decrease, the argument of Contrast and Sharpness.
enum class Direction { Increase, Decrease };

// Minimum and maximum of each channel (index 0 blue, 1 green, 2 red, as the bytes lie).
struct ChannelRange {
    std::array<int, 3> Minimum{256, 256, 256};
    std::array<int, 3> Maximum{-1, -1, -1};
    void Include(int value) {  // the same value in all three channels
        for (int c = 0; c < 3; ++c) {
            if (value > Maximum[c]) Maximum[c] = value;
            if (value < Minimum[c]) Minimum[c] = value;
        }
    }
};

ChannelRange MeasureChannels(const Bitmap& work);
// The stretch of one channel as a table of 256 results. Throws lf::Error(kDivisionByZero)
// when the channel is flat (minimum equals maximum).
std::array<uint8_t, 256> StretchTable(int minimum, int maximum);
// Applies three channel tables (blue, green, red) to rows in place.
void ApplyChannelTables(uint8_t* row, int32_t width, const uint8_t* blue, const uint8_t* green,
                        const uint8_t* red);

// Stretches each channel so that its darkest value becomes 0 and its brightest 255. Throws
// lf::Error(kDivisionByZero) and leaves the bitmap as it was when a channel is flat.
void OptimizeKernel(Bitmap& work);

void ContrastRow(uint8_t* row, int32_t width, Direction direction);
void ContrastKernel(Bitmap& work, Direction direction);

}  // namespace lf

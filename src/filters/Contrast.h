// The tone kernels: the per-channel levels stretch and the fixed contrast step.
#pragma once

#include <array>
#include <cstdint>

#include "filters/PointFilters.h"
#include "filters/SelectionPass.h"
#include "platform/Bitmap.h"

namespace lf {

// Increase or decrease, the argument of Contrast and Sharpness.
enum class Direction { Increase, Decrease };

// Minimum and maximum of each channel (index 0 blue, 1 green, 2 red, as the bytes lie).
struct ChannelRange {
    int Minimum[3] = {256, 256, 256};
    int Maximum[3] = {-1, -1, -1};
};

ChannelRange MeasureChannels(const PixelRows& rows);
// The stretch of one channel as a table of 256 results. Throws lf::Error(kDivisionByZero)
// when the channel is flat (minimum equals maximum).
std::array<uint8_t, 256> StretchTable(int minimum, int maximum);
// The three stretch tables of a measured range; red is checked first, then green, then blue.
ChannelTables StretchTables(const ChannelRange& range);

// Stretches each channel so that its darkest value becomes 0 and its brightest 255. Throws
// lf::Error(kDivisionByZero) and leaves the pixels as they were when a channel is flat.
void OptimizeRows(const PixelRows& rows);
void OptimizeKernel(Bitmap& work);

ChannelTables ContrastTables(Direction direction);
void ContrastRow(uint8_t* row, int32_t width, Direction direction);
void ContrastKernel(Bitmap& work, Direction direction);

}  // namespace lf

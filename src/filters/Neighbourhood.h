// Neighbourhood kernels (edge image, box mean, sharpening) and the noise kernel with its
// random generator.
#pragma once

#include <cstdint>

#include "filters/Contrast.h"
#include "filters/SelectionPass.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"

namespace lf {

// The grey edge image: every interior pixel (not in the outermost rows and columns) has the edge
// value (sum of the absolute intensity differences to its eight neighbours) div 8, and the
// (W − 2) × (H − 2) interior values are enlarged onto all W × H pixels, each pixel taking the
// interior pixel nearest in proportion. Below 3 pixels wide or high there is no interior and
// nothing changes.
void EdgeImageRows(const PixelRows& rows);
void EdgeImageKernel(Bitmap& work);

// Box mean of radius r: each pixel becomes the truncated average of the (2r + 1)² pixels around
// it, coordinates beyond the bitmap taking the nearest edge pixel.
void MeanRows(const PixelRows& rows, int radius);
void MeanKernel(Bitmap& work, int radius);

// Moves each channel of every interior pixel away from (Increase) or toward (Decrease) the
// average intensity of its eight neighbours; the centre's intensity is read anew before each
// channel is written.
void SharpnessRows(const PixelRows& rows, Direction direction);
void SharpnessKernel(Bitmap& work, Direction direction);

// The noise generator: one 32-bit seed, advanced as seed × 134775813 + 1 before each draw.
struct RandomGenerator {
    uint32_t Seed = 0;
    // A number in 0..n − 1: the upper half of the 64-bit product of the new seed and n.
    uint32_t Below(uint32_t n) {
        Seed = Seed * 134775813u + 1u;
        return static_cast<uint32_t>((uint64_t{Seed} * n) >> 32);
    }
    // Advances the seed as `count` draws would; the generator repeats after 2³² draws, so any
    // larger count can be taken modulo 2³².
    void Skip(uint32_t count);
};

// The seed the noise filter takes from the clock: milliseconds since midnight.
uint32_t ClockSeed(const TimeOfDay& time);

// Adds to each channel of each pixel, in sweep order, 2 × (a draw below a) − a, clamped.
void AddNoiseRows(const PixelRows& rows, int amplitude, RandomGenerator& generator);
void AddNoiseKernel(Bitmap& work, int amplitude, RandomGenerator& generator);

}  // namespace lf

// Row primitives shared by the filter kernels: a row is `width` pixels of blue, green, red.
// With AVX-512 (VBMI) they work 64 bytes at a time; otherwise they are plain loops. Both forms
// give the same bytes.
#pragma once

#include <cstdint>

namespace lf::rows {

// Every byte through the table of its channel.
void ApplyTables(uint8_t* row, int32_t width, const uint8_t* blue, const uint8_t* green, const uint8_t* red);
// Every pixel becomes its intensity (R + G + B) div 3 in all three channels, or with threshold
// 255 when the intensity is above 127 and 0 otherwise.
void Gray(uint8_t* row, int32_t width, bool threshold);
// (R, G, B) := (B, R, G).
void RotateChannels(uint8_t* row, int32_t width);
// intensities[x] := (R + G + B) div 3 of pixel x.
void Intensities(const uint8_t* row, int32_t width, uint8_t* intensities);
// Lowers minimum[c] and raises maximum[c] (c: 0 blue, 1 green, 2 red) to take in the row.
void MinMax(const uint8_t* row, int32_t width, int minimum[3], int maximum[3]);

// Pixel x of the row becomes (grey[x], grey[x], grey[x]).
void SpreadGrey(const uint8_t* grey, int32_t width, uint8_t* row);
// The sharpening step of `count` pixels against their neighbourhood means: red, then green,
// then blue, each moved by the difference between the pixel's intensity as it stands at that
// moment and the mean: C := Clamp(C + 2d) when sharpening, Clamp(C − ⌈d / 2⌉) when softening.
void Sharpen(uint8_t* pixels, const uint8_t* means, int32_t count, bool soften);

// The noise step of a row in sweep order: for each pixel three draws below `amplitude` from the
// generator seed := seed × 134775813 + 1 (a draw is the upper half of the 64-bit product of the
// new seed and the amplitude), first for red, then green, then blue, and each channel becomes
// Clamp(C + 2 × draw − amplitude). `seed` carries on from row to row.
void AddNoise(uint8_t* row, int32_t width, int amplitude, uint32_t& seed);

}  // namespace lf::rows

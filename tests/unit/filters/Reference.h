// The filters in their plain per-pixel form, written straight from the arithmetic they are
// defined by, one pixel at a time through Pixel()/SetPixel(). The fast kernels are compared with
// these on random pictures and selections.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Rect.h"

namespace lf::reference {

// One pass over the inclusive selection: the copy (black where it has no source pixel), the
// operation on it, then the write-back clipped to the picture.
using Operation = std::function<void(Bitmap& copy)>;
void Pass(Bitmap& picture, const TRect& selection, const Operation& operation);

void AdjustChannels(Bitmap& copy, int dR, int dG, int dB);
void BlackAndWhite(Bitmap& copy);
void Grayscale(Bitmap& copy);
void Invert(Bitmap& copy, int channel);
void Logaritmize(Bitmap& copy, int channel);
void SwapChannels(Bitmap& copy);
void Optimize(Bitmap& copy);  // throws lf::Error on a flat channel
void Contrast(Bitmap& copy, bool decrease);
void Mean(Bitmap& copy, int radius);
void Sharpness(Bitmap& copy, bool decrease);
void AddNoise(Bitmap& copy, int amplitude, uint32_t& seed);

// FindEdges is several passes with its own write-back; it works on the picture.
void FindEdges(Bitmap& picture, const TRect& selection);

// The stages of a filter command, by component name, over the picture; `seed` stands for the
// clock every AddNoise stage reads.
void RunCommand(const std::string& component, Bitmap& picture, const TRect& selection, uint32_t seed);

}  // namespace lf::reference

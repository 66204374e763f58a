// The filter routines over the document: each runs its kernel on the selection of MainBitmap.
// They take no undo snapshot and do not redraw; the command around them does both.
#pragma once

#include "filters/Contrast.h"
#include "filters/Neighbourhood.h"
#include "filters/PointFilters.h"

namespace lf {

void AdjustChannels(int dR, int dG, int dB);
void BlackAndWhite();
void Grayscale();
void Invert(int channel);       // kAllChannels, kRedChannel, kGreenChannel, kBlueChannel
void Logaritmize(int channel);  // the same selectors
void SwapChannels();
// Throws lf::Error(kDivisionByZero) without changing the picture when a channel is flat.
void Optimize();
void Contrast(Direction direction);
// Edge image, then Optimize and Logaritmize(0); Optimize's error leaves the edge image in place.
void FindEdges();
void Mean(int radius);
void Sharpness(Direction direction);
void AddNoise(int amplitude);

// The generator AddNoise reseeds from the clock at every call.
extern RandomGenerator NoiseGenerator;

}  // namespace lf

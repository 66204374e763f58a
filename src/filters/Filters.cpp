// The filter routines over the document's selection.
#include "filters/Filters.h"

#include "app/Document.h"
#include "filters/SelectionPass.h"
#include "platform/Cursor.h"

namespace lf {

RandomGenerator NoiseGenerator;

void AdjustChannels(int dR, int dG, int dB) {
    SelectionPass([&](Bitmap& work) { AdjustChannelsKernel(work, dR, dG, dB); });
}

void BlackAndWhite() { SelectionPass(BlackAndWhiteKernel); }

void Grayscale() { SelectionPass(GrayscaleKernel); }

void Invert(int channel) {
    SelectionPass([&](Bitmap& work) { InvertKernel(work, channel); });
}

void Logaritmize(int channel) {
    SelectionPass([&](Bitmap& work) { LogaritmizeKernel(work, channel); });
}

void SwapChannels() { SelectionPass(SwapChannelsKernel); }

void Optimize() { SelectionPass(OptimizeKernel); }

void Contrast(Direction direction) {
    SelectionPass([&](Bitmap& work) { ContrastKernel(work, direction); });
}

namespace {

// The black one-pixel outline along the border of the whole picture.
void DrawPictureOutline() {
    const int32_t w = MainBitmap.Width(), h = MainBitmap.Height();
    MainBitmap.Fill(Rect(0, 0, w, 1), 0);
    MainBitmap.Fill(Rect(0, h - 1, w, h), 0);
    MainBitmap.Fill(Rect(0, 0, 1, h), 0);
    MainBitmap.Fill(Rect(w - 1, 0, w, h), 0);
}

// The edge image's interior enlarged onto the whole selection: its uncomputed border is
// covered by the nearest interior pixels.
void WriteEdgeImage(Bitmap& work) {
    DrawPictureOutline();
    const int32_t w = work.Width(), h = work.Height();
    if (w < 3 || h < 3) {
        WriteWorkToSelection();  // no interior: the selection keeps its pixels
        return;
    }
    MainBitmap.CopyRect(Rect(SelRect.Left, SelRect.Top, SelRect.Right + 1, SelRect.Bottom + 1), work,
                        Rect(1, 1, w - 1, h - 1));
}

}  // namespace

void FindEdges() {
    HourglassCursor hourglass;
    SelectionPass(EdgeImageKernel, WriteEdgeImage);
    Optimize();
    Logaritmize(kAllChannels);
}

void Mean(int radius) {
    SelectionPass([&](Bitmap& work) { MeanKernel(work, radius); });
}

void Sharpness(Direction direction) {
    SelectionPass([&](Bitmap& work) { SharpnessKernel(work, direction); });
}

void AddNoise(int amplitude) {
    HourglassCursor hourglass;
    NoiseGenerator.Seed = ClockSeed(Now());
    SelectionPass([&](Bitmap& work) { AddNoiseKernel(work, amplitude, NoiseGenerator); });
}

}  // namespace lf

// The filter routines over the document's selection.
#include "filters/Filters.h"

#include <algorithm>
#include <cstring>

#include "app/Document.h"
#include "filters/SelectionPass.h"
#include "platform/Cursor.h"

namespace lf {

RandomGenerator NoiseGenerator;

void AdjustChannels(int dR, int dG, int dB) {
    const ChannelTables tables = OffsetTables(dR, dG, dB);
    PointPass([&](const PixelRows& rows) { ApplyTables(rows, tables); });
}

void BlackAndWhite() { PointPass(BlackAndWhiteRows); }

void Grayscale() { PointPass(GrayscaleRows); }

void Invert(int channel) {
    const ChannelTables tables = InvertTables(channel);
    PointPass([&](const PixelRows& rows) { ApplyTables(rows, tables); });
}

void Logaritmize(int channel) {
    const ChannelTables tables = LogaritmTables(channel);
    PointPass([&](const PixelRows& rows) { ApplyTables(rows, tables); });
}

void SwapChannels() { PointPass(SwapChannelsRows); }

// Measures before it writes, so a flat channel leaves every pixel as it was. The copy would hold
// black wherever the selection has no source pixel, and those pixels count in the minima and
// maxima; nothing else of them matters, so only the part inside the picture is swept.
void Optimize() {
    const bool reachesOutside = SelectionReachesOutside();
    PointPass([reachesOutside](const PixelRows& rows) {
        ChannelRange range = MeasureChannels(rows);
        if (reachesOutside)
            for (int c = 0; c < 3; ++c) {
                range.Minimum[c] = std::min(range.Minimum[c], 0);
                range.Maximum[c] = std::max(range.Maximum[c], 0);
            }
        ApplyTables(rows, StretchTables(range));
    });
}

void Contrast(Direction direction) {
    const ChannelTables tables = ContrastTables(direction);
    PointPass([&](const PixelRows& rows) { ApplyTables(rows, tables); });
}

namespace {

// The black outline of the whole picture where the selection does not cover it: the edge
// image written over the selection hides the rest.
void DrawOutlineAroundSelection() {
    const int32_t w = MainBitmap.Width(), h = MainBitmap.Height();
    if (w == 0 || h == 0) return;
    const TRect v = VisibleSelection();
    auto selected = [&](int32_t x, int32_t y) {
        return x >= v.Left && x < v.Right && y >= v.Top && y < v.Bottom;
    };
    auto blacken = [&](int32_t x, int32_t y) {
        if (!selected(x, y)) std::memset(MainBitmap.ScanLine(y) + static_cast<size_t>(x) * 3, 0, 3);
    };
    for (int32_t x = 0; x < w; ++x) blacken(x, 0), blacken(x, h - 1);
    for (int32_t y = 0; y < h; ++y) blacken(0, y), blacken(w - 1, y);
}

}  // namespace

void FindEdges() {
    HourglassCursor hourglass;
    // The outline drawn before the write-back, as one picture, equals the outline drawn after it
    // where the selection does not cover it.
    FastSelectionPass(EdgeImageRows);
    DrawOutlineAroundSelection();
    Optimize();
    Logaritmize(kAllChannels);
}

void Mean(int radius) {
    FastSelectionPass([&](const PixelRows& rows) { MeanRows(rows, radius); });
}

void Sharpness(Direction direction) {
    FastSelectionPass([&](const PixelRows& rows) { SharpnessRows(rows, direction); });
}

void AddNoise(int amplitude) {
    HourglassCursor hourglass;
    NoiseGenerator.Seed = ClockSeed(Now());
    if (amplitude <= 0) return;  // no draw below 0; callers pass 25
    // The pixels of the selection beyond the picture take their three draws each in sweep order
    // like any other, so the generator skips them; nothing else of them is seen. Counts wrap
    // modulo 2³² with the generator.
    const TRect v = VisibleSelection();
    const auto draws = [](int64_t pixels) {
        return static_cast<uint32_t>(static_cast<uint64_t>(pixels) * 3);
    };
    const uint32_t rowDraws = draws(SelectionWidth());
    const uint32_t before = draws(int64_t{v.Left} - SelRect.Left);
    const uint32_t after = draws(int64_t{SelRect.Right} + 1 - v.Right);
    const uint32_t rowsAbove = static_cast<uint32_t>(int64_t{v.Top} - SelRect.Top);
    PointPass([&](const PixelRows& rows) {
        if (rows.Height == 0) return;
        NoiseGenerator.Skip(rowDraws * rowsAbove);
        for (int32_t y = 0; y < rows.Height; ++y) {
            NoiseGenerator.Skip(before);
            AddNoiseRows(PixelRows{rows.Row(y), 0, rows.Width, 1}, amplitude, NoiseGenerator);
            NoiseGenerator.Skip(after);
        }
    });
}

}  // namespace lf

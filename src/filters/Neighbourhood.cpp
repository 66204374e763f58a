// Neighbourhood kernels and the noise kernel. They rewrite the rows in place, so what they still
// need of the unfiltered selection (intensity rows, row sums) is kept in small rings of rows
// taken before a row is overwritten: no grid as large as the selection is needed.
#include "filters/Neighbourhood.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/Document.h"
#include "filters/RowOps.h"

namespace lf {
namespace {

// Rows of a derived quantity (intensities, row sums) computed in order from the unfiltered
// rows, the last `count` of them kept.
template <typename T>
class RowRing {
public:
    RowRing(size_t count, size_t length) : count_(count), length_(length), data_(count * length) {}
    T* operator[](int32_t y) { return data_.data() + static_cast<size_t>(y) % count_ * length_; }

private:
    size_t count_, length_;
    std::vector<T> data_;
};

// Edge values e[i] of interior pixels 1..w − 2 of a row, from the intensities of the row and its
// two neighbours.
void EdgeRow(const uint8_t* above, const uint8_t* here, const uint8_t* below, int32_t w, uint8_t* e) {
    for (int32_t x = 1; x < w - 1; ++x) {
        const int a = here[x];
        const int sum = std::abs(above[x - 1] - a) + std::abs(above[x] - a) + std::abs(above[x + 1] - a) +
                        std::abs(here[x - 1] - a) + std::abs(here[x + 1] - a) + std::abs(below[x - 1] - a) +
                        std::abs(below[x] - a) + std::abs(below[x + 1] - a);
        e[x - 1] = static_cast<uint8_t>(sum / 8);
    }
}

// Exact division of sums up to `largest` by d as (s × multiplier) >> shift in 32 bits, or
// multiplier 0 when no such pair exists.
struct Divider {
    uint32_t multiplier = 0, shift = 0, divisor = 1;
    Divider(uint32_t d, uint32_t largest) : divisor(d) {
        for (uint32_t k = 0; k < 32; ++k) {
            const uint64_t m = ((uint64_t{1} << k) + d - 1) / d;
            if (m * largest >= (uint64_t{1} << 32)) break;
            bool exact = true;
            for (uint32_t s = 0; s <= largest && exact; ++s) exact = ((s * m) >> k) == s / d;
            if (exact) {
                multiplier = static_cast<uint32_t>(m);
                shift = k;
                return;
            }
        }
    }
};

template <typename Sum>
void MeanRowsWith(const PixelRows& rows, int32_t r) {
    const int32_t w = rows.Width, h = rows.Height;
    const size_t n = static_cast<size_t>(w) * 3;
    const uint32_t side = static_cast<uint32_t>(2 * r + 1);
    const Divider divide(side * side, 255 * side * side);

    // Horizontal box sums of each unfiltered row (edge pixels repeated r times), and their
    // running vertical sum over the 2r + 1 rows around y (edge rows repeated).
    RowRing<Sum> rowSums(static_cast<size_t>(2 * r + 2), n);
    std::vector<uint8_t> padded((static_cast<size_t>(w) + 2 * r) * 3);
    std::vector<Sum> run(padded.size());
    int32_t summed = -1;
    auto sumRowsUpTo = [&](int32_t last) {
        while (summed < last) {
            ++summed;
            const uint8_t* row = rows.Row(summed);
            for (int32_t i = 0; i < r; ++i) {
                std::memcpy(padded.data() + static_cast<size_t>(i) * 3, row, 3);
                std::memcpy(padded.data() + (static_cast<size_t>(w) + r + i) * 3, row + n - 3, 3);
            }
            std::memcpy(padded.data() + static_cast<size_t>(r) * 3, row, n);
            // Sums of 2r + 1 taps three bytes apart, by doubling: run[i] holds the sum of `span`
            // taps from i, and the taps of the binary digits of 2r + 1 are added from the top.
            Sum* sums = rowSums[summed];
            const uint8_t* p = padded.data();
            const size_t paddedLength = padded.size();
            for (size_t i = 0; i < paddedLength; ++i) run[i] = p[i];
            std::fill(sums, sums + n, Sum{0});
            size_t offset = 0;
            for (uint32_t span = 1; span <= side; span *= 2) {
                if (side & span) {
                    // Digits are taken from the lowest: this part covers taps offset .. offset + span.
                    for (size_t i = 0; i < n; ++i) sums[i] = static_cast<Sum>(sums[i] + run[i + offset * 3]);
                    offset += span;
                }
                if (span * 2 > side) break;
                const size_t length = paddedLength - span * 3;
                for (size_t i = 0; i < length; ++i) run[i] = static_cast<Sum>(run[i] + run[i + span * 3]);
            }
        }
    };
    auto sumsOf = [&](int32_t y) { return rowSums[std::clamp(y, 0, h - 1)]; };

    std::vector<Sum> box(n, 0);
    sumRowsUpTo(std::min(r, h - 1));
    for (int32_t j = -r; j <= r; ++j) {
        const Sum* s = sumsOf(j);
        for (size_t i = 0; i < n; ++i) box[i] = static_cast<Sum>(box[i] + s[i]);
    }
    for (int32_t y = 0; y < h; ++y) {
        // Every row sum that later rows need is taken before row y is overwritten.
        sumRowsUpTo(std::min(y + r + 1, h - 1));
        uint8_t* out = rows.Row(y);
        if (divide.multiplier != 0) {
            const uint32_t m = divide.multiplier, k = divide.shift;
            for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>((uint32_t{box[i]} * m) >> k);
        } else {
            for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(box[i] / divide.divisor);
        }
        if (y + 1 < h) {
            const Sum* entering = sumsOf(y + r + 1);
            const Sum* leaving = sumsOf(y - r);
            for (size_t i = 0; i < n; ++i) box[i] = static_cast<Sum>(box[i] + entering[i] - leaving[i]);
        }
    }
}

}  // namespace

void EdgeImageRows(const PixelRows& rows) {
    const int32_t w = rows.Width, h = rows.Height;
    if (w < 3 || h < 3) return;
    const int64_t iw = w - 2, ih = h - 2;
    // Each pixel takes the interior pixel nearest in proportion.
    std::vector<int32_t> column(static_cast<size_t>(w));
    for (int64_t x = 0; x < w; ++x) column[x] = static_cast<int32_t>((2 * x + 1) * iw / (2 * w));
    auto edgeRowOf = [&](int64_t y) { return static_cast<int32_t>((2 * y + 1) * ih / (2 * h)) + 1; };

    RowRing<uint8_t> intensity(8, static_cast<size_t>(w));
    int32_t measured = -1;
    auto measureUpTo = [&](int32_t last) {
        while (measured < last) {
            ++measured;
            rows::Intensities(rows.Row(measured), w, intensity[measured]);
        }
    };
    std::vector<uint8_t> edges(static_cast<size_t>(iw)), grey(static_cast<size_t>(w));
    int32_t current = -1;
    for (int32_t y = 0; y < h; ++y) {
        // The edge row for output row y lies within y − 1 .. y + 1; every intensity row that a
        // later edge row needs is taken before row y is overwritten.
        const int32_t j = edgeRowOf(y);
        measureUpTo(std::max(y, j + 1));
        if (j != current) {
            EdgeRow(intensity[j - 1], intensity[j], intensity[j + 1], w, edges.data());
            for (int32_t x = 0; x < w; ++x) grey[x] = edges[column[x]];
            current = j;
        }
        rows::SpreadGrey(grey.data(), w, rows.Row(y));
    }
}

void EdgeImageKernel(Bitmap& work) { EdgeImageRows(RowsOf(work)); }

void MeanRows(const PixelRows& rows, int radius) {
    if (rows.Width <= 0 || rows.Height <= 0 || radius <= 0) return;
    // Sums of up to 255 × (2r + 1)² fit 16 bits up to r = 7.
    if (radius <= 7)
        MeanRowsWith<uint16_t>(rows, radius);
    else
        MeanRowsWith<uint32_t>(rows, radius);
}

void MeanKernel(Bitmap& work, int radius) { MeanRows(RowsOf(work), radius); }

void SharpnessRows(const PixelRows& rows, Direction direction) {
    const int32_t w = rows.Width, h = rows.Height;
    if (w < 3 || h < 3) return;
    RowRing<uint8_t> intensity(3, static_cast<size_t>(w));
    rows::Intensities(rows.Row(0), w, intensity[0]);
    rows::Intensities(rows.Row(1), w, intensity[1]);
    std::vector<uint8_t> mean(static_cast<size_t>(w));
    for (int32_t y = 1; y < h - 1; ++y) {
        rows::Intensities(rows.Row(y + 1), w, intensity[y + 1]);
        const uint8_t* above = intensity[y - 1];
        const uint8_t* here = intensity[y];
        const uint8_t* below = intensity[y + 1];
        for (int32_t x = 1; x < w - 1; ++x)
            mean[x] = static_cast<uint8_t>((above[x - 1] + above[x] + above[x + 1] + here[x - 1] +
                                            here[x + 1] + below[x - 1] + below[x] + below[x + 1]) /
                                           8);
        rows::Sharpen(rows.Row(y) + 3, mean.data() + 1, w - 2, direction == Direction::Decrease);
    }
}

void SharpnessKernel(Bitmap& work, Direction direction) { SharpnessRows(RowsOf(work), direction); }

void RandomGenerator::Skip(uint32_t count) {
    // The step x -> a x + c raised to the count-th power by squaring.
    uint32_t a = 134775813u, c = 1u;
    for (; count != 0; count >>= 1) {
        if (count & 1u) Seed = a * Seed + c;
        c = a * c + c;
        a = a * a;
    }
}

uint32_t ClockSeed(const TimeOfDay& t) {
    return static_cast<uint32_t>(((t.Hour * 60 + t.Minute) * 60 + t.Second) * 1000 + t.Millisecond);
}

void AddNoiseRows(const PixelRows& rows, int amplitude, RandomGenerator& generator) {
    if (amplitude <= 0) return;  // no draw below 0; callers pass 25
    for (int32_t y = 0; y < rows.Height; ++y)
        rows::AddNoise(rows.Row(y), rows.Width, amplitude, generator.Seed);
}

void AddNoiseKernel(Bitmap& work, int amplitude, RandomGenerator& generator) {
    AddNoiseRows(RowsOf(work), amplitude, generator);
}

}  // namespace lf

// The statistics sweep over a 6000 × 4000 picture beside a plain memcpy of the same bytes in
// the same run: the sweep reads every byte once, so memcpy's speed is the figure to approach.
#include <benchmark/benchmark.h>

#include <random>

#include "BenchSupport.h"
#include "app/Statistics.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

const lf::Bitmap& Picture() {
    static const lf::Bitmap picture = [] {
        lf::Bitmap b(kWidth, kHeight);
        std::mt19937 random(1);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < 3 * kWidth; ++x) row[x] = static_cast<uint8_t>(random());
        }
        return b;
    }();
    return picture;
}

void BM_MeasurePicture(benchmark::State& state) {
    const lf::Bitmap& picture = Picture();
    for (auto _ : state) {
        lf::PictureStatistics s = lf::MeasurePicture(picture);
        benchmark::DoNotOptimize(s);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * picture.SizeInBytes());
}

void BM_MemcpySameBytes(benchmark::State& state) { lf::bench::MemcpyThroughput(state, Picture()); }

BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasurePicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

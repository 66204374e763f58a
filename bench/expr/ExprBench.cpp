// The parser and the custom filter on a 6000 × 4000 photo-like picture, each filter figure
// beside a plain memcpy of the picture's bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "app/Document.h"
#include "customfilter/CustomFilter.h"
#include "expr/Parser.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

// Smooth gradients in every channel plus grain, so that most neighbouring pixels differ.
const lf::Bitmap& Photo() {
    static const lf::Bitmap picture = [] {
        lf::Bitmap b(kWidth, kHeight);
        std::mt19937 noise(1);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t n = noise();
                auto grain = [n](int shift) { return static_cast<int>((n >> shift) % 17) - 8; };
                row[3 * x] = static_cast<uint8_t>(std::clamp(40 + 170 * y / kHeight + grain(0), 0, 255));
                row[3 * x + 1] = static_cast<uint8_t>(
                    std::clamp(20 + 200 * (x + y) / (kWidth + kHeight) + grain(8), 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(std::clamp(230 - 200 * x / kWidth + grain(16), 0, 255));
            }
        }
        return b;
    }();
    return picture;
}

using lf::bench::Seconds;

void BM_Memcpy(benchmark::State& state) { lf::bench::TimedMemcpy(state, Photo()); }

// A typical formula after substitution, 30 characters.
void BM_Parse(benchmark::State& state) {
    lf::TMathParser parser;
    parser.ParseString = "(120*0.3+45*0.59+200*0.11)/1.5";
    for (auto _ : state) {
        parser.Parse();
        benchmark::DoNotOptimize(parser.ParseValue);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// The custom filter as the command runs it on the whole picture (no undo snapshot, no redraw).
// The picture is put back before each run with a memcpy of the same bytes, timed as the measure
// to compare with.
void BM_CustomFilter(benchmark::State& state, std::string r, std::string g, std::string b) {
    lf::bench::TimeAgainstRestore(state, Photo(), [&] { lf::CustomFilter(r, g, b); });
}

// The literal form (substitute and parse three times a pixel) on 60 rows, for comparison.
void BM_LiteralForm(benchmark::State& state) {
    const lf::Bitmap& original = Photo();
    lf::Bitmap strip(kWidth, 60);
    for (int y = 0; y < strip.Height(); ++y) std::memcpy(strip.ScanLine(y), original.ScanLine(y), kWidth * 3);
    lf::TMathParser parser;
    for (auto _ : state) {
        lf::Bitmap work = strip;
        const auto t0 = std::chrono::steady_clock::now();
        lf::CustomFilterLiteralKernel(work, parser, "(R1+G1+B1)/3", "SQRT(R1*G1)", "B1^0.5*16");
        state.SetIterationTime(Seconds(t0));
    }
    state.counters["ns_per_pixel"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * 60,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("memcpy", BM_Memcpy)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("parse_30_chars", BM_Parse);
    struct Filter {
        const char* name;
        const char* r;
        const char* g;
        const char* b;
    } filters[] = {
        {"custom_invert_red", "255-R1", "G1", "B1"},
        {"custom_mean_sqrt_power", "(R1+G1+B1)/3", "SQRT(R1*G1)", "B1^0.5*16"},
        {"custom_merging_2R1", "2R1", "G1", "B1"},
        {"custom_merging_three_variables", "R1G1/100", "G1", "B1"},
    };
    for (const Filter& f : filters) {
        benchmark::RegisterBenchmark(f.name, BM_CustomFilter, f.r, f.g, f.b)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    }
    benchmark::RegisterBenchmark("literal_form_per_pixel", BM_LiteralForm)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

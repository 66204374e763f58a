// The memcpy baselines and the stopwatch shared by the benchmark programs.
#include "BenchSupport.h"

#include <vector>

namespace lf::bench {

double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void TimedMemcpy(benchmark::State& state, const Bitmap& source) {
    std::vector<uint8_t> target(source.SizeInBytes(), 1);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(target.data(), source.Bits(), source.SizeInBytes());
        benchmark::DoNotOptimize(target.data());
        state.SetIterationTime(Seconds(t0));
    }
    state.counters["x_memcpy"] = 1.0;
}

void MemcpyThroughput(benchmark::State& state, const Bitmap& source) {
    std::vector<uint8_t> target(source.SizeInBytes(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), source.Bits(), source.SizeInBytes());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(source.SizeInBytes()));
}

}  // namespace lf::bench

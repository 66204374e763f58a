// What the benchmark programs share: a stopwatch for hand-timed runs and the plain memcpy of a
// picture's bytes that each program's figures are set beside.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "app/Document.h"
#include "platform/Bitmap.h"

namespace lf::bench {

// Seconds since t0 on the steady clock.
double Seconds(std::chrono::steady_clock::time_point t0);

// A memcpy of the picture's bytes into a buffer that already exists, for benchmarks registered
// with UseManualTime; its x_memcpy counter is 1 by definition.
void TimedMemcpy(benchmark::State& state, const Bitmap& source);

// The same memcpy timed by the library, reported as bytes per second.
void MemcpyThroughput(benchmark::State& state, const Bitmap& source);

// Times `work` on MainBitmap, which is put back to `original` before each run with a memcpy of
// the same bytes. That copy is timed too, so x_memcpy compares the work with a memcpy measured
// under the same load. For benchmarks registered with UseManualTime.
template <typename Work>
void TimeAgainstRestore(benchmark::State& state, const Bitmap& original, Work&& work) {
    MainBitmap = original;
    double total = 0, copies = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        std::memcpy(MainBitmap.Bits(), original.Bits(), original.SizeInBytes());
        benchmark::ClobberMemory();
        copies += Seconds(t0);
        SelectAll();
        t0 = std::chrono::steady_clock::now();
        work();
        const double t = Seconds(t0);
        total += t;
        state.SetIterationTime(t);
    }
    state.counters["memcpy_ms"] = copies / static_cast<double>(state.iterations()) * 1e3;
    state.counters["x_memcpy"] = total / copies;
}

}  // namespace lf::bench

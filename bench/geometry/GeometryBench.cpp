// Mirror, quarter turns and the 2 × nearest-neighbour enlargement on a 6000 × 4000 picture, each
// figure beside a plain memcpy of the same bytes (the picture's, or the enlargement's output)
// measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "app/Document.h"
#include "app/Geometry.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

lf::Bitmap Noise(int w, int h) {
    lf::Bitmap b(w, h);
    std::mt19937 random(1);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < 3 * w; ++x) row[x] = static_cast<uint8_t>(random());
    }
    return b;
}

const lf::Bitmap& Picture() {
    static const lf::Bitmap picture = Noise(kWidth, kHeight);
    return picture;
}
const lf::Bitmap& HalfPicture() {
    static const lf::Bitmap picture = Noise(kWidth / 2, kHeight / 2);
    return picture;
}

double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The best of a few plain copies of the picture's bytes into a buffer already touched. The
// enlargement's output has the same size as the picture, so one figure serves all.
double MemcpySeconds() {
    static const double seconds = [] {
        const lf::Bitmap& source = Picture();
        std::vector<uint8_t> target(source.SizeInBytes(), 1);
        double best = 1e9;
        for (int i = 0; i < 9; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            std::memcpy(target.data(), source.Bits(), source.SizeInBytes());
            benchmark::DoNotOptimize(target.data());
            best = std::min(best, Seconds(t0));
        }
        return best;
    }();
    return seconds;
}

template <typename Body>
void Timed(benchmark::State& state, Body body) {
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        body();
        const double t = Seconds(t0);
        total += t;
        state.SetIterationTime(t);
    }
    state.counters["x_memcpy"] = total / static_cast<double>(state.iterations()) / MemcpySeconds();
}

void BM_Memcpy(benchmark::State& state) {
    const lf::Bitmap& source = Picture();
    std::vector<uint8_t> target(source.SizeInBytes(), 1);
    Timed(state, [&] {
        std::memcpy(target.data(), source.Bits(), source.SizeInBytes());
        benchmark::DoNotOptimize(target.data());
    });
}

// The same copy into a buffer allocated for the run, as a command that builds a new picture has
// it: on this machine the first touch of fresh pages costs far more than the copy itself.
void BM_MemcpyFresh(benchmark::State& state) {
    const lf::Bitmap& source = Picture();
    Timed(state, [&] {
        std::unique_ptr<uint8_t[]> target(new uint8_t[source.SizeInBytes()]);
        std::memcpy(target.get(), source.Bits(), source.SizeInBytes());
        benchmark::DoNotOptimize(target.get());
    });
}

// In place, so the runs simply alternate the picture between two states.
void BM_Mirror(benchmark::State& state, bool vertical) {
    lf::Bitmap picture = Picture();
    Timed(state, [&] {
        lf::MirrorPicture(picture, vertical);
        benchmark::DoNotOptimize(picture.Bits());
    });
}

// The kernel into a buffer that already exists, as the memcpy writes one.
void BM_RotateKernel(benchmark::State& state, bool right) {
    lf::Bitmap turned;
    lf::RotatePicture(Picture(), turned, right);
    Timed(state, [&] {
        lf::RotatePicture(Picture(), turned, right);
        benchmark::DoNotOptimize(turned.Bits());
    });
}

// The whole routine over the document: a fresh picture buffer every time, as the command has.
void BM_RotateCommand(benchmark::State& state, bool right) {
    lf::MainBitmap = Picture();
    Timed(state, [&] {
        lf::Rotate(right);
        benchmark::DoNotOptimize(lf::MainBitmap.Bits());
    });
}

void BM_Enlarge2x(benchmark::State& state) {
    lf::Bitmap target(kWidth, kHeight);
    Timed(state, [&] {
        lf::StretchPicture(HalfPicture(), target);
        benchmark::DoNotOptimize(target.Bits());
    });
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Picture();
    HalfPicture();
    MemcpySeconds();
    auto add = [](const char* name, auto fn, auto... args) {
        benchmark::RegisterBenchmark(name, fn, args...)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    };
    add("memcpy_72MB", BM_Memcpy);
    add("memcpy_72MB_fresh_buffer", BM_MemcpyFresh);
    add("mirror_horizontal", BM_Mirror, false);
    add("mirror_vertical", BM_Mirror, true);
    add("rotate_left_kernel", BM_RotateKernel, false);
    add("rotate_right_kernel", BM_RotateKernel, true);
    add("rotate_left_command", BM_RotateCommand, false);
    add("rotate_right_command", BM_RotateCommand, true);
    add("enlarge_2x_nearest", BM_Enlarge2x);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

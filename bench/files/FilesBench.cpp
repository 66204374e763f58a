// Opening and saving a 6000 × 4000 photograph-like picture as JPEG and BMP, in memory and
// through files, each beside a plain memcpy of the picture's bytes measured in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Photo.h"
#include "platform/Bitmap.h"
#include "platform/BmpCodec.h"
#include "platform/JpegCodec.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

const lf::Bitmap& Photo() {
    static const lf::Bitmap picture = lf::bench::MakePhoto(kWidth, kHeight);
    return picture;
}

const std::vector<uint8_t>& Encoded(bool jpeg) {
    static const std::vector<uint8_t> bmpFile = [] {
        std::vector<uint8_t> f;
        lf::WriteBmp(Photo(), f);
        return f;
    }();
    static const std::vector<uint8_t> jpegFile = [] {
        std::vector<uint8_t> f;
        lf::WriteJpeg(Photo(), f);
        return f;
    }();
    return jpeg ? jpegFile : bmpFile;
}

std::string TempPath(const char* name) {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumaforge-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return dir + "/" + name;
}

void SetPictureBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Photo().SizeInBytes()));
}

void BM_MemcpyOfThePicture(benchmark::State& state) { lf::bench::MemcpyThroughput(state, Photo()); }

void BM_DecodeJpeg(benchmark::State& state) {
    const std::vector<uint8_t>& file = Encoded(true);
    for (auto _ : state) benchmark::DoNotOptimize(lf::ReadJpeg(file));
    SetPictureBytes(state);
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

void BM_EncodeJpeg(benchmark::State& state) {
    std::vector<uint8_t> file;
    for (auto _ : state) {
        lf::WriteJpeg(Photo(), file);
        benchmark::DoNotOptimize(file.data());
    }
    SetPictureBytes(state);
}

void BM_DecodeBmp(benchmark::State& state) {
    const std::vector<uint8_t>& file = Encoded(false);
    for (auto _ : state) benchmark::DoNotOptimize(lf::ReadBmp(file));
    SetPictureBytes(state);
}

void BM_EncodeBmp(benchmark::State& state) {
    std::vector<uint8_t> file;
    for (auto _ : state) {
        lf::WriteBmp(Photo(), file);
        benchmark::DoNotOptimize(file.data());
    }
    SetPictureBytes(state);
}

// Through the file system: the save includes the fsync that makes the replacement safe.
void BM_OpenJpegFile(benchmark::State& state) {
    const std::string path = TempPath("photo.jpg");
    lf::SaveJpegFile(Photo(), path);
    for (auto _ : state) benchmark::DoNotOptimize(lf::LoadJpegFile(path));
    SetPictureBytes(state);
}

void BM_SaveJpegFile(benchmark::State& state) {
    const std::string path = TempPath("saved.jpg");
    for (auto _ : state) lf::SaveJpegFile(Photo(), path);
    SetPictureBytes(state);
}

void BM_OpenBmpFile(benchmark::State& state) {
    const std::string path = TempPath("photo.bmp");
    lf::SaveBmpFile(Photo(), path);
    for (auto _ : state) benchmark::DoNotOptimize(lf::LoadBmpFile(path));
    SetPictureBytes(state);
}

void BM_SaveBmpFile(benchmark::State& state) {
    const std::string path = TempPath("saved.bmp");
    for (auto _ : state) lf::SaveBmpFile(Photo(), path);
    SetPictureBytes(state);
}

BENCHMARK(BM_MemcpyOfThePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenJpegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveJpegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenBmpFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBmpFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::path(TempPath("x")).parent_path());
    return 0;
}

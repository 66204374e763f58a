// Every filter command on a 6000 × 4000 picture with the whole picture selected, each figure
// beside a plain memcpy of the selection's bytes measured in the same run (one read and one
// write of the selection: the least any filter can cost).
#include <benchmark/benchmark.h>

#include <random>

#include "BenchSupport.h"
#include "app/Document.h"
#include "filters/FilterCommands.h"
#include "filters/Filters.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

const lf::Bitmap& Original() {
    static const lf::Bitmap picture = [] {
        lf::Bitmap b(kWidth, kHeight);
        std::mt19937 random(1);
        // A photo-like picture: smooth gradients with grain, so no channel is flat and the
        // edge finder has edges.
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < kWidth; ++x) {
                const int grain = static_cast<int>(random() % 32);
                row[3 * x] = static_cast<uint8_t>((x / 24 + grain) & 255);
                row[3 * x + 1] = static_cast<uint8_t>((y / 16 + grain) & 255);
                row[3 * x + 2] = static_cast<uint8_t>(((x + y) / 40 + grain) & 255);
            }
        }
        return b;
    }();
    return picture;
}

void BM_Memcpy(benchmark::State& state) { lf::bench::TimedMemcpy(state, Original()); }

// One command's stages (no undo snapshot, no redraw: the filter work alone). Between runs the
// picture is put back with a memcpy of the same bytes, timed too: the ratio to it is measured
// under the same load as the command.
void BM_Command(benchmark::State& state, const char* component) {
    const lf::FilterCommand* command = lf::FindFilterCommand(component);
    lf::bench::TimeAgainstRestore(state, Original(), [command] {
        for (const lf::Stage& stage : command->stages) stage();
    });
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("memcpy", BM_Memcpy)->UseManualTime()->Unit(benchmark::kMillisecond);
    for (const lf::FilterCommand& command : lf::FilterCommands()) {
        benchmark::RegisterBenchmark(command.component, BM_Command, command.component)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.3);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

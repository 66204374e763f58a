// Writes the benchmarks' photograph-like picture as a binary PPM to standard output, for the
// side-by-side comparison with other image tools: files_makephoto WIDTH HEIGHT > photo.ppm
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Photo.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT > picture.ppm\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    const lf::Bitmap photo = lf::bench::MakePhoto(width, height);
    std::printf("P6\n%d %d\n255\n", width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = photo.ScanLine(y);
        for (int x = 0; x < width; ++x) {  // PPM rows are red, green, blue
            row[3 * x] = p[3 * x + 2];
            row[3 * x + 1] = p[3 * x + 1];
            row[3 * x + 2] = p[3 * x];
        }
        std::fwrite(row.data(), 1, row.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

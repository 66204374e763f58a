// Test helpers.
#include "support/TestData.h"

#include <cstdlib>
#include <random>
#include <sstream>
#include <stdexcept>

namespace lf::test {

std::filesystem::path TestDataDir() {
    std::filesystem::path dir;
    if (const char* env = std::getenv("LUMAFORGE_TESTDATA"); env && *env) dir = env;
    else dir = LUMAFORGE_TESTDATA;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return {};
    return dir;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumaforge-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

Bitmap MakePicture(int width, int height, std::initializer_list<uint32_t> pixels) {
    if (pixels.size() != static_cast<size_t>(width) * height)
        throw std::invalid_argument("MakePicture: wrong pixel count");
    Bitmap b(width, height);
    auto it = pixels.begin();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.SetPixel(x, y, *it++);
    return b;
}

Bitmap SolidPicture(int width, int height, uint32_t color) {
    Bitmap b(width, height);
    b.Fill(Rect(0, 0, width, height), color);
    return b;
}

Bitmap RandomPicture(int width, int height, uint32_t seed) {
    Bitmap b(width, height);
    std::mt19937 gen(seed);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < width * 3; ++x) row[x] = static_cast<uint8_t>(gen());
    }
    return b;
}

std::string Describe(const Bitmap& picture) {
    std::ostringstream out;
    out << picture.Width() << " x " << picture.Height() << "\n";
    for (int y = 0; y < picture.Height() && y < 16; ++y) {
        for (int x = 0; x < picture.Width() && x < 16; ++x) {
            const uint32_t c = picture.Pixel(x, y);
            out << "(" << int(GetR(c)) << "," << int(GetG(c)) << "," << int(GetB(c)) << ") ";
        }
        out << "\n";
    }
    return out.str();
}

}  // namespace lf::test

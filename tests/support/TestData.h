// Test helpers: the shared test data folder, temporary folders and small pictures.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

#include "platform/Bitmap.h"

namespace lf::test {

// ../shared/testdata beside the checkout, or empty when it is absent (tests then skip).
std::filesystem::path TestDataDir();
#define LF_REQUIRE_TESTDATA()                                                              \
    do {                                                                                   \
        if (::lf::test::TestDataDir().empty()) GTEST_SKIP() << "../shared/testdata is absent"; \
    } while (0)

// A fresh empty folder below the system's temporary folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A picture whose pixels are given row by row as $00BBGGRR values.
Bitmap MakePicture(int width, int height, std::initializer_list<uint32_t> pixels);
// A picture filled with one colour.
Bitmap SolidPicture(int width, int height, uint32_t color);
// A deterministic picture of pseudo-random pixels.
Bitmap RandomPicture(int width, int height, uint32_t seed);

// Every pixel as "(r,g,b)" rows, for readable failure messages.
std::string Describe(const Bitmap& picture);

}  // namespace lf::test

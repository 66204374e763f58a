// The damaged files found by fuzzing: each one gives a picture or the program's error, never a
// crash, a hang or a read out of bounds (this also runs under the address sanitizer).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/BmpCodec.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/JpegCodec.h"
#include "support/TestData.h"

namespace lf {
namespace {

namespace fs = std::filesystem;

// Empty when the reader gave a picture with pixels or refused with the program's error.
template <typename Reader>
std::string Survive(Reader read, const std::vector<uint8_t>& file) {
    try {
        const Bitmap picture = read(file);
        if (picture.Empty()) return "an empty picture";
    } catch (const Error& e) {
        if (std::string(e.what()).empty()) return "an error without a message";
    } catch (const std::exception& e) {
        return std::string("a foreign exception: ") + e.what();
    }
    return "";
}

void SurviveFolder(const std::string& folder) {
    const fs::path dir = test::TestDataDir() / "fuzzcases" / folder;
    ASSERT_TRUE(fs::is_directory(dir)) << dir;
    const auto bmp = [](const std::vector<uint8_t>& f) { return ReadBmp(f); };
    const auto jpeg = [](const std::vector<uint8_t>& f) { return ReadJpeg(f); };
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        const std::vector<uint8_t> file = ReadWholeFile(entry.path().string());
        // Both readers: a file of either kind may reach either one through its name.
        EXPECT_EQ(Survive(bmp, file), "") << "BMP reader on " << entry.path();
        EXPECT_EQ(Survive(jpeg, file), "") << "JPEG reader on " << entry.path();
    }
}

TEST(DamagedFiles, DamagedBitmapsGiveAPictureOrAnError) {
    LF_REQUIRE_TESTDATA();
    SurviveFolder("bmp");
}

TEST(DamagedFiles, DamagedJpegsGiveAPictureOrAnError) {
    LF_REQUIRE_TESTDATA();
    SurviveFolder("jpeg");
}

}  // namespace
}  // namespace lf

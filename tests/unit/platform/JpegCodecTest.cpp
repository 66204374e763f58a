// The JPEG reader and writer: libjpeg's exact accurate decoding, grey and ink files, damaged
// and oversized files, and what the writer puts in its files.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/JpegCodec.h"
#include "support/TestData.h"

namespace lf {
namespace {

// A binary PPM (P6, maxval 255) as a picture.
Bitmap ReadPpm(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64)));
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    header >> magic >> width >> height >> maxval;
    if (magic != "P6" || maxval != 255) throw std::runtime_error("not a P6 file: " + path);
    const size_t start = static_cast<size_t>(header.tellg()) + 1;
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &bytes.at(start + (static_cast<size_t>(y) * width + x) * 3);
            picture.SetPixel(x, y, RGB(p[0], p[1], p[2]));
        }
    return picture;
}

std::string ReadError(const std::vector<uint8_t>& file) {
    try {
        ReadJpeg(file);
    } catch (const Error& e) {
        return e.what();
    }
    return "(loaded)";
}

int LargestDifference(const Bitmap& a, const Bitmap& b) {
    int largest = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width() * 3; ++x)
            largest = std::max(largest, std::abs(a.ScanLine(y)[x] - b.ScanLine(y)[x]));
    return largest;
}

// Smooth colour gradients, the kind of picture JPEG is made for.
Bitmap Gradient(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(
                x, y,
                RGB(static_cast<uint8_t>(x * 255 / width), static_cast<uint8_t>(y * 255 / height),
                    static_cast<uint8_t>((x + y) * 127 / (width + height) + 64)));
    return picture;
}

// A square file of one colour, written by libjpeg in the given colour space with its defaults
// and then whatever `tune` changes.
std::vector<uint8_t> LibjpegFile(int size, J_COLOR_SPACE space, const std::vector<uint8_t>& sample,
                                 const std::function<void(jpeg_compress_struct&)>& tune) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&cinfo, &buffer, &length);
    cinfo.image_width = cinfo.image_height = static_cast<JDIMENSION>(size);
    cinfo.input_components = static_cast<int>(sample.size());
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    tune(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row;
    for (int i = 0; i < size; ++i) row.insert(row.end(), sample.begin(), sample.end());
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(buffer, buffer + length);
    std::free(buffer);
    return file;
}

// A 16 × 16 file of one colour at the best quality, so the decoded colour can be compared exactly.
std::vector<uint8_t> SolidJpeg(J_COLOR_SPACE space, std::vector<uint8_t> sample, bool adobeMarker) {
    return LibjpegFile(16, space, sample, [adobeMarker](jpeg_compress_struct& cinfo) {
        jpeg_set_quality(&cinfo, 100, TRUE);
        cinfo.write_Adobe_marker = adobeMarker;
    });
}

TEST(JpegReader, DecodesTheReferenceFilesExactly) {
    LF_REQUIRE_TESTDATA();
    const auto folder = test::TestDataDir() / "jpeg";
    for (const char* name : {"testorig", "testimgint", "testimgari"}) {  // baseline, progressive, arithmetic
        SCOPED_TRACE(name);
        const Bitmap got = LoadJpegFile((folder / (std::string(name) + ".jpg")).string());
        const Bitmap want = ReadPpm((folder / (std::string(name) + "-decoded.ppm")).string());
        ASSERT_EQ(got.Width(), want.Width());
        ASSERT_EQ(got.Height(), want.Height());
        EXPECT_EQ(LargestDifference(got, want), 0);
    }
}

TEST(JpegReader, RefusesTwelveBitFiles) {
    LF_REQUIRE_TESTDATA();
    const std::string error =
        ReadError(ReadWholeFile((test::TestDataDir() / "jpeg" / "monkey12.jpg").string()));
    EXPECT_EQ(error, "Invalid JPEG file: Unsupported JPEG data precision 12");
}

TEST(JpegReader, GreyAndInkFilesBecomeColour) {
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        uint32_t want;
    } const cases[] = {
        {"grey", SolidJpeg(JCS_GRAYSCALE, {100}, false), RGB(100, 100, 100)},
        // Adobe's inverted inks: 255 is no ink. Cyan 255 and key 255 leave red full.
        {"Adobe CMYK", SolidJpeg(JCS_CMYK, {255, 128, 0, 255}, true), RGB(255, 128, 0)},
        {"Adobe CMYK with key", SolidJpeg(JCS_CMYK, {255, 255, 255, 128}, true), RGB(128, 128, 128)},
        // Without Adobe's marker the inks are plain: 0 is no ink.
        {"plain CMYK", SolidJpeg(JCS_CMYK, {0, 127, 255, 0}, false), RGB(255, 128, 0)},
        {"plain CMYK with key", SolidJpeg(JCS_CMYK, {0, 0, 0, 127}, false), RGB(128, 128, 128)},
    };
    for (const Case& c : cases) {
        const Bitmap got = ReadJpeg(c.file);
        ASSERT_EQ(got.Width(), 16) << c.name;
        const uint32_t p = got.Pixel(7, 7);
        EXPECT_LE(std::abs(GetR(p) - GetR(c.want)), 1) << c.name << ": " << test::Describe(got);
        EXPECT_LE(std::abs(GetG(p) - GetG(c.want)), 1) << c.name;
        EXPECT_LE(std::abs(GetB(p) - GetB(c.want)), 1) << c.name;
    }
}

TEST(JpegReader, ATruncatedFileLoadsAsLibjpegDecodesIt) {
    const Bitmap picture = test::RandomPicture(64, 64, 5);
    std::vector<uint8_t> file;
    WriteJpeg(picture, file);
    const Bitmap whole = ReadJpeg(file);
    // Cut inside the coded rows: libjpeg only warns; the rows it had data for are the same as in
    // the whole file, and the rest are defined (libjpeg fills them in).
    std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(file.size() * 6 / 10));
    const Bitmap partial = ReadJpeg(cut);
    ASSERT_EQ(partial.Width(), 64);
    ASSERT_EQ(partial.Height(), 64);
    Bitmap top(64, 16), wholeTop(64, 16);
    top.Draw(0, 0, partial);
    wholeTop.Draw(0, 0, whole);
    EXPECT_EQ(top, wholeTop);
    EXPECT_NE(partial, whole);
}

TEST(JpegReader, DamagedFilesAreRefusedWithLibjpegsReason) {
    std::vector<uint8_t> file;
    WriteJpeg(Gradient(32, 32), file);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* error;
    };
    std::vector<Case> cases = {
        {"empty", {}, "Invalid JPEG file: the file is empty"},
        {"not a JPEG", {'B', 'M', 0, 0, 0, 0}, "Invalid JPEG file: Not a JPEG file: starts with 0x42 0x4d"},
        {"cut before the frame", std::vector<uint8_t>(file.begin(), file.begin() + 100),
         "Invalid JPEG file: JPEG datastream contains no image"},
    };
    // A frame header with no components.
    std::vector<uint8_t> noComponents = file;
    for (size_t i = 0; i + 1 < noComponents.size(); ++i)
        if (noComponents[i] == 0xFF && noComponents[i + 1] == 0xC0) {
            noComponents[i + 9] = 0;
            break;
        }
    cases.push_back(
        {"no components", noComponents, "Invalid JPEG file: Empty JPEG image (DNL not supported)"});
    for (const Case& c : cases) EXPECT_EQ(ReadError(c.bytes), c.error) << c.name;
}

TEST(JpegReader, AHugeDeclaredSizeIsRefusedBeforeDecoding) {
    std::vector<uint8_t> file;
    WriteJpeg(Gradient(8, 8), file);
    for (size_t i = 0; i + 8 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = 65000 >> 8, file[i + 6] = 65000 & 255;  // height
            file[i + 7] = 65000 >> 8, file[i + 8] = 65000 & 255;  // width
            break;
        }
    EXPECT_EQ(ReadError(file).rfind("Picture too large: 65000 x 65000", 0), 0u) << ReadError(file);
}

TEST(JpegReader, AFileNeedingTooMuchWorkingMemoryIsRefused) {
    // A progressive 4:4:4 frame keeps every coefficient: 16000 × 16000 would need 1.5 GB, more
    // than libjpeg may take, although the picture itself is within the size limit.
    std::vector<uint8_t> file = LibjpegFile(8, JCS_RGB, {128, 128, 128}, [](jpeg_compress_struct& cinfo) {
        for (int c = 0; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
        jpeg_simple_progression(&cinfo);
    });
    bool patched = false;
    for (size_t i = 0; i + 8 < file.size() && !patched; ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC2) {  // progressive frame header
            file[i + 5] = 16000 >> 8, file[i + 6] = 16000 & 255;
            file[i + 7] = 16000 >> 8, file[i + 8] = 16000 & 255;
            patched = true;
        }
    ASSERT_TRUE(patched);
    EXPECT_EQ(ReadError(file), "Not enough memory to decode the JPEG file (Backing store not supported)");
}

TEST(JpegWriter, WritesBaselineSequentialColourAtQualityNinety) {
    const Bitmap picture = Gradient(64, 48);
    std::vector<uint8_t> file;
    WriteJpeg(picture, file);

    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
    EXPECT_EQ(cinfo.image_width, 64u);
    EXPECT_EQ(cinfo.image_height, 48u);
    EXPECT_EQ(cinfo.num_components, 3);
    EXPECT_EQ(cinfo.jpeg_color_space, JCS_YCbCr);
    EXPECT_FALSE(cinfo.progressive_mode);
    EXPECT_FALSE(cinfo.arith_code);
    // Quality 90 scales the standard tables to 20 %: the luminance DC step 16 becomes 3 and
    // the chrominance one 17 becomes 3; every step fits a baseline table.
    ASSERT_NE(cinfo.quant_tbl_ptrs[0], nullptr);
    EXPECT_EQ(cinfo.quant_tbl_ptrs[0]->quantval[0], 3);
    EXPECT_EQ(cinfo.quant_tbl_ptrs[1]->quantval[0], 3);
    EXPECT_EQ(cinfo.quant_tbl_ptrs[0]->quantval[63], 20);  // 99 × 20 % rounded
    jpeg_destroy_decompress(&cinfo);
    bool sof0 = false;
    for (size_t i = 0; i + 1 < file.size(); ++i) sof0 = sof0 || (file[i] == 0xFF && file[i + 1] == 0xC0);
    EXPECT_TRUE(sof0) << "no baseline frame marker";

    const Bitmap back = ReadJpeg(file);
    EXPECT_LE(LargestDifference(back, picture), 8);
}

TEST(JpegWriter, AFileThatCannotBeWrittenMidwayKeepsTheOldOne) {
    // Noise encodes to more than the save's write buffer, so the write fails while libjpeg is
    // still encoding.
    test::TempDir dir;
    const std::string path = dir.File("old.jpg");
    const std::vector<uint8_t> old = {1, 2, 3};
    WriteFileAtomically(path, old);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 65536;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error = "(saved)";
    try {
        SaveJpegFile(test::RandomPicture(1400, 1400, 4), path);
    } catch (const Error& e) {
        error = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(error, "Cannot write file " + path + ": File too large");
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1);

    // The same picture saves whole once the disk has room.
    SaveJpegFile(test::RandomPicture(1400, 1400, 4), path);
    std::vector<uint8_t> inMemory;
    WriteJpeg(test::RandomPicture(1400, 1400, 4), inMemory);
    EXPECT_GT(inMemory.size(), size_t{1} << 20);
    EXPECT_EQ(ReadWholeFile(path), inMemory);
}

TEST(JpegWriter, RefusesAnEmptyPicture) {
    std::vector<uint8_t> file;
    EXPECT_THROW(WriteJpeg(Bitmap(), file), Error);
}

}  // namespace
}  // namespace lf

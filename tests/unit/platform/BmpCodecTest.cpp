// The BMP reader on small files built field by field, its refusals, and the 24-bit writer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/BmpCodec.h"
#include "platform/Errors.h"
#include "support/TestData.h"

// The files below name only the fields they set; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace lf {
namespace {

using test::MakePicture;
using test::RandomPicture;

void Put(std::vector<uint8_t>& f, size_t at, uint32_t v, int bytes) {
    if (f.size() < at + bytes) f.resize(at + bytes);
    for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP file with the fields a test names; the rest as a plain writer sets them.
struct BmpFile {
    uint32_t headerSize = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t planes = 1;
    uint32_t bits = 8;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::vector<uint32_t> masks;    // after a 40-byte header, inside a longer one
    std::vector<uint32_t> palette;  // $00RRGGBB, written blue, green, red (and 0 unless core)
    std::vector<uint8_t> pixels;

    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> f(14 + headerSize, 0);
        f[0] = 'B', f[1] = 'M';
        const bool core = headerSize == 12;
        Put(f, 14, headerSize, 4);
        if (core) {
            Put(f, 18, width, 2), Put(f, 20, height, 2), Put(f, 22, planes, 2), Put(f, 24, bits, 2);
        } else {
            Put(f, 18, width, 4), Put(f, 22, height, 4), Put(f, 26, planes, 2), Put(f, 28, bits, 2);
            Put(f, 30, compression, 4), Put(f, 46, coloursUsed, 4);
        }
        size_t at = headerSize > 40 ? 14 + 40 : f.size();
        for (uint32_t m : masks) Put(f, at, m, 4), at += 4;
        at = std::max(at, f.size());
        for (uint32_t c : palette) {
            f.resize(at);
            f.push_back(static_cast<uint8_t>(c)), f.push_back(static_cast<uint8_t>(c >> 8));
            f.push_back(static_cast<uint8_t>(c >> 16));
            if (!core) f.push_back(0);
            at = f.size();
        }
        Put(f, 10, static_cast<uint32_t>(f.size()), 4);
        f.insert(f.end(), pixels.begin(), pixels.end());
        Put(f, 2, static_cast<uint32_t>(f.size()), 4);
        return f;
    }
};

std::string ReadError(const std::vector<uint8_t>& file) {
    try {
        ReadBmp(file);
    } catch (const Error& e) {
        return e.what();
    }
    return "(loaded)";
}

constexpr uint32_t kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kWhite = RGB(255, 255, 255), kBlack = 0;

TEST(BmpReader, PaletteDepthsAndRowOrder) {
    // Palette as the file holds it, $00RRGGBB; the expected picture as $00BBGGRR.
    const std::vector<uint32_t> four = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const Bitmap expected = MakePicture(3, 2, {kRed, kGreen, kBlue, kWhite, kBlack, kRed});
    struct Case {
        const char* name;
        BmpFile file;
        Bitmap want;
    };
    std::vector<Case> cases;
    // Bottom-up: the file's first row is the picture's bottom row. Rows padded to 4 bytes.
    cases.push_back({"8 bits",
                     {.width = 3,
                      .height = 2,
                      .bits = 8,
                      .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                      .pixels = {4, 0, 1, 0, 1, 2, 3, 0}},
                     expected});
    cases.push_back({"8 bits top-down",
                     {.width = 3,
                      .height = -2,
                      .bits = 8,
                      .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                      .pixels = {1, 2, 3, 0, 4, 0, 1, 0}},
                     expected});
    cases.push_back({"4 bits",
                     {.width = 3,
                      .height = 2,
                      .bits = 4,
                      .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                      .pixels = {0x40, 0x10, 0, 0, 0x12, 0x30, 0, 0}},
                     expected});
    cases.push_back({"2 bits",
                     {.width = 3,
                      .height = 2,
                      .bits = 2,
                      .palette = four,
                      .pixels = {0b00'00'01'00, 0, 0, 0, 0b01'10'11'00, 0, 0, 0}},
                     MakePicture(3, 2, {kRed, kGreen, kBlue, kBlack, kBlack, kRed})});
    cases.push_back(
        {"1 bit, leftmost pixel in the high bit",
         {.width = 10,
          .height = 1,
          .bits = 1,
          .palette = {0x000000, 0xFFFFFF},
          .pixels = {0b1010'0000, 0b0100'0000, 0, 0}},
         MakePicture(10, 1,
                     {kWhite, kBlack, kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite})});
    cases.push_back({"core header, 3-byte palette",
                     {.headerSize = 12,
                      .width = 3,
                      .height = 2,
                      .bits = 8,
                      .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                      .pixels = {4, 0, 1, 0, 1, 2, 3, 0}},
                     expected});
    cases.push_back(
        {"24 bits",
         {.width = 3, .height = 2, .bits = 24, .pixels = {255, 255, 255, 0, 0,   0, 0,   0, 255, 0, 0, 0,  //
                                                          0,   0,   255, 0, 255, 0, 255, 0, 0,   0, 0, 0}},
         expected});
    cases.push_back(
        {"32 bits, default layout",
         {.width = 3, .height = 1, .bits = 32, .pixels = {0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9}},
         MakePicture(3, 1, {kRed, kGreen, kBlue})});
    cases.push_back({"V5 header",
                     {.headerSize = 124,
                      .width = 3,
                      .height = 2,
                      .bits = 8,
                      .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                      .pixels = {4, 0, 1, 0, 1, 2, 3, 0}},
                     expected});
    for (const Case& c : cases) {
        const Bitmap got = ReadBmp(c.file.Build());
        EXPECT_EQ(got, c.want) << c.name << "\n" << test::Describe(got);
    }
}

TEST(BmpReader, BitFieldsScaleEveryWidthByRounding) {
    // 16 bits 5-6-5, 32 bits 10-10-10 and the default 5-5-5 16-bit layout. A 10-bit 3 is
    // 3 × 255 / 1023 = 0.75, so 1 (a shift would give 0); a 6-bit 32 is 129.5... → 130.
    struct Case {
        const char* name;
        BmpFile file;
        uint32_t want;
    } const cases[] = {
        {"565 white",
         {.width = 1,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = {0xFF, 0xFF, 0, 0}},
         RGB(255, 255, 255)},
        {"565 halves",
         {.width = 1,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = {0x09, 0x84, 0, 0}},  // red 16, green 32, blue 9
         RGB(132, 130, 74)},
        {"555 default",
         {.width = 1, .height = 1, .bits = 16, .pixels = {0x1F, 0x7C, 0, 0}},  // red 31, blue 31
         RGB(255, 0, 255)},
        {"10-10-10 in a V4 header",
         {.headerSize = 108,
          .width = 1,
          .height = 1,
          .bits = 32,
          .compression = 3,
          .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
          .pixels = {0x03, 0x00, 0xF0, 0x3F}},  // red 1023, green 0, blue 3
         RGB(255, 0, 1)},
        {"no blue bits",
         {.width = 1,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .masks = {0xFF00, 0x00FF, 0},
          .pixels = {0x80, 0xFF, 0, 0}},
         RGB(255, 128, 0)},
    };
    for (const Case& c : cases) {
        const Bitmap got = ReadBmp(c.file.Build());
        ASSERT_EQ(got.Width(), 1) << c.name;
        EXPECT_EQ(got.Pixel(0, 0), c.want) << c.name << ": " << test::Describe(got);
    }
}

TEST(BmpReader, RunLengthCodes) {
    const std::vector<uint32_t> palette = {0x808080, 0xFF0000, 0x00FF00, 0x0000FF};
    const uint32_t kGrey = RGB(128, 128, 128);
    // Bottom row: a run of 2 reds, a literal run of 3 (padded), end of line. Middle row: a delta
    // of 2 right and 1 up, skipping the rest of it and the start of the top row, one blue, end.
    BmpFile rle8{.width = 5,
                 .height = 3,
                 .bits = 8,
                 .compression = 1,
                 .palette = palette,
                 .pixels = {2, 1, 0, 3, 3, 2, 0, 0, 0, 0, 0, 2, 2, 1, 1, 3, 0, 1}};
    const Bitmap want8 = MakePicture(5, 3,
                                     {kBlack, kBlack, kBlue, kBlack, kBlack,   //
                                      kBlack, kBlack, kBlack, kBlack, kBlack,  //
                                      kRed, kRed, kBlue, kGreen, kGrey});
    EXPECT_EQ(ReadBmp(rle8.Build()), want8) << test::Describe(ReadBmp(rle8.Build()));

    // RLE4: a run alternates the two nibbles' colours; a literal run of 3 nibbles.
    BmpFile rle4{.width = 5,
                 .height = 1,
                 .bits = 4,
                 .compression = 2,
                 .palette = palette,
                 .pixels = {2, 0x12, 0, 3, 0x30, 0x10, 0, 1}};
    EXPECT_EQ(ReadBmp(rle4.Build()), MakePicture(5, 1, {kRed, kGreen, kBlue, kGrey, kRed}));
}

TEST(BmpReader, BrokenRunLengthDataIsRefused) {
    const std::vector<uint32_t> palette = {0, 0xFFFFFF};
    struct Case {
        const char* name;
        std::vector<uint8_t> codes;
        const char* error;
    } const cases[] = {
        {"run past the end of the row", {5, 1, 0, 1}, "Invalid bitmap: bad RLE data"},
        {"literal run past the end of the row",
         {0, 5, 1, 1, 1, 1, 1, 0, 0, 1},
         "Invalid bitmap: bad RLE data"},
        {"delta beyond the picture", {0, 2, 9, 0, 0, 1}, "Invalid bitmap: bad RLE data"},
        {"pixels above the top row", {4, 1, 0, 0, 4, 1, 0, 0, 1, 1, 0, 1}, "Invalid bitmap: bad RLE data"},
        {"colour beyond the palette", {2, 7, 0, 1}, "Invalid bitmap: palette index out of range"},
        {"data ends in the first row", {2, 1}, "Invalid bitmap: the file is truncated"},
        {"literal run cut short", {0, 4, 1, 1}, "Invalid bitmap: the file is truncated"},
    };
    for (const Case& c : cases) {
        BmpFile file{
            .width = 4, .height = 2, .bits = 8, .compression = 1, .palette = palette, .pixels = c.codes};
        EXPECT_EQ(ReadError(file.Build()), c.error) << c.name;
    }
    // A missing end-of-picture code after the last pixel is forgiven.
    BmpFile complete{
        .width = 2, .height = 1, .bits = 8, .compression = 1, .palette = palette, .pixels = {2, 1}};
    EXPECT_EQ(ReadBmp(complete.Build()), MakePicture(2, 1, {kWhite, kWhite}));
}

TEST(BmpReader, HeaderFieldsThatCannotBeReadAreRefused) {
    const BmpFile good{
        .width = 2, .height = 2, .bits = 8, .palette = {0, 0xFFFFFF}, .pixels = {0, 1, 0, 0, 1, 0, 0, 0}};
    ASSERT_EQ(ReadError(good.Build()), "(loaded)");
    struct Case {
        const char* name;
        void (*change)(BmpFile&);
        const char* error;
    } const cases[] = {
        {"no planes", [](BmpFile& f) { f.planes = 0; }, "Invalid bitmap: bad number of planes (0)"},
        {"7 bits", [](BmpFile& f) { f.bits = 7; }, "Invalid bitmap: unsupported bit depth 7"},
        {"unknown compression", [](BmpFile& f) { f.compression = 9; },
         "Invalid bitmap: unsupported compression"},
        {"JPEG inside", [](BmpFile& f) { f.compression = 4; },
         "Invalid bitmap: unsupported compression (JPEG)"},
        {"RLE8 on 4 bits", [](BmpFile& f) { f.compression = 1, f.bits = 4; },
         "Invalid bitmap: RLE compression with a bit depth of 4"},
        {"zero width", [](BmpFile& f) { f.width = 0; }, "Invalid bitmap: bad picture size"},
        {"negative width", [](BmpFile& f) { f.width = -2; }, "Invalid bitmap: bad picture size"},
        {"zero height", [](BmpFile& f) { f.height = 0; }, "Invalid bitmap: bad picture size"},
        {"rows missing", [](BmpFile& f) { f.height = 3; }, "Invalid bitmap: the file is truncated"},
        {"header size 8", [](BmpFile& f) { f.headerSize = 8; }, "Invalid bitmap: unsupported header size 8"},
        {"no palette", [](BmpFile& f) { f.palette.clear(); }, "Invalid bitmap: the palette is missing"},
        {"index beyond a short palette", [](BmpFile& f) { f.pixels[1] = 2; },
         "Invalid bitmap: palette index out of range"},
        {"overlapping bit fields",
         [](BmpFile& f) {
             f.bits = 16, f.compression = 3, f.palette.clear(), f.masks = {0xF800, 0x0FE0, 0x001F};
         },
         "Invalid bitmap: bad bit fields"},
        {"scattered bit fields",
         [](BmpFile& f) {
             f.bits = 16, f.compression = 3, f.palette.clear(), f.masks = {0xF801, 0x07E0, 0x001E};
         },
         "Invalid bitmap: bad bit fields"},
        {"16-bit fields beyond 16 bits",
         [](BmpFile& f) {
             f.bits = 16, f.compression = 3, f.palette.clear(), f.masks = {0xF8000, 0x07E0, 0x001F};
         },
         "Invalid bitmap: bad bit fields"},
    };
    for (const Case& c : cases) {
        BmpFile file = good;
        c.change(file);
        EXPECT_EQ(ReadError(file.Build()), c.error) << c.name;
    }

    std::vector<uint8_t> bytes = good.Build();
    bytes[0] = 'P';
    EXPECT_EQ(ReadError(bytes), "Invalid bitmap: not a BMP file");
    bytes = good.Build();
    Put(bytes, 10, 20, 4);  // pixels inside the header
    EXPECT_EQ(ReadError(bytes), "Invalid bitmap: bad pixel data offset");
    Put(bytes, 10, 5000, 4);  // pixels beyond the end
    EXPECT_EQ(ReadError(bytes), "Invalid bitmap: the file is truncated");
}

TEST(BmpReader, EveryCutOfAFileIsRefused) {
    std::vector<uint8_t> file;
    WriteBmp(RandomPicture(7, 5, 3), file);
    for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{13}, size_t{14}, size_t{17}, size_t{30},
                          size_t{53}, size_t{54}, size_t{60}, file.size() - 1}) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(length));
        const std::string error = ReadError(cut);
        EXPECT_EQ(error.rfind("Invalid bitmap: ", 0), 0u) << length << " bytes: " << error;
    }
}

TEST(BmpReader, AHugeDeclaredSizeIsRefusedBeforeReadingOn) {
    // 54 bytes declaring 65000 × 65000 at 24 bits (12 GB of pixels): refused by the size limit,
    // not by the missing rows and not by a failed allocation.
    BmpFile huge{.width = 65000, .height = 65000, .bits = 24};
    EXPECT_EQ(ReadError(huge.Build()).rfind("Picture too large", 0), 0u) << ReadError(huge.Build());
    BmpFile rle{
        .width = 65000, .height = 65000, .bits = 8, .compression = 1, .palette = {0}, .pixels = {0, 1}};
    EXPECT_EQ(ReadError(rle.Build()).rfind("Picture too large", 0), 0u);
}

TEST(BmpReader, RowPaddingHoldsNoStaleMemory) {
    for (int width = 1; width <= 3; ++width) {
        std::vector<uint8_t> file;
        WriteBmp(RandomPicture(width, 4, 9), file);
        {
            // Leave garbage where the decoded picture is likely to be allocated.
            Bitmap junk(width, 4);
            std::memset(junk.Bits(), 0xAB, junk.SizeInBytes());
        }
        const Bitmap got = ReadBmp(file);
        for (int y = 0; y < got.Height(); ++y)
            for (size_t i = static_cast<size_t>(width) * 3; i < got.Stride(); ++i)
                EXPECT_EQ(got.ScanLine(y)[i], 0) << "width " << width << " row " << y;
    }
}

TEST(BmpWriter, WritesAStandardBottomUpTwentyFourBitFile) {
    const Bitmap picture =
        MakePicture(5, 2,
                    {kRed, kGreen, kBlue, kWhite, kBlack,  //
                     RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), RGB(10, 11, 12), RGB(13, 14, 15)});
    std::vector<uint8_t> f;
    WriteBmp(picture, f);
    const auto u32 = [&](size_t at) {
        return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24;
    };
    const auto u16 = [&](size_t at) { return f[at] | f[at + 1] << 8; };
    ASSERT_EQ(f.size(), 54u + 2 * 16);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(u32(2), f.size());
    EXPECT_EQ(u32(10), 54u);    // pixel data offset
    EXPECT_EQ(u32(14), 40u);    // BITMAPINFOHEADER
    EXPECT_EQ(u32(18), 5u);     // width
    EXPECT_EQ(u32(22), 2u);     // positive height: bottom-up
    EXPECT_EQ(u16(26), 1);      // planes
    EXPECT_EQ(u16(28), 24);     // bits
    EXPECT_EQ(u32(30), 0u);     // uncompressed
    EXPECT_EQ(u32(34), 32u);    // image size
    EXPECT_EQ(u32(38), 2835u);  // 72 dpi
    EXPECT_EQ(u32(42), 2835u);
    EXPECT_EQ(u32(46), 0u);  // no palette
    // First stored row is the bottom one, blue-green-red, padded with one zero byte.
    const std::vector<uint8_t> bottom(f.begin() + 54, f.begin() + 70);
    EXPECT_EQ(bottom, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 0}));
    EXPECT_EQ(f[54 + 16], 0);  // top row's first pixel: red is 0, 0, 255
    EXPECT_EQ(f[54 + 18], 255);
    EXPECT_EQ(f.back(), 0);
}

TEST(BmpWriter, RoundTripsExactlyAtEveryRowPadding) {
    for (int width = 1; width <= 8; ++width) {
        const Bitmap picture = RandomPicture(width, 3, static_cast<uint32_t>(width));
        std::vector<uint8_t> file;
        WriteBmp(picture, file);
        EXPECT_EQ(ReadBmp(file), picture) << "width " << width;
    }
    std::vector<uint8_t> file;
    EXPECT_THROW(WriteBmp(Bitmap(), file), Error);
}

}  // namespace
}  // namespace lf

// The BMP reader against the bmpsuite conformance files: good files equal their reference
// pictures, questionable ones load sensibly or are refused clearly, bad ones are refused.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "platform/BmpCodec.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "support/TestData.h"

namespace lf {
namespace {

namespace fs = std::filesystem;

fs::path Suite() { return test::TestDataDir() / "bmpsuite"; }

std::map<std::string, std::string> References() {
    std::map<std::string, std::string> references;
    std::ifstream table(Suite() / "reference.tsv");
    std::string bmp, png;
    while (table >> bmp >> png) references[bmp] = png;
    return references;
}

std::vector<std::string> FilesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Suite() / folder))
        if (entry.path().extension() == ".bmp")
            names.push_back(folder + "/" + entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The largest channel difference from the reference picture, or a description of a size
// mismatch. Transparent reference pixels carry no colour and are not compared; the reader
// drops alpha, so partly transparent ones are compared by their colour alone.
std::string CompareWithReference(const Bitmap& picture, const std::string& png, int tolerance) {
    QImage reference(QString::fromStdString((Suite() / "ref" / png).string()));
    if (reference.isNull()) return "reference " + png + " does not load";
    reference = reference.convertToFormat(QImage::Format_ARGB32);
    if (reference.width() != picture.Width() || reference.height() != picture.Height())
        return "size " + std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
               ", reference " + std::to_string(reference.width()) + " x " +
               std::to_string(reference.height());
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x) {
            const QRgb want = reference.pixel(x, y);
            if (qAlpha(want) == 0) continue;
            const uint32_t got = picture.Pixel(x, y);
            const int difference =
                std::max({std::abs(qRed(want) - GetR(got)), std::abs(qGreen(want) - GetG(got)),
                          std::abs(qBlue(want) - GetB(got))});
            if (difference > tolerance)
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") differs by " +
                       std::to_string(difference);
        }
    return "";
}

struct Outcome {
    std::optional<Bitmap> picture;
    std::string error;
};

Outcome Read(const std::string& name) {
    Outcome outcome;
    try {
        outcome.picture = ReadBmp(ReadWholeFile((Suite() / name).string()));
    } catch (const Error& e) {
        outcome.error = e.what();
    }
    return outcome;
}

TEST(BmpSuite, EveryGoodFileEqualsItsReference) {
    LF_REQUIRE_TESTDATA();
    const auto references = References();
    for (const std::string& name : FilesOf("g")) {
        SCOPED_TRACE(name);
        const Outcome outcome = Read(name);
        ASSERT_TRUE(outcome.picture) << outcome.error;
        const auto reference = references.find(name);
        ASSERT_NE(reference, references.end()) << "no reference picture listed";
        EXPECT_EQ(CompareWithReference(*outcome.picture, reference->second, 0), "");
    }
}

// What each questionable file gives: a picture (compared with its reference where it has one)
// or a refusal containing the text.
struct Questionable {
    const char* name;
    const char* refusal;  // nullptr: loads
    int tolerance;
    const char* why;
};

const Questionable kQuestionable[] = {
    {"q/pal1huffmsb.bmp", "unsupported compression (Huffman)", 0, "OS/2 Huffman coding"},
    {"q/pal1p1.bmp", nullptr, 0, "one-colour palette"},
    {"q/pal2.bmp", nullptr, 0, "2 bits a pixel"},
    {"q/pal2color.bmp", nullptr, 0, "2 bits a pixel"},
    {"q/pal4rlecut.bmp", nullptr, 0, "an early end of picture: the rest is black"},
    {"q/pal4rletrns.bmp", nullptr, 0, "deltas skip pixels: they are black"},
    {"q/pal8offs.bmp", nullptr, 0, "a gap before the pixels"},
    {"q/pal8os2-hs.bmp", nullptr, 0, ""},
    {"q/pal8os2-sz.bmp", nullptr, 0, ""},
    {"q/pal8os2sp.bmp", nullptr, 0, ""},
    {"q/pal8os2v2-16.bmp", nullptr, 0, "16-byte OS/2 2.x header"},
    {"q/pal8os2v2-40sz.bmp", nullptr, 0, ""},
    {"q/pal8os2v2-sz.bmp", nullptr, 0, ""},
    {"q/pal8os2v2.bmp", nullptr, 0, "64-byte OS/2 2.x header"},
    {"q/pal8oversizepal.bmp", nullptr, 0, "more colours than 8 bits can index"},
    {"q/pal8rlecut.bmp", nullptr, 0, "an early end of picture: the rest is black"},
    {"q/pal8rletrns.bmp", nullptr, 0, "deltas skip pixels: they are black"},
    {"q/rgb16-231.bmp", nullptr, 0, ""},
    {"q/rgb16-3103.bmp", nullptr, 0, ""},
    {"q/rgb16faketrns.bmp", nullptr, 0, ""},
    {"q/rgb24jpeg.bmp", "unsupported compression (JPEG)", 0, ""},
    {"q/rgb24largepal.bmp", nullptr, 0, ""},
    {"q/rgb24lprof.bmp", nullptr, 0, ""},
    {"q/rgb24png.bmp", "unsupported compression (PNG)", 0, ""},
    {"q/rgb24prof.bmp", nullptr, 0, ""},
    {"q/rgb24prof2.bmp", nullptr, -1, "its colour profile (which swaps channels) is not applied"},
    {"q/rgb24rle24.bmp", nullptr, 0, "OS/2 RLE24"},
    // The reference is the 8-bit original; rounding v * 255 / 2047 lands one off on a few values.
    {"q/rgb32-111110.bmp", nullptr, 1, "11-bit channels"},
    {"q/rgb32-7187.bmp", nullptr, 0, ""},
    {"q/rgb32-xbgr.bmp", nullptr, 0, ""},
    {"q/rgb32fakealpha.bmp", nullptr, 0, ""},
    {"q/rgb32h52.bmp", nullptr, 0, ""},
    {"q/rgba16-1924.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba16-4444.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba16-5551.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32-1.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32-1010102.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32-2.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32-61754.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32-81284.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32abf.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba32h56.bmp", nullptr, 0, "alpha dropped"},
    {"q/rgba64.bmp", "unsupported bit depth 64", 0, "16-bit linear channels"},
};

TEST(BmpSuite, QuestionableFilesLoadSensiblyOrAreRefusedClearly) {
    LF_REQUIRE_TESTDATA();
    const auto references = References();
    std::vector<std::string> covered;
    for (const Questionable& q : kQuestionable) {
        SCOPED_TRACE(std::string(q.name) + " " + q.why);
        covered.push_back(q.name);
        const Outcome outcome = Read(q.name);
        if (q.refusal) {
            EXPECT_FALSE(outcome.picture);
            EXPECT_EQ(outcome.error, std::string("Invalid bitmap: ") + q.refusal);
            continue;
        }
        ASSERT_TRUE(outcome.picture) << outcome.error;
        const auto reference = references.find(q.name);
        if (reference != references.end() && q.tolerance >= 0) {
            EXPECT_EQ(CompareWithReference(*outcome.picture, reference->second, q.tolerance), "");
        }
    }
    std::sort(covered.begin(), covered.end());
    EXPECT_EQ(covered, FilesOf("q")) << "a questionable file without a decision";
}

TEST(BmpSuite, BadFilesAreRefusedWithTheirReason) {
    LF_REQUIRE_TESTDATA();
    struct Bad {
        const char* name;
        const char* refusal;  // nullptr: loads with defined pixels
    } const cases[] = {
        {"b/badbitcount.bmp", "Invalid bitmap: unsupported bit depth 30000"},
        {"b/badbitssize.bmp", nullptr},  // a wrong image size field, not needed to read the rows
        {"b/baddens1.bmp", nullptr},     // absurd resolution fields
        {"b/baddens2.bmp", nullptr},
        {"b/badfilesize.bmp", nullptr},  // a wrong file size field
        {"b/badheadersize.bmp", "Invalid bitmap: unsupported header size 66"},
        {"b/badpalettesize.bmp", nullptr},  // a palette count beyond 8 bits is capped at 256
        {"b/badplanes.bmp", "Invalid bitmap: bad number of planes (30000)"},
        {"b/badrle.bmp", "Invalid bitmap: bad RLE data"},
        {"b/badrle4.bmp", "Invalid bitmap: bad RLE data"},
        {"b/badrle4bis.bmp", "Invalid bitmap: bad RLE data"},
        {"b/badrle4ter.bmp", "Invalid bitmap: bad RLE data"},
        {"b/badrlebis.bmp", "Invalid bitmap: bad RLE data"},
        {"b/badrleter.bmp", "Invalid bitmap: bad RLE data"},
        {"b/badwidth.bmp", "Invalid bitmap: bad picture size"},
        {"b/pal8badindex.bmp", "Invalid bitmap: palette index out of range"},
        {"b/reallybig.bmp", "Picture too large"},
        {"b/rgb16-880.bmp", nullptr},  // no blue bits: blue is 0
        {"b/rletopdown.bmp", "Invalid bitmap: a compressed bitmap cannot have top-down rows"},
        {"b/shortfile.bmp", "Invalid bitmap: the file is truncated"},
    };
    const auto references = References();
    std::vector<std::string> covered;
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.name);
        covered.push_back(b.name);
        const Outcome outcome = Read(b.name);
        if (b.refusal) {
            EXPECT_FALSE(outcome.picture);
            EXPECT_EQ(outcome.error.rfind(b.refusal, 0), 0u) << outcome.error;
            continue;
        }
        ASSERT_TRUE(outcome.picture) << outcome.error;
        const auto reference = references.find(b.name);
        if (reference != references.end()) {
            EXPECT_EQ(CompareWithReference(*outcome.picture, reference->second, 0), "");
        }
    }
    std::sort(covered.begin(), covered.end());
    EXPECT_EQ(covered, FilesOf("b")) << "a bad file without a decision";
}

TEST(BmpSuite, LoadedBadFilesMatchTheirGoodTwin) {
    LF_REQUIRE_TESTDATA();
    // Fields the reader has no use for do not change the picture.
    struct Twin {
        const char* bad;
        const char* good;
    } const twins[] = {
        {"b/badbitssize.bmp", "g/pal1.bmp"},    {"b/baddens1.bmp", "g/pal1.bmp"},
        {"b/baddens2.bmp", "g/pal1.bmp"},       {"b/badfilesize.bmp", "g/pal1.bmp"},
        {"b/badpalettesize.bmp", "g/pal8.bmp"},
    };
    for (const Twin& t : twins) {
        const Outcome bad = Read(t.bad), good = Read(t.good);
        ASSERT_TRUE(bad.picture) << t.bad << ": " << bad.error;
        ASSERT_TRUE(good.picture) << t.good << ": " << good.error;
        EXPECT_EQ(*bad.picture, *good.picture) << t.bad;
    }
}

}  // namespace
}  // namespace lf

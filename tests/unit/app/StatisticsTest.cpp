// The statistics report: extremes, the full-range test, brightness rounding and the text.
#include <gtest/gtest.h>

#include <string>

#include "app/Document.h"
#include "app/Statistics.h"
#include "platform/Errors.h"
#include "support/TestData.h"

namespace lf {
namespace {

using test::MakePicture;
using test::SolidPicture;

// The report's lines 4 to 10, which depend on the pixels only.
std::string PixelLines(const Bitmap& picture) {
    const std::string report = FormatStatistics(MeasurePicture(picture), "");
    const std::string head = "File: \r\nDimensioni: " + std::to_string(picture.Width()) + " X " +
                             std::to_string(picture.Height()) + "\r\n\r\n";
    EXPECT_EQ(report.substr(0, head.size()), head);
    return report.substr(head.size());
}

std::string Lines(const char* optimised, const char* r, const char* g, const char* b, int brightness) {
    return std::string("Ottimizzata: ") + optimised + "\r\n\r\nR: " + r + "\r\nG: " + g + "\r\nB: " + b +
           "\r\n\r\nLuminosità: " + std::to_string(brightness) + " %";
}

TEST(StatisticsTest, ChannelRangesOptimisedAndBrightness) {
    struct Case {
        const char* what;
        Bitmap picture;
        std::string expected;
    } cases[] = {
        {"all black", SolidPicture(4, 3, RGB(0, 0, 0)), Lines("no", "0 to 0", "0 to 0", "0 to 0", 0)},
        {"all white", SolidPicture(3, 5, RGB(255, 255, 255)),
         Lines("no", "255 to 255", "255 to 255", "255 to 255", 100)},
        {"one black, one white", MakePicture(2, 1, {RGB(0, 0, 0), RGB(255, 255, 255)}),
         Lines("si", "0 to 255", "0 to 255", "0 to 255", 50)},
        // Every pixel has intensity 128: 128 × 100/255 is about 50.2.
        {"intensity 128 everywhere",
         MakePicture(3, 1, {RGB(128, 128, 128), RGB(127, 128, 129), RGB(130, 127, 128)}),
         Lines("no", "127 to 130", "127 to 128", "128 to 129", 50)},
        {"blue stays within 10..250",
         MakePicture(2, 2, {RGB(0, 255, 10), RGB(255, 0, 250), RGB(0, 0, 100), RGB(255, 255, 200)}),
         Lines("no", "0 to 255", "0 to 255", "10 to 250", 51)},
        {"each channel from its own pixel",
         MakePicture(3, 2,
                     {RGB(0, 90, 90), RGB(255, 90, 90), RGB(90, 0, 90), RGB(90, 255, 90), RGB(90, 90, 0),
                      RGB(90, 90, 255)}),
         Lines("si", "0 to 255", "0 to 255", "0 to 255", 40)},
        // Red alone reaches 255 and green alone 0: the sums of the extremes must not be mixed
        // up across channels (0 + 0 + 0 and 255 × 3 only when every channel reaches both).
        {"extremes spread over channels", MakePicture(2, 1, {RGB(255, 0, 0), RGB(0, 255, 255)}),
         Lines("si", "0 to 255", "0 to 255", "0 to 255", 50)},
        {"only red misses 255", MakePicture(2, 1, {RGB(0, 0, 0), RGB(254, 255, 255)}),
         Lines("no", "0 to 254", "0 to 255", "0 to 255", 50)},
        // Intensity truncates: (2 + 2 + 1) div 3 = 1, 0.39 %; without truncation it would be 1 %.
        {"intensity truncates", SolidPicture(1, 1, RGB(2, 2, 1)),
         Lines("no", "2 to 2", "2 to 2", "1 to 1", 0)},
        // Eight pixels of intensity sum 51 give exactly 2.5 %: halves go to the even neighbour.
        {"half rounds to even (2.5)",
         MakePicture(4, 2,
                     {RGB(6, 6, 6), RGB(6, 6, 6), RGB(6, 6, 6), RGB(6, 6, 6), RGB(6, 6, 6), RGB(6, 6, 6),
                      RGB(6, 6, 6), RGB(9, 9, 9)}),
         Lines("no", "6 to 9", "6 to 9", "6 to 9", 2)},
        // 255 over eight pixels is 12.5 %.
        {"half rounds to even (12.5)",
         MakePicture(8, 1,
                     {RGB(30, 30, 30), RGB(30, 30, 30), RGB(30, 30, 30), RGB(30, 30, 30), RGB(30, 30, 30),
                      RGB(30, 30, 30), RGB(30, 30, 30), RGB(45, 45, 45)}),
         Lines("no", "30 to 45", "30 to 45", "30 to 45", 12)},
        // 765 over eight pixels is 37.5 %: rounds up to the even 38.
        {"half rounds to even (37.5)",
         MakePicture(8, 1,
                     {RGB(90, 90, 90), RGB(90, 90, 90), RGB(90, 90, 90), RGB(90, 90, 90), RGB(90, 90, 90),
                      RGB(90, 90, 90), RGB(90, 90, 90), RGB(135, 135, 135)}),
         Lines("no", "90 to 135", "90 to 135", "90 to 135", 38)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PixelLines(c.picture), c.expected);
    }
}

TEST(StatisticsTest, OddWidthsAndPaddedRowsAreMeasuredExactly) {
    // 5 × 3 rows carry a byte of padding each; the padding must not take part.
    Bitmap picture = SolidPicture(5, 3, RGB(100, 100, 100));
    picture.SetPixel(4, 2, RGB(7, 200, 9));
    picture.SetPixel(0, 1, RGB(250, 3, 101));
    const PictureStatistics s = MeasurePicture(picture);
    EXPECT_EQ(s.minRed, 7);
    EXPECT_EQ(s.maxRed, 250);
    EXPECT_EQ(s.minGreen, 3);
    EXPECT_EQ(s.maxGreen, 200);
    EXPECT_EQ(s.minBlue, 9);
    EXPECT_EQ(s.maxBlue, 101);
    EXPECT_EQ(s.intensitySum, 13u * 100 + (7 + 200 + 9) / 3 + (250 + 3 + 101) / 3);
}

TEST(StatisticsTest, TheWholeReportWithFileAndSize) {
    ResetDocument();
    MainBitmap = MakePicture(3, 2,
                             {RGB(0, 0, 0), RGB(255, 255, 255), RGB(10, 20, 30), RGB(40, 50, 60),
                              RGB(70, 80, 90), RGB(200, 100, 0)});
    CurrentFile = "/home/anna/Immagini/gatto.bmp";
    SelRect = Rect(1, 0, 1, 0);  // the selection plays no part
    EXPECT_EQ(StatisticsReport(),
              "File: /home/anna/Immagini/gatto.bmp\r\nDimensioni: 3 X 2\r\n\r\nOttimizzata: si\r\n\r\n"
              "R: 0 to 255\r\nG: 0 to 255\r\nB: 0 to 255\r\n\r\nLuminosità: 33 %");
    CurrentFile.clear();
    EXPECT_EQ(StatisticsReport().substr(0, 8), "File: \r\n");
    ResetDocument();
}

TEST(StatisticsTest, TheIntensitySumDoesNotWrapOnLargePictures) {
    // 17.6 million white pixels sum to more than 2^32.
    const Bitmap picture = SolidPicture(4200, 4200, RGB(255, 255, 255));
    const PictureStatistics s = MeasurePicture(picture);
    EXPECT_EQ(s.intensitySum, uint64_t{255} * 4200 * 4200);
    EXPECT_EQ(s.Brightness(), 100);
}

TEST(StatisticsTest, APictureWithoutPixelsIsAnInvalidOperation) {
    for (const Bitmap& empty : {Bitmap(), Bitmap(0, 7), Bitmap(7, 0)}) {
        try {
            (void)FormatStatistics(MeasurePicture(empty), "x.bmp");
            ADD_FAILURE() << "no error for " << empty.Width() << " x " << empty.Height();
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Invalid floating point operation");
        }
    }
}

}  // namespace
}  // namespace lf

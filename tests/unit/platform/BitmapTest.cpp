// The picture buffer: layout, pixel access, and clipping and scaling of the drawing calls.
#include <gtest/gtest.h>

#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "support/TestData.h"

namespace lf {
namespace {

using test::MakePicture;
using test::SolidPicture;

TEST(Bitmap, RowsAreBlueGreenRedPaddedToFourBytes) {
    Bitmap b(5, 2);
    EXPECT_EQ(b.Stride(), 16u);  // 15 bytes of pixels, one of padding
    b.SetPixel(1, 1, RGB(10, 20, 30));
    const uint8_t* row = b.ScanLine(1);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_EQ(b.Pixel(1, 1), 0x001E140Au);
    EXPECT_EQ(b.Pixel(0, 0), 0u);  // new pixels are black
}

TEST(Bitmap, PixelAccessOutsideIsHarmless) {
    Bitmap b = SolidPicture(2, 2, RGB(1, 2, 3));
    b.SetPixel(-1, 0, RGB(9, 9, 9));
    b.SetPixel(2, 1, RGB(9, 9, 9));
    EXPECT_EQ(b.Pixel(-1, 0), 0u);
    EXPECT_EQ(b.Pixel(0, 2), 0u);
    EXPECT_EQ(b, SolidPicture(2, 2, RGB(1, 2, 3)));
}

TEST(Bitmap, EmptyAndFreed) {
    Bitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(3, 3);
    b.FreeImage();
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    b.SetSize(1, 1);  // usable again
    EXPECT_EQ(b.Pixel(0, 0), 0u);
}

TEST(Bitmap, SizeLimitsAreCheckedBeforeAllocating) {
    Bitmap b;
    EXPECT_THROW(b.SetSize(65501, 1), Error);
    EXPECT_THROW(b.SetSize(65000, 65000), Error);
    EXPECT_THROW(b.SetSize(-1, 5), Error);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, DrawClipsAtEveryEdge) {
    const Bitmap source = MakePicture(2, 2, {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)});
    struct Case {
        int x, y;
        uint32_t expected[9];  // 3 × 3 target, row by row
    } cases[] = {
        {0, 0, {RGB(1, 0, 0), RGB(2, 0, 0), 0, RGB(3, 0, 0), RGB(4, 0, 0), 0, 0, 0, 0}},
        {-1, -1, {RGB(4, 0, 0), 0, 0, 0, 0, 0, 0, 0, 0}},
        {2, 2, {0, 0, 0, 0, 0, 0, 0, 0, RGB(1, 0, 0)}},
        {3, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {-5, -5, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Bitmap target(3, 3);
        target.Draw(c.x, c.y, source);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(target.Pixel(i % 3, i / 3), c.expected[i]) << "at " << c.x << "," << c.y << " pixel " << i;
    }
}

TEST(Bitmap, CopyRectOneToOneClipsTheSource) {
    const Bitmap source = MakePicture(2, 1, {RGB(7, 0, 0), RGB(8, 0, 0)});
    Bitmap target = SolidPicture(3, 1, RGB(0, 0, 9));
    // The source rectangle reaches one pixel past the source's right edge: that target pixel keeps its value.
    target.CopyRect(Rect(0, 0, 3, 1), source, Rect(0, 0, 3, 1));
    EXPECT_EQ(target.Pixel(0, 0), RGB(7, 0, 0));
    EXPECT_EQ(target.Pixel(1, 0), RGB(8, 0, 0));
    EXPECT_EQ(target.Pixel(2, 0), RGB(0, 0, 9));
}

TEST(Bitmap, NearestNeighbourScalingTakesOneSourcePixelEach) {
    const Bitmap source = MakePicture(2, 2, {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)});
    Bitmap doubled(4, 4);
    doubled.StretchDraw(Rect(0, 0, 4, 4), source);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(doubled.Pixel(x, y), source.Pixel(x / 2, y / 2));

    Bitmap shrunk(1, 1);
    shrunk.CopyRect(Rect(0, 0, 1, 1), doubled, Rect(0, 0, 4, 4));
    EXPECT_EQ(GetR(shrunk.Pixel(0, 0)), 4);  // the centre sample, not a blend

    // A scaled copy partly outside the target is clipped there.
    Bitmap small(3, 3);
    small.StretchDraw(Rect(-2, -2, 2, 2), source);
    EXPECT_EQ(small.Pixel(0, 0), RGB(4, 0, 0));
    EXPECT_EQ(small.Pixel(1, 1), RGB(4, 0, 0));
    EXPECT_EQ(small.Pixel(2, 2), 0u);
}

TEST(Bitmap, CopyAndMoveKeepThePixels) {
    const Bitmap a = test::RandomPicture(7, 3, 1);
    Bitmap b = a;
    EXPECT_EQ(a, b);
    Bitmap c = std::move(b);
    EXPECT_EQ(a, c);
    EXPECT_TRUE(b.Empty());
}

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorBoxText("Floating point division by zero"), "Floating point division by zero.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Really!"), "Really!");  // '!' sorts before '.'
    EXPECT_EQ(ErrorBoxText("Size 5"), "Size 5.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace lf

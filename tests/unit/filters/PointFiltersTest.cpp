// The point filters and the contrast step: their arithmetic, pixel by pixel.
#include <cmath>

#include "FilterFixture.h"
#include "filters/Filters.h"

namespace lf::test {
namespace {

using PointFilterTest = FilterTest;

struct PixelCase {
    const char* component;
    uint32_t before;
    uint32_t after;
};

TEST_F(PointFilterTest, EachCommandChangesAPixelByItsArithmetic) {
    const PixelCase cases[] = {
        {"IncreaseBrightnessMenu", RGB(250, 10, 0), RGB(255, 35, 25)},
        {"DecreaseBrightnessMenu", RGB(250, 10, 0), RGB(225, 0, 0)},
        {"IncreaseRedMenu", RGB(240, 10, 20), RGB(255, 10, 20)},
        {"DecreaseRedMenu", RGB(20, 10, 20), RGB(0, 10, 20)},
        {"IncreaseGreenMenu", RGB(1, 2, 3), RGB(1, 27, 3)},
        {"DecreaseGreenMenu", RGB(1, 30, 3), RGB(1, 5, 3)},
        {"IncreaseBlueMenu", RGB(1, 2, 231), RGB(1, 2, 255)},
        {"DecreaseBlueMenu", RGB(1, 2, 24), RGB(1, 2, 0)},
        {"BlackandwhiteMenu", RGB(128, 128, 128), RGB(255, 255, 255)},
        {"BlackandwhiteMenu", RGB(127, 127, 128), RGB(0, 0, 0)},
        {"BlackandwhiteMenu", RGB(255, 255, 130), RGB(255, 255, 255)},
        {"GrayscaleMenu", RGB(255, 0, 1), RGB(85, 85, 85)},
        {"GrayscaleMenu", RGB(255, 255, 254), RGB(254, 254, 254)},
        {"InvertAllmenu", RGB(0, 128, 255), RGB(255, 127, 0)},
        {"InvertRedMenu", RGB(0, 128, 255), RGB(255, 128, 255)},
        {"InvertGreenMenu", RGB(0, 128, 255), RGB(0, 127, 255)},
        {"InvertBlueMenu", RGB(0, 128, 255), RGB(0, 128, 0)},
        {"LogaritmizeAllMenu", RGB(1, 2, 3), RGB(32, 51, 64)},
        {"LogaritmizeRedMenu", RGB(10, 10, 10), RGB(110, 10, 10)},
        {"LogaritmizeGreenMenu", RGB(10, 10, 10), RGB(10, 110, 10)},
        {"LogaritmizeBlueMenu", RGB(10, 10, 10), RGB(10, 10, 110)},
        {"SwapchannelsMenu", RGB(10, 20, 30), RGB(30, 10, 20)},
        {"SepiaMenu", RGB(255, 255, 255), RGB(255, 255, 230)},
        {"SepiaMenu", RGB(0, 0, 0), RGB(25, 0, 0)},
        {"SepiaMenu", RGB(100, 100, 100), RGB(125, 100, 75)},
        {"IncreaseContrastmenu", RGB(64, 128, 192), RGB(0, 128, 255)},
        {"IncreaseContrastmenu", RGB(65, 127, 191), RGB(2, 126, 254)},
        {"DecreaseContrastmenu", RGB(0, 1, 255), RGB(64, 64, 191)},
        {"DecreaseContrastmenu", RGB(3, 128, 254), RGB(65, 128, 191)},
    };
    for (const PixelCase& c : cases) {
        const uint32_t after = OnePixel(c.component, c.before);
        EXPECT_EQ(Describe(SolidPicture(1, 1, after)), Describe(SolidPicture(1, 1, c.after)))
            << c.component << " on " << Describe(SolidPicture(1, 1, c.before));
    }
}

TEST_F(PointFilterTest, LogarithmicCurveHitsItsCheckValues) {
    const int checks[][2] = {{0, 0},    {1, 32},    {2, 51},    {3, 64},    {9, 106},   {15, 127}, {63, 191},
                             {79, 201}, {127, 223}, {128, 223}, {200, 244}, {254, 255}, {255, 255}};
    for (const auto& check : checks) {
        EXPECT_EQ(LogaritmTable()[check[0]], check[1]) << check[0];
        const uint8_t v = static_cast<uint8_t>(check[0]);
        EXPECT_EQ(GetG(OnePixel("LogaritmizeAllMenu", RGB(v, v, v))), check[1]) << check[0];
    }
}

TEST_F(PointFilterTest, ClippingLosesWhatItCut) {
    Load(SolidPicture(1, 1, RGB(250, 10, 0)));
    Run("IncreaseBrightnessMenu");
    Run("DecreaseBrightnessMenu");
    EXPECT_EQ(MainBitmap.Pixel(0, 0), RGB(230, 10, 0));
}

TEST_F(PointFilterTest, ContrastUpAfterDownLosesTheOddBit) {
    Bitmap ramp(256, 1);
    for (int v = 0; v < 256; ++v) ramp.SetPixel(v, 0, RGB(v, 255 - v, v));
    Load(ramp);
    Run("DecreaseContrastmenu");
    Run("IncreaseContrastmenu");
    for (int v = 0; v < 256; ++v) ASSERT_EQ(MainBitmap.Pixel(v, 0), RGB(v & ~1, (255 - v) & ~1, v & ~1)) << v;
}

TEST_F(PointFilterTest, InvertTwiceAndSwapThriceRestoreThePicture) {
    const Bitmap picture = RandomPicture(7, 5, 3);
    const std::pair<const char*, int> repeats[] = {
        {"InvertRedMenu", 2}, {"InvertAllmenu", 2}, {"InvertBlueMenu", 2}, {"SwapchannelsMenu", 3}};
    for (const auto& [component, times] : repeats) {
        Load(picture);
        for (int i = 0; i < times; ++i) Run(component);
        EXPECT_EQ(MainBitmap, picture) << component;
    }
}

}  // namespace
}  // namespace lf::test

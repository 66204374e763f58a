// The levels stretch, the edge finder, the box mean, sharpening and noise: their arithmetic and
// their failures, on small pictures whose pixels can be read.
#include <set>

#include "FilterFixture.h"
#include "Reference.h"
#include "filters/Filters.h"
#include "platform/Cursor.h"

namespace lf::test {
namespace {

using ToneTest = FilterTest;
using NeighbourhoodTest = FilterTest;

// A row of pixels with the given red values and green, blue that span 0..255.
Bitmap RedRow(std::initializer_list<int> reds) {
    Bitmap row(static_cast<int>(reds.size()), 1);
    int x = 0;
    for (int r : reds) {
        row.SetPixel(x, 0, RGB(static_cast<uint8_t>(r), x % 2 ? 255 : 0, x % 2 ? 0 : 255));
        ++x;
    }
    return row;
}

TEST_F(ToneTest, OptimizeRoundsHalvesAsItsDoubleScaleAndExtendedSumPutThem) {
    struct Case {
        std::initializer_list<int> reds;
        std::initializer_list<int> stretched;
    } cases[] = {
        // Range 10: the scale 25.5 is exact, halves go to the even neighbour.
        {{0, 1, 3, 5, 7, 10}, {0, 26, 76, 128, 178, 255}},
        // Range 34: exact scale again, 7.5 → 8 and 22.5 → 22.
        {{1, 2, 3, 4, 35}, {0, 8, 15, 22, 255}},
        // Range 14: 127.5 exactly in real numbers, just below it in the rounded arithmetic.
        {{10, 17, 24}, {0, 127, 255}},
    };
    for (const Case& c : cases) {
        Load(RedRow(c.reds));
        Run("OptimizeMenu");
        int x = 0;
        for (int expected : c.stretched) {
            EXPECT_EQ(GetR(MainBitmap.Pixel(x, 0)), expected) << "red " << c.reds.begin()[x];
            ++x;
        }
    }
}

TEST_F(ToneTest, OptimizeTwiceChangesNothingMore) {
    Load(RandomPicture(9, 7, 11));
    Run("OptimizeMenu");
    const Bitmap once = MainBitmap;
    Run("OptimizeMenu");
    EXPECT_EQ(MainBitmap, once);
}

TEST_F(ToneTest, OptimizeOnAFlatChannelStopsWithoutChangingAPixel) {
    const Bitmap flatBlue = MakePicture(3, 1, {RGB(0, 9, 50), RGB(100, 200, 50), RGB(7, 0, 50)});
    for (const Bitmap& picture : {SolidPicture(4, 3, RGB(10, 20, 30)), flatBlue, SolidPicture(1, 1, 0)}) {
        Load(picture);
        EXPECT_EQ(RunFailing("OptimizeMenu"), kDivisionByZero);
        EXPECT_EQ(MainBitmap, picture);
        EXPECT_TRUE(UndoAvailable);
        EXPECT_FALSE(HourglassShown());
        EXPECT_TRUE(WorkBitmap.Empty());
    }
}

TEST_F(ToneTest, OptimizeCountsTheBlackOfASelectionReachingOutside) {
    // Reds 100..200 inside; the part beyond the right edge is black and pulls the minimum to 0.
    Load(RedRow({100, 150, 200}));
    SelRect = Rect(1, 0, 5, 0);
    Run("OptimizeMenu");
    EXPECT_EQ(GetR(MainBitmap.Pixel(0, 0)), 100);  // outside the selection
    EXPECT_EQ(GetR(MainBitmap.Pixel(1, 0)), 191);  // 150 × 255 / 200 = 191.25
    EXPECT_EQ(GetR(MainBitmap.Pixel(2, 0)), 255);
}

TEST_F(NeighbourhoodTest, FindEdgesMarksBothSidesOfABoundary) {
    // Grey 0 on the left, 80 on the right; the boundary lies between columns 3 and 4.
    Bitmap picture(8, 6);
    picture.Fill(Rect(4, 0, 8, 6), RGB(80, 80, 80));
    Load(picture);
    SelRect = Rect(1, 1, 6, 4);
    Run("FindEdgesMenu");
    // The edge values of picture columns 2..5 are 0, 30, 30, 0 (3 × 80 div 8 on both sides);
    // enlarged from 4 to 6 columns in proportion they cover columns 1..6 as 0, 30, 30, 30, 0, 0,
    // and the stretch makes 30 white.
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool border = x == 0 || y == 0 || x == 7 || y == 5;
            const bool selected = x >= 1 && x <= 6 && y >= 1 && y <= 4;
            uint32_t expected;
            if (selected)
                expected = (x >= 2 && x <= 4) ? RGB(255, 255, 255) : 0;
            else if (border)
                expected = 0;
            else
                expected = picture.Pixel(x, y);
            EXPECT_EQ(MainBitmap.Pixel(x, y), expected) << x << "," << y << "\n" << Describe(MainBitmap);
        }
    }
}

TEST_F(NeighbourhoodTest, FindEdgesOnAFlatEdgeImageStopsAfterWritingIt) {
    struct Case {
        Bitmap picture;
        TRect selection;
        uint32_t inside;  // what the selection holds after the failure
    };
    // 3 × 3: the single interior pixel's edge value, (3 × 90 + 0) div 8 = 33, fills the selection.
    Bitmap corner(5, 5);
    corner.Fill(Rect(1, 1, 4, 4), RGB(90, 90, 90));
    corner.Fill(Rect(2, 2, 3, 3), RGB(90, 90, 90));
    corner.Fill(Rect(1, 3, 4, 4), 0);
    const Case cases[] = {
        {SolidPicture(6, 5, RGB(200, 100, 50)), Rect(1, 1, 4, 3), 0},
        {corner, Rect(1, 1, 3, 3), RGB(33, 33, 33)},
    };
    for (const Case& c : cases) {
        Load(c.picture);
        SelRect = c.selection;
        EXPECT_EQ(RunFailing("FindEdgesMenu"), kDivisionByZero);
        EXPECT_FALSE(HourglassShown());
        EXPECT_EQ(UndoBitmap, c.picture);
        for (int y = 0; y < c.picture.Height(); ++y)
            for (int x = 0; x < c.picture.Width(); ++x) {
                const bool selected = x >= c.selection.Left && x <= c.selection.Right &&
                                      y >= c.selection.Top && y <= c.selection.Bottom;
                const bool border =
                    x == 0 || y == 0 || x == c.picture.Width() - 1 || y == c.picture.Height() - 1;
                const uint32_t expected = selected ? c.inside : border ? 0 : c.picture.Pixel(x, y);
                EXPECT_EQ(MainBitmap.Pixel(x, y), expected) << x << "," << y << "\n" << Describe(MainBitmap);
            }
        RestoreUndo();
        EXPECT_EQ(MainBitmap, c.picture);
    }
}

TEST_F(NeighbourhoodTest, MeanSpreadsAWhiteDotOverItsBox) {
    Bitmap picture(7, 7);
    picture.SetPixel(3, 3, RGB(255, 255, 255));
    Load(picture);
    Run("RemoveNoiseMenu");
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool near = std::abs(x - 3) <= 1 && std::abs(y - 3) <= 1;
            EXPECT_EQ(MainBitmap.Pixel(x, y), near ? RGB(28, 28, 28) : 0) << x << "," << y;
        }
}

TEST_F(NeighbourhoodTest, MeanRepeatsTheSelectionsEdgesAndNeverReadsOutsideIt) {
    // A selection 3 wide of reds 0, 121, 242 between two white columns: the 11 × 11 box repeats
    // the selection's edge columns and never takes the white around it.
    Bitmap picture(5, 2);
    picture.Fill(Rect(0, 0, 5, 2), RGB(255, 255, 255));
    for (int y = 0; y < 2; ++y) {
        picture.SetPixel(1, y, RGB(0, 0, 0));
        picture.SetPixel(2, y, RGB(121, 0, 0));
        picture.SetPixel(3, y, RGB(242, 0, 0));
    }
    Load(picture);
    SelRect = Rect(1, 0, 3, 1);
    Run("MeanvalueMenu");
    // Column x of the selection: samples clamp(x + i) for i in −5..5.
    const int expected[3] = {(6 * 0 + 121 + 4 * 242) / 11, (5 * 0 + 121 + 5 * 242) / 11,
                             (4 * 0 + 121 + 6 * 242) / 11};
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(MainBitmap.Pixel(0, y), RGB(255, 255, 255));
        EXPECT_EQ(MainBitmap.Pixel(4, y), RGB(255, 255, 255));
        for (int x = 0; x < 3; ++x) EXPECT_EQ(MainBitmap.Pixel(1 + x, y), RGB(expected[x], 0, 0)) << x;
    }
}

TEST_F(NeighbourhoodTest, SharpnessReadsTheCentresIntensityAfreshForEachChannel) {
    const struct {
        const char* component;
        uint32_t centre;
    } cases[] = {{"IncreaseSharpnessMenu", RGB(120, 132, 154)}, {"DecreaseSharpnessMenu", RGB(95, 96, 96)}};
    for (const auto& c : cases) {
        Bitmap picture = SolidPicture(3, 3, RGB(90, 90, 90));
        picture.SetPixel(1, 1, RGB(100, 100, 100));
        Load(picture);
        Run(c.component);
        picture.SetPixel(1, 1, c.centre);  // the border keeps its pixels
        EXPECT_EQ(MainBitmap, picture) << c.component << "\n" << Describe(MainBitmap);
    }
}

TEST_F(NeighbourhoodTest, SharpnessLeavesStripsTwoPixelsThinAlone) {
    for (const Bitmap& picture : {RandomPicture(2, 9, 1), RandomPicture(9, 2, 2)}) {
        Load(picture);
        Run("IncreaseSharpnessMenu");
        EXPECT_EQ(MainBitmap, picture);
    }
}

TEST_F(NeighbourhoodTest, NoiseMovesEveryUnclippedChannelByAnOddAmountSeededByTheClock) {
    const Bitmap picture = SolidPicture(40, 30, RGB(25, 128, 232));
    Load(picture);
    Run("AddNoiseMenu");
    const Bitmap first = MainBitmap;
    std::set<int> amounts;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint32_t c = first.Pixel(x, y);
            for (int d : {GetR(c) - 25, GetG(c) - 128, GetB(c) - 232}) {
                ASSERT_EQ(std::abs(d) % 2, 1) << d;
                amounts.insert(d);
            }
        }
    EXPECT_EQ(*amounts.begin(), -25);
    EXPECT_EQ(*amounts.rbegin(), 23);
    EXPECT_EQ(amounts.size(), 25u);

    // The same clock reading gives the same noise; another gives other noise.
    Load(picture);
    Run("AddNoiseMenu");
    EXPECT_EQ(MainBitmap, first);
    SetClock([] { return TimeOfDay{10, 20, 30, 457}; });
    Load(picture);
    Run("AddNoiseMenu");
    EXPECT_FALSE(MainBitmap == first);
}

TEST_F(NeighbourhoodTest, NoiseSeedIsMillisecondsOfTheDayAndDrawsAreTheProductsUpperHalf) {
    EXPECT_EQ(ClockSeed(TimeOfDay{23, 59, 59, 999}), 86399999u);
    EXPECT_EQ(ClockSeed(TimeOfDay{1, 2, 3, 4}), 3723004u);
    RandomGenerator generator{0xFFFFFFFFu};
    // 0xFFFFFFFF × 134775813 + 1 = −134775812 mod 2³², i.e. 4160191484; × 25 >> 32 = 24.
    EXPECT_EQ(generator.Below(25), 24u);
    EXPECT_EQ(generator.Seed, 4160191484u);
    RandomGenerator zero{0};
    EXPECT_EQ(zero.Below(25), 0u);  // seed 1
    EXPECT_EQ(zero.Seed, 1u);
}

TEST_F(NeighbourhoodTest, SkippingDrawsLeavesTheSeedWhereTheDrawsWould) {
    for (const uint32_t count : {0u, 1u, 2u, 3u, 1000u, 70001u}) {
        RandomGenerator drawn{123456789u}, skipped{123456789u};
        for (uint32_t i = 0; i < count; ++i) drawn.Below(25);
        skipped.Skip(count);
        EXPECT_EQ(skipped.Seed, drawn.Seed) << count;
    }
    // The generator comes back after 2³² draws.
    RandomGenerator full{42u};
    full.Skip(0xFFFFFFFFu);
    full.Below(25);
    EXPECT_EQ(full.Seed, 42u);
}

TEST_F(NeighbourhoodTest, NoiseOnASelectionReachingFarBeyondThePictureDrawsForTheWholeSelection) {
    // The pixels beyond the picture still draw their numbers in sweep order: the noise inside
    // equals the plain arithmetic on the whole selection, also past the largest scratch copy.
    const Bitmap picture = SolidPicture(9, 6, RGB(100, 128, 150));
    const uint32_t seed = ClockSeed(Now());
    Bitmap expected = picture;
    reference::RunCommand("AddNoiseMenu", expected, Rect(-20000, 2, 20000, 3), seed);
    Load(picture);
    SelRect = Rect(-20000, 2, 20000, 3);
    Run("AddNoiseMenu");
    EXPECT_EQ(MainBitmap, expected);

    Load(picture);
    SelRect = Rect(-100000, 2, 100000, 3);
    EXPECT_NO_THROW(Run("AddNoiseMenu"));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) {
            const uint32_t c = MainBitmap.Pixel(x, y);
            if (y < 2 || y > 3) {
                EXPECT_EQ(c, picture.Pixel(x, y)) << x << "," << y;
                continue;
            }
            for (int d : {GetR(c) - 100, GetG(c) - 128, GetB(c) - 150}) EXPECT_EQ(std::abs(d) % 2, 1) << d;
        }
}

}  // namespace
}  // namespace lf::test

// Crop, mirror, reflection, quarter turns and resizing: the pixel mappings on small pictures whose
// pixels can be read, and the menu handlers with their undo, selection and errors.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Commands.h"
#include "app/Document.h"
#include "app/Geometry.h"
#include "filters/Neighbourhood.h"
#include "platform/Cursor.h"
#include "platform/Errors.h"
#include "support/DocumentFixture.h"
#include "support/TestData.h"

namespace lf {
namespace {

using test::Describe;
using test::MakePicture;
using test::RandomPicture;
using test::SolidPicture;

// The view counts the redraws, so a test sees whether a handler reached its last step.
class GeometryTest : public test::DocumentTest {
protected:
    static void Run(const char* component) {
        const GeometryCommand* command = FindGeometryCommand(component);
        ASSERT_NE(command, nullptr) << component;
        command->run();
    }
};

// 3 × 2, every pixel different: a b c / d e f.
constexpr uint32_t A = 0x010203, B = 0x040506, C = 0x070809, D = 0x0A0B0C, E = 0x0D0E0F, F = 0x101112;
Bitmap ThreeByTwo() { return MakePicture(3, 2, {A, B, C, D, E, F}); }

TEST(GeometryKernels, MirrorMovesWholePixels) {
    struct Case {
        bool vertical;
        Bitmap expected;
    } cases[] = {
        {false, MakePicture(3, 2, {C, B, A, F, E, D})},
        {true, MakePicture(3, 2, {D, E, F, A, B, C})},
    };
    for (const Case& c : cases) {
        Bitmap picture = ThreeByTwo();
        MirrorPicture(picture, c.vertical);
        EXPECT_EQ(picture, c.expected) << "vertical " << c.vertical << "\n" << Describe(picture);
    }
}

TEST(GeometryKernels, RotateThreeByTwo) {
    // Right puts the old top-left pixel at the new (1, 0), left at the new (0, 2).
    const Bitmap right = RotatePicture(ThreeByTwo(), true);
    EXPECT_EQ(right, MakePicture(2, 3, {D, A, E, B, F, C})) << Describe(right);
    const Bitmap left = RotatePicture(ThreeByTwo(), false);
    EXPECT_EQ(left, MakePicture(2, 3, {C, F, B, E, A, D})) << Describe(left);
}

// Sizes around the rotation's 8 × 8 blocks and its tile edges (every 256 pixels), odd widths (row
// padding) and single rows and columns. Widths that are multiples of 4 have rows without padding,
// so a read past a row's end would leave the buffer on the last row (the sanitizer build sees it).
const std::vector<std::pair<int, int>> kSizes = {
    {1, 1},   {1, 7},   {7, 1},   {5, 4},   {4, 4},    {8, 3},   {8, 8},     {9, 16},   {16, 9},
    {15, 17}, {24, 23}, {64, 64}, {65, 63}, {130, 67}, {256, 8}, {257, 264}, {264, 255}};

TEST(GeometryKernels, RotationFollowsTheQuarterTurnMapping) {
    for (auto [w, h] : kSizes) {
        const Bitmap old = RandomPicture(w, h, 11);
        const Bitmap left = RotatePicture(old, false);
        const Bitmap right = RotatePicture(old, true);
        ASSERT_EQ(left.Width(), h);
        ASSERT_EQ(left.Height(), w);
        ASSERT_EQ(right.Width(), h);
        ASSERT_EQ(right.Height(), w);
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y) {
                ASSERT_EQ(left.Pixel(y, w - 1 - x), old.Pixel(x, y))
                    << w << "x" << h << " at " << x << "," << y;
                ASSERT_EQ(right.Pixel(h - 1 - y, x), old.Pixel(x, y))
                    << w << "x" << h << " at " << x << "," << y;
            }
    }
}

TEST(GeometryKernels, RoundTripsGiveBackThePicture) {
    for (auto [w, h] : kSizes) {
        const Bitmap old = RandomPicture(w, h, 3);
        for (bool vertical : {false, true}) {
            Bitmap twice = old;
            MirrorPicture(twice, vertical);
            MirrorPicture(twice, vertical);
            EXPECT_EQ(twice, old) << w << "x" << h << " mirror vertical " << vertical;
        }
        EXPECT_EQ(RotatePicture(RotatePicture(old, false), true), old) << w << "x" << h;
        for (bool right : {false, true}) {
            Bitmap turned = old;
            for (int i = 0; i < 4; ++i) turned = RotatePicture(turned, right);
            EXPECT_EQ(turned, old) << w << "x" << h << " four turns right " << right;
        }
    }
}

TEST(GeometryKernels, ReflectAveragesEachPixelWithItsPartner) {
    for (auto [w, h] : kSizes) {
        const Bitmap old = RandomPicture(w, h, 5);
        for (bool vertical : {false, true}) {
            Bitmap reflected = old;
            ReflectPicture(reflected, vertical);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint32_t p = old.Pixel(x, y);
                    const uint32_t q = vertical ? old.Pixel(x, h - 1 - y) : old.Pixel(w - 1 - x, y);
                    const uint32_t expected =
                        RGB((GetR(p) + GetR(q)) >> 1, (GetG(p) + GetG(q)) >> 1, (GetB(p) + GetB(q)) >> 1);
                    ASSERT_EQ(reflected.Pixel(x, y), expected)
                        << w << "x" << h << " vertical " << vertical << " at " << x << "," << y;
                }
        }
    }
}

TEST(GeometryKernels, ReflectTruncatesAndKeepsAMiddleColumn) {
    Bitmap picture = MakePicture(2, 1, {RGB(255, 1, 200), RGB(0, 2, 201)});
    ReflectPicture(picture, false);
    EXPECT_EQ(picture, MakePicture(2, 1, {RGB(127, 1, 200), RGB(127, 1, 200)})) << Describe(picture);

    // One pixel wide: every pixel is its own partner horizontally.
    const Bitmap column = RandomPicture(1, 6, 9);
    Bitmap reflected = column;
    ReflectPicture(reflected, false);
    EXPECT_EQ(reflected, column);
}

TEST(GeometryKernels, CropCopiesTheSelectionOneToOne) {
    const Bitmap old = RandomPicture(30, 40, 2);
    const Bitmap cut = CropPicture(old, Rect(5, 7, 14, 26));  // 10 × 20
    ASSERT_EQ(cut.Width(), 10);
    ASSERT_EQ(cut.Height(), 20);
    for (int j = 0; j < 20; ++j)
        for (int i = 0; i < 10; ++i) ASSERT_EQ(cut.Pixel(i, j), old.Pixel(5 + i, 7 + j)) << i << "," << j;
    EXPECT_EQ(CropPicture(old, Rect(0, 0, 29, 39)), old);
}

TEST(GeometryKernels, CropBeyondThePictureIsBlackThere) {
    const Bitmap old = MakePicture(2, 2, {A, B, C, D});
    struct Case {
        TRect selection;
        Bitmap expected;
    } cases[] = {
        {Rect(1, 1, 3, 2), MakePicture(3, 2, {D, 0, 0, 0, 0, 0})},
        {Rect(-1, -1, 0, 0), MakePicture(2, 2, {0, 0, 0, A})},
        {Rect(5, 0, 6, 1), SolidPicture(2, 2, 0)},                      // wholly to the right
        {Rect(-2000000000, 0, -1999999999, 0), SolidPicture(2, 1, 0)},  // far away, no overflow
    };
    for (const Case& c : cases) {
        const Bitmap cut = CropPicture(old, c.selection);
        EXPECT_EQ(cut, c.expected) << c.selection.Left << "," << c.selection.Top << "\n" << Describe(cut);
    }
    EXPECT_THROW(CropPicture(old, Rect(1, 0, -3, 1)), Error);  // a negative width is refused
}

TEST(GeometryKernels, StretchSamplesLikeTheBufferStretch) {
    // Two independent nearest-neighbour implementations must pick the same source pixels.
    // Sources of 7 (padded rows) and 4 (unpadded) pixels wide.
    for (const Bitmap& source : {RandomPicture(7, 5, 4), RandomPicture(4, 4, 6), RandomPicture(1, 1, 2)}) {
        const std::vector<std::pair<int, int>> targets = {{14, 10}, {3, 2},  {7, 5},   {1, 1},
                                                          {20, 3},  {2, 17}, {13, 11}, {8, 8}};
        for (auto [w, h] : targets) {
            Bitmap ours(w, h), reference(w, h);
            StretchPicture(source, ours);
            reference.StretchDraw(Rect(0, 0, w, h), source);
            EXPECT_EQ(ours, reference) << source.Width() << "x" << source.Height() << " to " << w << "x" << h;
        }
    }
}

TEST(GeometryKernels, DoublingRepeatsEachPixelInBlocks) {
    Bitmap doubled(6, 4);
    StretchPicture(ThreeByTwo(), doubled);
    EXPECT_EQ(doubled, MakePicture(6, 4, {A, A, B, B, C, C, A, A, B, B, C, C,  //
                                          D, D, E, E, F, F, D, D, E, E, F, F}))
        << Describe(doubled);
}

// ---- The menu handlers over the document ----

TEST_F(GeometryTest, EveryHandlerWorksOnTheWholePictureAndSelectsIt) {
    const Bitmap old = RandomPicture(6, 4, 8);
    struct Case {
        const char* component;
        Bitmap expected;
    };
    Bitmap mirroredH = old, mirroredV = old;
    MirrorPicture(mirroredH, false);
    MirrorPicture(mirroredV, true);
    const Case cases[] = {
        {"HorisontallyMenu", mirroredH},
        {"VerticallyMenu", mirroredV},
        {"LeftMenu", RotatePicture(old, false)},
        {"RightMenu", RotatePicture(old, true)},
    };
    for (const Case& c : cases) {
        MainBitmap = old;
        SelRect = Rect(1, 1, 2, 2);
        view.redraws = 0;
        Run(c.component);
        EXPECT_EQ(MainBitmap, c.expected) << c.component;
        EXPECT_EQ(SelRect, Rect(0, 0, c.expected.Width() - 1, c.expected.Height() - 1)) << c.component;
        EXPECT_EQ(view.redraws, 1) << c.component;
        EXPECT_EQ(UndoBitmap, old) << c.component;
        EXPECT_FALSE(HourglassShown()) << c.component;
    }
}

// The batch tool lists each command with the menu path a user knows it by.
TEST(GeometryCommandList, EachCommandNamesItsMenuPath) {
    const std::pair<const char*, const char*> paths[] = {
        {"CropMenu", "Deforma > Ritaglia"},
        {"HorisontallyMenu", "Filtri > Specchia > Orizzontale"},
        {"VerticallyMenu", "Filtri > Specchia > Verticale"},
        {"ReflectionHorisontallyMenu", "Filtri > Riflessione > Orizzontale"},
        {"ReflectionVerticallyMenu", "Filtri > Riflessione > Verticale"},
        {"LeftMenu", "Deforma > Ruota > Sinistra"},
        {"RightMenu", "Deforma > Ruota > Destra"},
    };
    for (auto [component, path] : paths) {
        const NamedCommand* command = FindHeadlessCommand(component);
        ASSERT_NE(command, nullptr) << component;
        EXPECT_EQ(command->caption, path) << component;
    }
}

TEST_F(GeometryTest, CropUsesTheSelectionAndUndoBringsBackTheOldSize) {
    MainBitmap = RandomPicture(30, 40, 6);
    const Bitmap old = MainBitmap;
    SelRect = Rect(5, 7, 14, 26);
    Run("CropMenu");
    EXPECT_EQ(MainBitmap, CropPicture(old, Rect(5, 7, 14, 26)));
    EXPECT_EQ(SelRect, Rect(0, 0, 9, 19));
    EXPECT_TRUE(WorkBitmap.Empty());
    RestoreUndo();
    EXPECT_EQ(MainBitmap, old);
    EXPECT_EQ(SelRect, Rect(0, 0, 29, 39));
}

TEST_F(GeometryTest, UndoAfterRotationBringsBackTheOldSize) {
    MainBitmap = RandomPicture(5, 3, 1);
    const Bitmap old = MainBitmap;
    Run("RightMenu");
    EXPECT_EQ(MainBitmap.Width(), 3);
    EXPECT_EQ(MainBitmap.Height(), 5);
    RestoreUndo();
    EXPECT_EQ(MainBitmap, old);
    EXPECT_EQ(SelRect, Rect(0, 0, 4, 2));
}

TEST_F(GeometryTest, ReflectionIsStretchedOverTheWholePicture) {
    // Red 255, 10, 0 reflects to 127, 10, 127 and stretches to 255, 0, 255; green and blue alike.
    MainBitmap = MakePicture(3, 1, {RGB(255, 0, 40), RGB(10, 100, 90), RGB(0, 50, 80)});
    SelRect = Rect(1, 0, 1, 0);
    Run("ReflectionHorisontallyMenu");
    EXPECT_EQ(MainBitmap, MakePicture(3, 1, {RGB(255, 0, 0), RGB(0, 255, 255), RGB(255, 0, 0)}))
        << Describe(MainBitmap);
    EXPECT_EQ(SelRect, Rect(0, 0, 2, 0));
    EXPECT_EQ(view.redraws, 1);
}

TEST_F(GeometryTest, ReflectionOfAFlatChannelStopsBeforeTheRedraw) {
    // No red at all: the stretch divides by zero. The reflection stays, unstretched.
    const Bitmap old = MakePicture(2, 2, {RGB(0, 10, 20), RGB(0, 30, 40), RGB(0, 50, 60), RGB(0, 70, 80)});
    MainBitmap = old;
    SelRect = Rect(0, 0, 0, 0);
    try {
        Run("ReflectionVerticallyMenu");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), kDivisionByZero);
    }
    Bitmap reflected = old;
    ReflectPicture(reflected, true);
    EXPECT_EQ(MainBitmap, reflected) << Describe(MainBitmap);
    EXPECT_EQ(SelRect, Rect(0, 0, 1, 1));
    EXPECT_EQ(view.redraws, 0);
    EXPECT_FALSE(HourglassShown());
    RestoreUndo();
    EXPECT_EQ(MainBitmap, old);
}

// A picture the 3 × 3 mean visibly changes.
Bitmap Checkerboard(int w, int h) {
    Bitmap picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.SetPixel(x, y, (x + y) % 2 ? 0xFFFFFF : 0);
    return picture;
}

TEST_F(GeometryTest, ResizeSmoothsOnlyAnEnlargementWithTheBoxTicked) {
    struct Case {
        int oldW, oldH;  // what the window's labels say
        int w, h;
        bool interpolate;
        bool smoothed;
    } cases[] = {
        {40, 30, 64, 48, true, true},    // enlarged
        {40, 30, 64, 48, false, false},  // enlarged, box unticked
        {40, 30, 32, 24, true, false},   // shrunk
        {40, 30, 40, 30, true, false},   // unchanged
        {40, 30, 50, 20, true, true},    // wider and lower
        {40, 30, 40, 31, true, true},    // one row more
        {20, 20, 32, 24, true, true},    // the labels are older than the picture: they decide
    };
    for (const Case& c : cases) {
        MainBitmap = Checkerboard(40, 30);
        const Bitmap old = MainBitmap;
        Bitmap expected(c.w, c.h);
        StretchPicture(old, expected);
        if (c.smoothed) MeanKernel(expected, 1);
        view.redraws = 0;
        ResizeOK(c.oldW, c.oldH, c.w, c.h, c.interpolate);
        EXPECT_EQ(MainBitmap, expected) << c.w << "x" << c.h << " interpolate " << c.interpolate;
        EXPECT_EQ(SelRect, Rect(0, 0, c.w - 1, c.h - 1));
        EXPECT_EQ(view.redraws, 1);
        EXPECT_EQ(UndoBitmap, old);
    }
}

TEST_F(GeometryTest, BatchResizeComparesWithThePicturesOwnSize) {
    MainBitmap = Checkerboard(10, 10);
    Bitmap expected(20, 5);
    StretchPicture(MainBitmap, expected);
    MeanKernel(expected, 1);
    ResizeOK(20, 5, true);
    EXPECT_EQ(MainBitmap, expected);
    RestoreUndo();
    EXPECT_EQ(MainBitmap, Checkerboard(10, 10));
}

TEST_F(GeometryTest, ResizeToAnImpossibleSizeLeavesThePicture) {
    MainBitmap = RandomPicture(4, 4, 1);
    const Bitmap old = MainBitmap;
    SelRect = Rect(1, 1, 2, 2);
    EXPECT_THROW(Resize(-5, 10), Error);
    EXPECT_THROW(Resize(100000, 10), Error);
    EXPECT_EQ(MainBitmap, old);
    EXPECT_EQ(SelRect, Rect(1, 1, 2, 2));
}

}  // namespace
}  // namespace lf

// The document routines: selection, clamping, intensity and the one level of undo.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "app/Document.h"
#include "support/TestData.h"

// Exhausted memory on request: the next array allocation of at least this many bytes fails,
// as a picture buffer's would when memory runs out.
namespace {
size_t failArraysFrom = 0;
}

void* operator new[](size_t size) {
    if (failArraysFrom != 0 && size >= failArraysFrom) {
        failArraysFrom = 0;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace lf {
namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ResetDocument(); }
    void TearDown() override { ResetDocument(); }
};

TEST_F(DocumentTest, SelectAllOnTheEmptyPictureSelectsNothing) {
    SelectAll();
    EXPECT_EQ(SelRect, Rect(0, 0, -1, -1));
    EXPECT_TRUE(NothingSelected());
}

TEST_F(DocumentTest, NothingSelectedOnThinOrReversedSelections) {
    struct Case {
        TRect sel;
        bool nothing;
    } cases[] = {
        {Rect(0, 0, 1, 1), false}, {Rect(0, 0, 0, 5), true},      {Rect(0, 0, 5, 0), true},
        {Rect(5, 5, 1, 9), true},  {Rect(10, 10, 19, 29), false},
    };
    for (const Case& c : cases) {
        SelRect = c.sel;
        EXPECT_EQ(NothingSelected(), c.nothing)
            << c.sel.Left << "," << c.sel.Top << "," << c.sel.Right << "," << c.sel.Bottom;
    }
}

TEST_F(DocumentTest, ClampAndIntensity) {
    EXPECT_EQ(Clamp(-1), 0);
    EXPECT_EQ(Clamp(0), 0);
    EXPECT_EQ(Clamp(255), 255);
    EXPECT_EQ(Clamp(256), 255);
    EXPECT_EQ(Clamp(300), 255);
    const uint8_t a[3] = {254, 255, 255};  // blue, green, red
    const uint8_t b[3] = {0, 1, 1};
    EXPECT_EQ(Intensity(a), 254);
    EXPECT_EQ(Intensity(b), 0);
}

TEST_F(DocumentTest, RedrawOrdersTheCorners) {
    SelRect = Rect(50, 40, 10, 5);
    ReDraw();
    EXPECT_EQ(SelRect, Rect(10, 5, 50, 40));
}

TEST_F(DocumentTest, UndoRestoresSizeAndPixelsOnce) {
    MainBitmap = test::RandomPicture(4, 3, 7);
    const Bitmap before = MainBitmap;
    UpdateUndo();
    EXPECT_TRUE(UndoAvailable);
    MainBitmap = test::SolidPicture(9, 9, 0);
    SelRect = Rect(1, 1, 2, 2);
    RestoreUndo();
    EXPECT_EQ(MainBitmap, before);
    EXPECT_EQ(SelRect, Rect(0, 0, 3, 2));
    EXPECT_FALSE(UndoAvailable);
}

// The snapshot and the undo each need a second copy of a picture; when it cannot be had the
// command ends with the error, and neither the picture nor the snapshot may be lost.
TEST_F(DocumentTest, AnUndoCopyThatCannotBeAllocatedLosesNothing) {
    MainBitmap = test::RandomPicture(4, 3, 7);
    const Bitmap first = MainBitmap;
    UpdateUndo();
    MainBitmap = test::SolidPicture(6, 5, 0x0000FF);
    const Bitmap second = MainBitmap;

    failArraysFrom = 36;
    EXPECT_THROW(UpdateUndo(), std::bad_alloc);
    EXPECT_EQ(UndoBitmap, first);
    EXPECT_EQ(MainBitmap, second);
    EXPECT_TRUE(UndoAvailable);

    failArraysFrom = 36;
    EXPECT_THROW(RestoreUndo(), std::bad_alloc);
    EXPECT_EQ(MainBitmap, second);
    EXPECT_TRUE(UndoAvailable);

    RestoreUndo();
    EXPECT_EQ(MainBitmap, first);
}

TEST_F(DocumentTest, CaptionNamesTheFile) {
    EXPECT_EQ(WindowCaption(), "Lumaforge");
    CurrentFile = "/tmp/a.bmp";
    EXPECT_EQ(WindowCaption(), "Lumaforge - /tmp/a.bmp");
}

}  // namespace
}  // namespace lf

// The geometry commands and the resize window reached as a user reaches them: from the main
// window's menu, on a picture opened at start-up, with the window's size and undo read after.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "app/Document.h"
#include "app/Geometry.h"
#include "app/Main.h"
#include "app/PictureFiles.h"
#include "app/Resize.h"
#include "filters/Neighbourhood.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

namespace lf {
namespace {

class GeometryMenu : public ::testing::Test {
protected:
    void SetUp() override { ResetDocument(); }
    void TearDown() override {
        main_.reset();
        delete ResizeForm;
        ResizeForm = nullptr;
        ResetDocument();
    }

    // The picture as a file named on the command line, as a user starts the program with it.
    TMainForm& StartWith(const Bitmap& picture) {
        const std::string path = temp_.File("picture.bmp");
        MainBitmap = picture;
        SaveFile(path);
        ResetDocument();
        main_ = std::make_unique<TMainForm>(QStringList{QString::fromStdString(path)});
        main_->show();
        return *main_;
    }
    void Choose(const char* name) {
        QAction* action = main_->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    bool Enabled(const char* name) { return main_->findChild<QAction*>(name)->isEnabled(); }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(main_->ClientArea(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseRelease(main_->ClientArea(), Qt::LeftButton, Qt::NoModifier, to);
    }

    test::TempDir temp_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<TMainForm> main_;
};

// Stripes the 3 × 3 mean visibly changes.
Bitmap Stripes(int w, int h) {
    Bitmap picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.SetPixel(x, y, (x / 3 + y / 2) % 2 ? 0xFFFFFF : 0x102030);
    return picture;
}

TEST_F(GeometryMenu, ResizeFromTheMenuScalesThePictureTheWindowShowsAndUndoes) {
    const Bitmap old = Stripes(400, 300);
    TMainForm& form = StartWith(old);
    Drag({10, 10}, {50, 40});
    Choose("ResizeMenu");
    ASSERT_NE(ResizeForm, nullptr);
    ASSERT_TRUE(ResizeForm->isVisible());
    EXPECT_EQ(ResizeForm->WidthLabel->text().toStdString(), "400");
    EXPECT_EQ(ResizeForm->HeightLabel->text().toStdString(), "300");
    QTest::mouseClick(ResizeForm->Button2, Qt::LeftButton);
    QTest::mouseClick(ResizeForm->OKButton, Qt::LeftButton);

    EXPECT_FALSE(ResizeForm->isVisible());
    Bitmap expected(640, 480);
    StretchPicture(old, expected);
    MeanKernel(expected, 1);
    EXPECT_EQ(MainBitmap, expected);
    EXPECT_EQ(SelRect, Rect(0, 0, 639, 479));
    EXPECT_EQ(form.ClientArea()->size(), QSize(640, 480));
    EXPECT_TRUE(Enabled("UndoMenu"));

    Choose("UndoMenu");
    EXPECT_EQ(MainBitmap, old);
    EXPECT_EQ(form.ClientArea()->size(), QSize(400, 300));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(GeometryMenu, ATurnIgnoresThePartialSelectionAndResizesTheWindow) {
    const Bitmap old = test::RandomPicture(300, 280, 4);
    TMainForm& form = StartWith(old);
    Drag({20, 30}, {60, 70});
    ASSERT_EQ(SelRect, Rect(20, 30, 60, 70));
    Choose("LeftMenu");
    EXPECT_EQ(MainBitmap, RotatePicture(old, false));
    EXPECT_EQ(SelRect, Rect(0, 0, 279, 299));
    EXPECT_EQ(form.ClientArea()->size(), QSize(280, 300));
    Choose("UndoMenu");
    EXPECT_EQ(MainBitmap, old);
    EXPECT_FALSE(Enabled("UndoMenu"));
}

TEST_F(GeometryMenu, AReflectionWithoutRedShowsTheErrorAndUndoesToTheOriginal) {
    Bitmap old(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) old.SetPixel(x, y, RGB(0, 20 * x + y, 200 - 30 * y));
    StartWith(old);
    Choose("ReflectionVerticallyMenu");
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].kind, test::ShownMessage::Error);
    EXPECT_EQ(dialogs_.shown[0].text, "Floating point division by zero.");
    Bitmap reflected = old;  // reflected, not stretched
    ReflectPicture(reflected, true);
    EXPECT_EQ(MainBitmap, reflected);
    ASSERT_TRUE(Enabled("UndoMenu"));
    Choose("UndoMenu");
    EXPECT_EQ(MainBitmap, old);
}

}  // namespace
}  // namespace lf

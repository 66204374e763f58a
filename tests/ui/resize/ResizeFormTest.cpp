// The resize window as a user meets it: opened on a picture, bars moved, boxes ticked, presets
// and OK or Cancel clicked; then the labels, the bars, the picture and the undo state are read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>

#include "app/Document.h"
#include "app/Geometry.h"
#include "app/Resize.h"
#include "app/ScrollBar.h"
#include "filters/Neighbourhood.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

namespace lf {
namespace {

std::string Text(const QLabel* label) { return label->text().toStdString(); }

// A picture the 3 × 3 mean visibly changes, so a smoothed result differs from a blocky one.
Bitmap Stripes(int w, int h) {
    Bitmap picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.SetPixel(x, y, (x / 3 + y / 2) % 2 ? 0xFFFFFF : 0x102030);
    return picture;
}

class ResizeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ResizeForm = &form;
    }
    void TearDown() override {
        ResizeForm = nullptr;
        ResetDocument();
    }
    void OpenOn(const Bitmap& picture) {
        MainBitmap = picture;
        SelectAll();
        form.Open();
    }
    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    test::ScriptedDialogs dialogs;
    TResizeForm form;
};

TEST_F(ResizeWindow, ControlsSitWhereTheyBelong) {
    EXPECT_EQ(form.windowTitle().toStdString(), "Ridimensiona");
    EXPECT_EQ(form.size(), QSize(362, 253));
    EXPECT_TRUE(form.windowFlags() & Qt::Tool);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form.isVisible());

    struct Control {
        const char* name;
        const char* text;
        QRect place;  // an empty size: only the position is fixed
        QWidget* parent;
    } controls[] = {
        {"GroupBox1", "Proprietà", QRect(8, 8, 345, 201), &form},
        {"Label1", "Larghezza:", QRect(24, 24, 0, 0), form.GroupBox1},
        {"WidthLabel", "0", QRect(80, 24, 0, 0), form.GroupBox1},
        {"Label2", "Altezza:", QRect(24, 48, 0, 0), form.GroupBox1},
        {"HeightLabel", "0", QRect(80, 48, 0, 0), form.GroupBox1},
        {"Label5", "Dimensioni standard", QRect(240, 32, 0, 0), form.GroupBox1},
        {"RatioCheckBox", "Mantieni proporzioni", QRect(8, 80, 129, 17), form.GroupBox1},
        {"InterpolationCheckBox", "&Utilizza pseudo interpolazione quando ingrandisci",
         QRect(8, 104, 249, 17), form.GroupBox1},
        {"Label4", "Nuova larghezza:", QRect(8, 136, 0, 0), form.GroupBox1},
        {"WidthScrollBar", "", QRect(96, 136, 121, 13), form.GroupBox1},
        {"NewWidthLabel", "0000", QRect(224, 136, 0, 0), form.GroupBox1},
        {"Label3", "Nuova altezza:", QRect(16, 168, 0, 0), form.GroupBox1},
        {"HeightScrollBar", "", QRect(96, 168, 121, 13), form.GroupBox1},
        {"NewHeightLabel", "0000", QRect(224, 168, 0, 0), form.GroupBox1},
        {"Button1", "&320 X 240", QRect(264, 56, 65, 17), form.GroupBox1},
        {"Button2", "&640 X 480", QRect(264, 80, 65, 17), form.GroupBox1},
        {"Button3", "&800 X 600", QRect(264, 104, 65, 17), form.GroupBox1},
        {"Button4", "&1024 X 768", QRect(264, 128, 65, 17), form.GroupBox1},
        {"Button5", "11&52 X 864", QRect(264, 152, 65, 17), form.GroupBox1},
        {"Button6", "1&280 X 1024", QRect(264, 176, 65, 17), form.GroupBox1},
        {"OKButton", "&OK", QRect(184, 216, 75, 25), &form},
        {"CancelButton", "&Cancella", QRect(272, 216, 75, 25), &form},
    };
    for (const Control& c : controls) {
        QWidget* w = form.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->parentWidget(), c.parent) << c.name;
        EXPECT_EQ(w->pos(), c.place.topLeft()) << c.name;
        if (!c.place.size().isEmpty()) {
            EXPECT_EQ(w->size(), c.place.size()) << c.name;
        }
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        if (auto* box = qobject_cast<QGroupBox*>(w)) text = box->title();
        EXPECT_EQ(text.toStdString(), c.text) << c.name;
    }
    EXPECT_EQ(form.OKButton->toolTip().toStdString(), "OK");
    EXPECT_EQ(form.CancelButton->toolTip().toStdString(), "Cancel");
    EXPECT_FALSE(form.RatioCheckBox->isChecked());
    EXPECT_TRUE(form.InterpolationCheckBox->isChecked());
    for (ScrollBar* bar : {form.WidthScrollBar, form.HeightScrollBar}) {
        EXPECT_EQ(bar->Min(), 10);
        EXPECT_EQ(bar->Max(), 2500);
        EXPECT_EQ(bar->Position(), 10);
        EXPECT_EQ(bar->pageStep(), 100);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    }
}

TEST_F(ResizeWindow, TabWalksTheControlsInOrder) {
    OpenOn(test::SolidPicture(40, 30, 0));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.RatioCheckBox->setFocus();
    const std::vector<QWidget*> order = {form.RatioCheckBox,  form.InterpolationCheckBox,
                                         form.WidthScrollBar, form.HeightScrollBar,
                                         form.Button1,        form.Button2,
                                         form.Button3,        form.Button4,
                                         form.Button5,        form.Button6};
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << "stop " << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST_F(ResizeWindow, OpeningShowsTheOldSizeAndFitsTheHeightBar) {
    OpenOn(test::SolidPicture(400, 300, 0));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Text(form.WidthLabel), "400");
    EXPECT_EQ(Text(form.HeightLabel), "300");
    EXPECT_EQ(form.WidthScrollBar->Position(), 400);
    EXPECT_EQ(form.HeightScrollBar->Position(), 300);
    EXPECT_EQ(Text(form.NewWidthLabel), "400");
    EXPECT_EQ(Text(form.NewHeightLabel), "300");
    EXPECT_EQ(form.HeightScrollBar->Max(), 1875);  // 300 × 2500 div 400
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ResizeWindow, ATallPictureStartsAtTheMaximumLeftByTheLastOpening) {
    OpenOn(test::SolidPicture(400, 300, 0));
    form.CancelButton->click();
    OpenOn(test::SolidPicture(100, 2000, 0));
    EXPECT_EQ(form.HeightScrollBar->Position(), 1875);
    EXPECT_EQ(Text(form.NewHeightLabel), "1875");
    EXPECT_EQ(Text(form.HeightLabel), "2000");
    EXPECT_EQ(form.HeightScrollBar->Max(), 50000);
}

TEST_F(ResizeWindow, AVeryWidePictureRefusesTheHeightMaximum) {
    OpenOn(test::SolidPicture(400, 300, 0));
    form.CancelButton->click();
    OpenOn(test::SolidPicture(2600, 10, 0));  // 10 × 2500 div 2600 = 9, below the minimum
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, test::ShownMessage::Error);
    EXPECT_EQ(dialogs.shown[0].text, "Scrollbar property out of range.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.HeightScrollBar->Max(), 1875);
    EXPECT_EQ(form.WidthScrollBar->Position(), 2500);

    // The window system's report of that activation does not run the handler a second time;
    // coming back to the window from another one does.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(ResizeWindow, KeepingTheProportionsFollowsTheWidthBar) {
    OpenOn(test::SolidPicture(400, 300, 0));
    Click(form.RatioCheckBox);
    EXPECT_TRUE(form.RatioCheckBox->isChecked());
    EXPECT_TRUE(form.HeightScrollBar->isHidden());
    EXPECT_EQ(form.HeightScrollBar->Position(), 300);

    form.WidthScrollBar->SetPosition(533);
    EXPECT_EQ(Text(form.NewWidthLabel), "533");
    EXPECT_EQ(form.HeightScrollBar->Position(), 399);  // 300 × 533 div 400, truncated
    EXPECT_EQ(Text(form.NewHeightLabel), "399");

    // The user's own step on the width bar keeps the height in proportion too.
    form.WidthScrollBar->setFocus();
    QTest::keyClick(form.WidthScrollBar, Qt::Key_Right);
    EXPECT_EQ(Text(form.NewWidthLabel), "534");
    EXPECT_EQ(Text(form.NewHeightLabel), "400");

    // A click on the interpolation box re-applies the proportion.
    form.HeightScrollBar->SetPosition(50);
    Click(form.InterpolationCheckBox);
    EXPECT_FALSE(form.InterpolationCheckBox->isChecked());
    EXPECT_EQ(form.HeightScrollBar->Position(), 400);

    Click(form.RatioCheckBox);
    EXPECT_FALSE(form.HeightScrollBar->isHidden());
}

TEST_F(ResizeWindow, PresetsScaleThePictureAndSmoothOnlyAnEnlargement) {
    struct Case {
        QPushButton* TResizeForm::*button;
        bool interpolate;
        int w, h;
        bool smoothed;
    } cases[] = {
        {&TResizeForm::Button2, true, 640, 480, true},
        {&TResizeForm::Button2, false, 640, 480, false},
        {&TResizeForm::Button1, true, 320, 240, false},
        {&TResizeForm::Button3, true, 800, 600, true},
    };
    for (const Case& c : cases) {
        ResetDocument();
        const Bitmap old = Stripes(400, 300);
        OpenOn(old);
        Click(form.RatioCheckBox);  // ticked: the preset unticks it again
        form.InterpolationCheckBox->setChecked(c.interpolate);
        Click(form.*c.button);
        EXPECT_FALSE(form.RatioCheckBox->isChecked());
        EXPECT_FALSE(form.HeightScrollBar->isHidden());
        EXPECT_EQ(Text(form.NewWidthLabel), std::to_string(c.w));
        EXPECT_EQ(Text(form.NewHeightLabel), std::to_string(c.h));
        EXPECT_FALSE(UndoAvailable);  // nothing happens before OK

        Click(form.OKButton);
        EXPECT_FALSE(form.isVisible());
        Bitmap expected(c.w, c.h);
        StretchPicture(old, expected);
        if (c.smoothed) MeanKernel(expected, 1);
        EXPECT_EQ(MainBitmap, expected) << c.w << "x" << c.h << " interpolate " << c.interpolate;
        EXPECT_EQ(SelRect, Rect(0, 0, c.w - 1, c.h - 1));
        EXPECT_TRUE(UndoAvailable);

        RestoreUndo();  // undo brings back the old size and pixels
        EXPECT_EQ(MainBitmap, old);
    }
    form.InterpolationCheckBox->setChecked(true);
}

TEST_F(ResizeWindow, ALargePresetIsHeldByTheHeightMaximum) {
    const Bitmap old = Stripes(2000, 400);
    OpenOn(old);
    EXPECT_EQ(form.HeightScrollBar->Max(), 500);
    Click(form.Button6);
    EXPECT_EQ(Text(form.NewWidthLabel), "1280");
    EXPECT_EQ(Text(form.NewHeightLabel), "500");
    Click(form.OKButton);
    ASSERT_EQ(MainBitmap.Width(), 1280);
    ASSERT_EQ(MainBitmap.Height(), 500);
    Bitmap expected(1280, 500);  // taller than before, so smoothed
    StretchPicture(old, expected);
    MeanKernel(expected, 1);
    EXPECT_EQ(MainBitmap, expected);
}

TEST_F(ResizeWindow, CancelLeavesThePictureAndTheUndoState) {
    const Bitmap old = Stripes(400, 300);
    OpenOn(old);
    Click(form.Button4);
    Click(form.CancelButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(MainBitmap, old);
    EXPECT_FALSE(UndoAvailable);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ResizeWindow, OKComparesWithTheSizeTheWindowWasOpenedOn) {
    // The window is modeless: a new picture arrives while it is open.
    OpenOn(Stripes(100, 100));
    MainBitmap = Stripes(400, 300);
    const Bitmap current = MainBitmap;
    form.WidthScrollBar->SetPosition(200);
    form.HeightScrollBar->SetPosition(150);
    Click(form.OKButton);
    Bitmap expected(200, 150);  // smaller than the picture, larger than the labels: smoothed
    StretchPicture(current, expected);
    MeanKernel(expected, 1);
    EXPECT_EQ(MainBitmap, expected);
}

}  // namespace
}  // namespace lf

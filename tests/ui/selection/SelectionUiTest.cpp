// Selecting with the mouse, select-all, the zoom window and the statistics report, as a user
// meets them: presses and drags on the canvas, menu items triggered by name, then the
// selection, the caption, the screen, the zoom window's pixels and the message texts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/Main.h"
#include "app/Zoom.h"
#include "platform/Clipboard.h"
#include "platform/Cursor.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

namespace lf {

void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

const char* const kNothingSelected = "Nothing selected.\r\nSelecting all.";
const char* const kSelecting = "Release mouse button to end selection!";
const char* const kFile = "/home/anna/foto/prova.bmp";

// A picture whose every pixel tells where it comes from, with no pure white in it.
Bitmap PatternPicture(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetPixel(x, y, RGB(x * 2 % 251, y * 3 % 241, (x + y) % 200));
    return picture;
}

class SelectionUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        // The program entry creates the zoom window right after the main window.
        form = std::make_unique<TMainForm>();
        if (!ZoomForm) ZoomForm = new TZoomForm();
        ZoomForm->hide();
        ZoomMenu()->setChecked(false);
        Arrive(PatternPicture(100, 50), kFile);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        dialogs.shown.clear();
    }
    void TearDown() override {
        ZoomForm->hide();
        form.reset();
        ResetDocument();
    }

    // A picture arrives as from a file.
    void Arrive(const Bitmap& picture, const std::string& file) {
        MainBitmap = picture;
        CurrentFile = file;
        SelectAll();
        form->PictureArrived();
        form->ReDraw();
    }

    QWidget* Canvas() const { return form->ClientArea(); }
    QAction* ZoomMenu() const { return form->Action("ZoomMenu"); }
    std::string Caption() const { return form->windowTitle().toStdString(); }
    QRgb ScreenAt(int x, int y) const { return form->Screen().pixel(x, y) & 0xFFFFFF; }

    void Press(Qt::MouseButton button, QPoint p) { QTest::mousePress(Canvas(), button, {}, p); }
    void Release(Qt::MouseButton button, QPoint p) { QTest::mouseRelease(Canvas(), button, {}, p); }
    // A movement to where the pointer already is never arrives, so step beside the point
    // first. QTest takes a point (0, 0) for "the widget's middle"; that one point goes through
    // the window instead (only without a button held, where no grab is involved).
    void MoveTo(QPoint p) {
        QTest::mouseMove(Canvas(), p + QPoint(1, 1));
        if (p.isNull())
            QTest::mouseMove(form.get(), Canvas()->mapTo(form.get(), p));
        else
            QTest::mouseMove(Canvas(), p);
    }
    void Drag(QPoint from, QPoint to) {
        Press(Qt::LeftButton, from);
        MoveTo((from + to) / 2);
        Release(Qt::LeftButton, to);
    }

    // Every pixel the text would set (in the window's text font, white) is white on the screen.
    bool ScreenShowsText(const QString& text, int x, int y) const {
        QImage mask(form->Screen().size(), QImage::Format_ARGB32);
        mask.fill(Qt::transparent);
        {
            QPainter painter(&mask);
            painter.setFont(form->TextFont());
            painter.setPen(Qt::white);
            painter.drawText(QRect(x, y, mask.width(), 15),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, text);
        }
        int inked = 0;
        for (int py = 0; py < mask.height(); ++py)
            for (int px = 0; px < mask.width(); ++px)
                if (qAlpha(mask.pixel(px, py)) > 0) {
                    ++inked;
                    if (ScreenAt(px, py) != 0xFFFFFF) return false;
                }
        return inked > 0;
    }

    test::ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(SelectionUiTest, DraggingTenByTwentyMarksAndFramesTheSelection) {
    Press(Qt::LeftButton, QPoint(10, 10));
    EXPECT_EQ(Caption(), kSelecting);
    // The start marker: ten white pixels right and ten down, the end points left out.
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ScreenAt(10 + i, 10), 0xFFFFFFu) << i;
        EXPECT_EQ(ScreenAt(10, 10 + i), 0xFFFFFFu) << i;
    }
    EXPECT_NE(ScreenAt(20, 10), 0xFFFFFFu);
    EXPECT_NE(ScreenAt(10, 20), 0xFFFFFFu);
    EXPECT_NE(ScreenAt(11, 11), 0xFFFFFFu);
    // The marker is on the screen only.
    EXPECT_EQ(MainBitmap, PatternPicture(100, 50));

    MoveTo(QPoint(15, 20));
    EXPECT_EQ(SelRect, Rect(10, 10, 99, 49)) << "no frame follows the pointer";
    Release(Qt::LeftButton, QPoint(19, 29));

    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Caption(), std::string("Lumaforge - ") + kFile);
    EXPECT_TRUE(ScreenShowsText("Selezione larghezza: 10", 10, 10));
    EXPECT_TRUE(ScreenShowsText("             Altezza: 20", 10, 25));
    EXPECT_FALSE(ScreenShowsText("             Altezza: 50", 10, 25));
    EXPECT_EQ(MainBitmap, PatternPicture(100, 50));
}

TEST_F(SelectionUiTest, AClickOrABackwardOrThinDragSelectsAllAfterTheMessage) {
    struct Case {
        const char* what;
        QPoint from, to;
    } cases[] = {
        {"click without moving", {30, 30}, {30, 30}},
        {"drag up and left", {50, 40}, {20, 20}},
        {"one row", {10, 30}, {60, 30}},
        {"release left of the window", {30, 30}, {-40, 45}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelRect = Rect(5, 5, 9, 9);
        form->ReDraw();
        dialogs.shown.clear();
        Drag(c.from, c.to);
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kNothingSelected});
        EXPECT_EQ(SelRect, Rect(0, 0, 99, 49));
        EXPECT_EQ(Caption(), std::string("Lumaforge - ") + kFile);
        // The redraw took the start marker away again.
        EXPECT_NE(ScreenAt(c.from.x() + 5, c.from.y()), 0xFFFFFFu);
        EXPECT_TRUE(ScreenShowsText("Selezione larghezza: 100", 10, 10));
    }
}

TEST_F(SelectionUiTest, SelectionsReachingOutsideThePictureAreKeptAsTheyAre) {
    struct Case {
        const char* what;
        QPoint from, to;
        TRect expected;
    } cases[] = {
        {"release beyond the right edge of the window", {10, 10}, {400, 40}, Rect(10, 10, 400, 40)},
        {"release below the window", {10, 10}, {40, 90}, Rect(10, 10, 40, 90)},
        {"press in the grey margin", {200, 10}, {250, 40}, Rect(200, 10, 250, 40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.shown.clear();
        Drag(c.from, c.to);
        EXPECT_EQ(SelRect, c.expected);
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(MainBitmap, PatternPicture(100, 50));
    }
    // The last one: the frame stands in the margin, where the window shows grey.
    EXPECT_EQ(ScreenAt(230, 5), 0x808080u);
    const QRgb leftEdge = ScreenAt(200, 25);
    EXPECT_TRUE(leftEdge == 0 || leftEdge == 0xFFFF00) << std::hex << leftEdge;
}

TEST_F(SelectionUiTest, CtrlAAndTheMenuItemSelectAllAfterADrag) {
    Drag(QPoint(10, 10), QPoint(19, 29));
    ASSERT_EQ(SelRect, Rect(10, 10, 19, 29));
    QAction* selectAll = form->Action("SelectallMenu");
    ASSERT_NE(selectAll, nullptr);
    EXPECT_EQ(selectAll->shortcut(), QKeySequence("Ctrl+A"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(SelRect, Rect(0, 0, 99, 49));
    Drag(QPoint(10, 10), QPoint(19, 29));
    selectAll->trigger();
    EXPECT_EQ(SelRect, Rect(0, 0, 99, 49));
    EXPECT_TRUE(ScreenShowsText("             Altezza: 50", 10, 25));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SelectionUiTest, ARedrawOutOfMemoryAfterTheReleaseReachesTheErrorBox) {
    // The redraw throws when it cannot allocate the screen image; coming from the mouse it
    // must end in the error box like any command, not escape the event loop.
    struct OutOfMemoryView final : DocumentView {
        void ReDraw() override { throw std::bad_alloc(); }
        void UndoEnabledChanged(bool) override {}
        void PictureArrived() override {}
    } failing;
    struct Restore {
        TMainForm* form;
        ~Restore() { SetDocumentView(form); }
    } restore{form.get()};
    SetDocumentView(&failing);
    EXPECT_NO_THROW(Drag(QPoint(10, 10), QPoint(19, 29)));
    EXPECT_EQ(dialogs.shown,
              (std::vector<test::ShownMessage>{{test::ShownMessage::Error, "Out of memory."}}));
    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
}

TEST_F(SelectionUiTest, OtherButtonsAndTheZoomCommandToggleTheZoomWindow) {
    ASSERT_NE(ZoomMenu(), nullptr);
    EXPECT_FALSE(ZoomForm->isVisible());
    SelRect = Rect(10, 10, 19, 29);
    form->ReDraw();

    Press(Qt::RightButton, QPoint(40, 20));
    EXPECT_TRUE(ZoomForm->isVisible());
    EXPECT_TRUE(ZoomMenu()->isChecked());
    EXPECT_EQ(Caption(), kSelecting);
    Release(Qt::RightButton, QPoint(40, 20));
    EXPECT_EQ(Caption(), std::string("Lumaforge - ") + kFile);
    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
    EXPECT_TRUE(dialogs.shown.empty());

    QTest::mouseClick(Canvas(), Qt::MiddleButton, {}, QPoint(60, 30));
    EXPECT_FALSE(ZoomForm->isVisible());
    EXPECT_FALSE(ZoomMenu()->isChecked());

    // The menu item: the check mark follows the window, whatever the trigger itself toggles.
    ZoomMenu()->trigger();
    EXPECT_TRUE(ZoomForm->isVisible());
    EXPECT_TRUE(ZoomMenu()->isChecked());
    QTest::mouseClick(Canvas(), Qt::RightButton, {}, QPoint(60, 30));
    EXPECT_FALSE(ZoomForm->isVisible());
    EXPECT_FALSE(ZoomMenu()->isChecked());
    ZoomMenu()->trigger();
    ZoomMenu()->trigger();
    EXPECT_FALSE(ZoomForm->isVisible());
    EXPECT_FALSE(ZoomMenu()->isChecked());
    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
}

TEST_F(SelectionUiTest, TheZoomWindowIsAFixedToolWindowOnTop) {
    EXPECT_EQ(ZoomForm->windowTitle(), "Zoom");
    EXPECT_EQ(ZoomForm->size(), QSize(157, 117));
    EXPECT_EQ(ZoomForm->pos(), QPoint(574, 110));
    const Qt::WindowFlags flags = ZoomForm->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(ZoomForm->minimumSize(), ZoomForm->maximumSize());
}

// The zoom window's pixel (u, v) shows the screen pixel around the pointer that nearest
// neighbour scaling of the 80 × 60 buffer into 159 × 119 picks: the buffer column under u is
// one whose span [c × 159/80, (c + 1) × 159/80) meets u's, the row likewise, and one column is
// used all the way down, one row all the way across.
std::vector<int> SourcesUnder(int t, int sourceSize, int targetSize) {
    std::vector<int> out;
    for (int s = t * sourceSize / targetSize; s * targetSize < (t + 1) * sourceSize; ++s) out.push_back(s);
    return out;
}

void ExpectZoomShows(const QImage& zoom, const QImage& screen, QPoint pointer) {
    ASSERT_EQ(zoom.size(), QSize(157, 117));
    const auto screenAt = [&](int bx, int by) -> QRgb {
        const QPoint p = pointer + QPoint(bx - 39, by - 29);
        return screen.rect().contains(p) ? screen.pixel(p) & 0xFFFFFF : 0;  // outside: black
    };
    const auto zoomAt = [&](int u, int v) { return zoom.pixel(u, v) & 0xFFFFFF; };
    // Columns, judged on the rows whose source row is beyond doubt.
    std::vector<int> columnOf(157, -1);
    for (int u = 0; u < 157; ++u) {
        for (int bx : SourcesUnder(u, 80, 159)) {
            bool all = true;
            for (int v = 0; v < 117 && all; ++v) {
                const std::vector<int> rows = SourcesUnder(v, 60, 119);
                if (rows.size() == 1) all = zoomAt(u, v) == screenAt(bx, rows[0]);
            }
            if (all) {
                columnOf[u] = bx;
                break;
            }
        }
        ASSERT_GE(columnOf[u], 0) << "zoom column " << u << " shows no screen column near it";
    }
    for (int v = 0; v < 117; ++v) {
        bool found = false;
        for (int by : SourcesUnder(v, 60, 119)) {
            bool all = true;
            for (int u = 0; u < 157 && all; ++u) all = zoomAt(u, v) == screenAt(columnOf[u], by);
            found = found || all;
        }
        ASSERT_TRUE(found) << "zoom row " << v << " shows no screen row near it";
    }
}

TEST(ZoomFeedTest, CopiesAroundThePointerBlackOutsideAndLeavesTheLastColumnAndRow) {
    // A 10 × 6 screen with a different colour at every pixel.
    QImage screen(10, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) screen.setPixel(x, y, qRgb(20 * x + 5, 40 * y + 3, 77));
    const uint32_t kept = RGB(1, 2, 3);
    struct Case {
        const char* what;
        QPoint pointer;
    } cases[] = {{"top-left corner", {0, 0}},
                 {"inside", {4, 3}},
                 {"bottom-right corner", {9, 5}},
                 {"far outside", {300, -200}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap buffer = test::SolidPicture(80, 60, kept);
        CopyScreenAround(screen, c.pointer.x(), c.pointer.y(), buffer);
        for (int by = 0; by < 60; ++by)
            for (int bx = 0; bx < 80; ++bx) {
                const QPoint p = c.pointer + QPoint(bx - 39, by - 29);
                uint32_t expected = kept;
                if (bx < 79 && by < 59) {
                    expected = 0;
                    if (screen.rect().contains(p)) {
                        const QRgb s = screen.pixel(p);
                        expected = RGB(qRed(s), qGreen(s), qBlue(s));
                    }
                }
                ASSERT_EQ(buffer.Pixel(bx, by), expected) << "buffer pixel " << bx << ", " << by;
            }
    }
    // A window without a picture has an empty screen: the copy is all black.
    Bitmap buffer = test::SolidPicture(80, 60, kept);
    Bitmap view = test::SolidPicture(157, 117, kept);
    ZoomFeed(QImage(), 5, 5, buffer, view);
    EXPECT_EQ(buffer.Pixel(0, 0), 0u);
    EXPECT_EQ(buffer.Pixel(78, 58), 0u);
    EXPECT_EQ(view.Pixel(0, 0), 0u);
    EXPECT_EQ(view.Pixel(156, 116), 0u);
}

TEST_F(SelectionUiTest, TheZoomWindowShowsTheScreenAroundThePointer) {
    ZoomMenu()->trigger();
    ASSERT_TRUE(ZoomForm->isVisible());
    // Over the size texts, the frame's corner and the picture; at the corner, where most of
    // the rectangle lies outside; and in the grey margin.
    for (QPoint pointer : {QPoint(50, 25), QPoint(0, 0), QPoint(99, 49), QPoint(230, 40), QPoint(12, 14)}) {
        SCOPED_TRACE(testing::Message() << pointer.x() << ", " << pointer.y());
        MoveTo(pointer);
        ExpectZoomShows(ZoomForm->grab().toImage(), form->Screen(), pointer);
    }
    // The pointer's own pixel sits in the middle.
    MoveTo(QPoint(50, 25));
    EXPECT_EQ(ZoomForm->grab().toImage().pixel(78, 58) & 0xFFFFFF, ScreenAt(50, 25));
    EXPECT_EQ(ZoomBitmap.Pixel(39, 29), MainBitmap.Pixel(50, 25));
}

TEST_F(SelectionUiTest, TheZoomFollowsADragOutsideAndShowsTheStartMarker) {
    Press(Qt::LeftButton, QPoint(90, 40));
    MoveTo(QPoint(95, 45));
    ExpectZoomShows(ZoomForm->grab().toImage(), form->Screen(), QPoint(95, 45));
    // The marker shows, doubled, left of and above the middle.
    const QImage zoom = ZoomForm->grab().toImage();
    EXPECT_EQ(zoom.pixel(70, 48) & 0xFFFFFF, 0xFFFFFFu);
    // The pointer leaves the window while the button is held: the feed goes on.
    MoveTo(QPoint(320, 70));
    ExpectZoomShows(ZoomForm->grab().toImage(), form->Screen(), QPoint(320, 70));
    EXPECT_EQ(ZoomForm->grab().toImage().pixel(78, 58) & 0xFFFFFF, 0u);
    Release(Qt::LeftButton, QPoint(320, 70));
    EXPECT_EQ(SelRect, Rect(90, 40, 320, 70));
}

TEST_F(SelectionUiTest, AHiddenZoomWindowShowsTheLastFeedWhenShown) {
    MoveTo(QPoint(30, 20));
    const QImage fed = ZoomForm->Image();
    ZoomMenu()->trigger();
    EXPECT_EQ(ZoomForm->grab().toImage().convertToFormat(QImage::Format_RGB32),
              fed.convertToFormat(QImage::Format_RGB32));
    ExpectZoomShows(fed, form->Screen(), QPoint(30, 20));
}

TEST_F(SelectionUiTest, StatisticsReportTheWholePictureInTheInformationBox) {
    Arrive(test::MakePicture(3, 2,
                             {RGB(0, 0, 0), RGB(255, 255, 255), RGB(10, 20, 30), RGB(40, 50, 60),
                              RGB(70, 80, 90), RGB(200, 100, 0)}),
           kFile);
    Drag(QPoint(0, 0), QPoint(1, 1));  // the selection plays no part
    const TRect selection = SelRect;
    const Bitmap before = MainBitmap;
    dialogs.shown.clear();
    // The hourglass while measuring, back to normal before the box comes up.
    std::vector<std::string> cursor;
    SetCursorHooks([&] { cursor.push_back("hourglass, messages: " + std::to_string(dialogs.shown.size())); },
                   [&] { cursor.push_back("normal, messages: " + std::to_string(dialogs.shown.size())); });
    form->Action("StatisticsMenu")->trigger();
    SetCursorHooks({}, {});
    EXPECT_EQ(cursor, (std::vector<std::string>{"hourglass, messages: 0", "normal, messages: 0"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, test::ShownMessage::Information);
    EXPECT_EQ(dialogs.shown[0].text, std::string("File: ") + kFile +
                                         "\r\nDimensioni: 3 X 2\r\n\r\nOttimizzata: si\r\n\r\n"
                                         "R: 0 to 255\r\nG: 0 to 255\r\nB: 0 to 255\r\n\r\nLuminosità: 33 %");
    EXPECT_EQ(MainBitmap, before);
    EXPECT_EQ(SelRect, selection);
    EXPECT_FALSE(form->Action("UndoMenu")->isEnabled());
}

TEST_F(SelectionUiTest, StatisticsAfterAPasteNameNoFile) {
    CurrentClipboard().SetPicture(test::SolidPicture(4, 4, RGB(255, 255, 255)));
    form->Action("PasteMenu")->trigger();
    dialogs.shown.clear();
    form->Action("StatisticsMenu")->trigger();
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{"File: \r\nDimensioni: 4 X 4\r\n\r\nOttimizzata: no\r\n\r\n"
                                       "R: 255 to 255\r\nG: 255 to 255\r\nB: 255 to 255\r\n\r\n"
                                       "Luminosità: 100 %"});
}

}  // namespace
}  // namespace lf

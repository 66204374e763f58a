// Selecting with the mouse, on the document alone: corners, the "nothing selected" fallback
// and when the window is redrawn.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/Selection.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

namespace lf {

// Corners in failure messages.
void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

// Records every redraw with what the user could see at that moment, then orders the corners
// as the real window does.
class RecordingView final : public DocumentView {
public:
    explicit RecordingView(const test::ScriptedDialogs& dialogs) : dialogs_(dialogs) {}
    struct Redraw {
        TRect selection;  // as the redraw found it
        size_t messagesBefore;
    };
    std::vector<Redraw> redraws;

    void ReDraw() override {
        redraws.push_back({SelRect, dialogs_.shown.size()});
        OrderSelection();
    }
    void UndoEnabledChanged(bool) override {}
    void PictureArrived() override {}

private:
    const test::ScriptedDialogs& dialogs_;
};

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        SetDocumentView(&view);
        MainBitmap = test::SolidPicture(100, 50, RGB(10, 20, 30));
        SelectAll();
    }
    void TearDown() override {
        SetDocumentView(nullptr);
        ResetDocument();
    }
    void Drag(int x0, int y0, int x1, int y1) {
        SelectionMouseDown(true, x0, y0);
        SelectionMouseUp(true, x1, y1);
    }

    test::ScriptedDialogs dialogs;
    RecordingView view{dialogs};
};

TEST_F(SelectionTest, LeftDragSetsTheCornersOrFallsBackToTheWholePicture) {
    const TRect whole = Rect(0, 0, 99, 49);
    struct Case {
        const char* what;
        int x0, y0, x1, y1;
        TRect expected;
        bool message;
    } cases[] = {
        {"10 x 20 drag", 10, 10, 19, 29, Rect(10, 10, 19, 29), false},
        {"smallest real selection", 10, 10, 11, 11, Rect(10, 10, 11, 11), false},
        {"click without moving", 30, 30, 30, 30, whole, true},
        {"backward drag", 50, 50, 20, 20, whole, true},
        {"drag to the left only", 50, 10, 20, 40, whole, true},
        {"drag upwards only", 10, 40, 50, 10, whole, true},
        {"one row", 10, 10, 40, 10, whole, true},
        {"one column", 10, 10, 10, 40, whole, true},
        {"release beyond the right edge", 10, 10, 300, 40, Rect(10, 10, 300, 40), false},
        {"release below the window", 10, 10, 40, 75, Rect(10, 10, 40, 75), false},
        {"press in the margin right of the picture", 200, 10, 250, 40, Rect(200, 10, 250, 40), false},
        {"release above and left of the window", 10, 10, -5, -5, whole, true},
        {"press outside to the left and above", -20, -8, 5, 5, Rect(-20, -8, 5, 5), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelRect = Rect(1, 2, 3, 4);
        dialogs.shown.clear();
        view.redraws.clear();
        Drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(SelRect, c.expected);
        if (c.message) {
            ASSERT_EQ(dialogs.shown.size(), 1u);
            EXPECT_EQ(dialogs.shown[0], (test::ShownMessage{test::ShownMessage::Information,
                                                            "Nothing selected.\r\nSelecting all."}));
        } else {
            EXPECT_TRUE(dialogs.shown.empty());
        }
        ASSERT_EQ(view.redraws.size(), 1u);
        // The message comes before the redraw, and the redraw already shows the fallback.
        EXPECT_EQ(view.redraws[0].messagesBefore, dialogs.shown.size());
        EXPECT_EQ(view.redraws[0].selection, c.expected);
    }
}

TEST_F(SelectionTest, ThePressAloneMovesTheAnchorAndDoesNotRedraw) {
    SelectionMouseDown(true, 60, 30);
    EXPECT_EQ(SelRect, Rect(60, 30, 99, 49));
    EXPECT_TRUE(view.redraws.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SelectionTest, ARedrawDuringTheDragOrdersTheHalfMadeSelection) {
    // Anchor beyond the old far corner: an expose in between swaps them, so the old corner
    // becomes the anchor that the release completes.
    SelectionMouseDown(true, 120, 10);
    ReDraw();
    EXPECT_EQ(SelRect, Rect(99, 10, 120, 49));
    SelectionMouseUp(true, 130, 40);
    EXPECT_EQ(SelRect, Rect(99, 10, 130, 40));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SelectionTest, OtherButtonsKeepTheSelectionButStillRedraw) {
    SelRect = Rect(10, 10, 19, 29);
    SelectionMouseDown(false, 70, 40);
    SelectionMouseUp(false, 5, 5);
    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(view.redraws.size(), 1u);
}

TEST_F(SelectionTest, OtherButtonsAlsoAnswerAThinSelection) {
    // A left press leaves a reversed half-made selection; a right click then completes nothing
    // but the release still applies the rule.
    SelectionMouseDown(true, 99, 49);
    SelRect.Right = 20;  // as if the corners had not been completed
    SelectionMouseUp(false, 0, 0);
    EXPECT_EQ(SelRect, Rect(0, 0, 99, 49));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Nothing selected.\r\nSelecting all."});
}

TEST_F(SelectionTest, OnAOnePixelWidePictureTheFallbackRunsOnce) {
    MainBitmap = test::SolidPicture(1, 30, 0);
    Drag(0, 0, 0, 29);
    EXPECT_EQ(SelRect, Rect(0, 0, 0, 29));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(view.redraws.size(), 1u);
}

}  // namespace
}  // namespace lf

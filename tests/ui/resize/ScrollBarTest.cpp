// The scroll bar's rules: clamped positions, change events only on a real change (by code, by a
// lower maximum, by the user), and a refused range.
#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "app/ScrollBar.h"
#include "platform/Errors.h"
#include "support/ScriptedDialogs.h"

namespace lf {
namespace {

struct Bar {
    Bar() : bar(Qt::Horizontal) {
        bar.setRange(10, 2500);
        bar.setPageStep(100);
        bar.setSingleStep(1);
        bar.setGeometry(0, 0, 121, 13);
        bar.OnChange = [this] { positions.push_back(bar.Position()); };
    }
    ScrollBar bar;
    std::vector<int> positions;  // the position each change event saw
};

TEST(ScrollBarRules, PositionsAreClampedAndOnlyRealChangesAreReported) {
    Bar b;
    struct Step {
        int set;
        int position;
        bool reported;
    } steps[] = {
        {700, 700, true},   {700, 700, false},   {5, 10, true},       {-40, 10, false},
        {3000, 2500, true}, {2501, 2500, false}, {2500, 2500, false}, {11, 11, true},
    };
    for (const Step& s : steps) {
        b.positions.clear();
        b.bar.SetPosition(s.set);
        EXPECT_EQ(b.bar.Position(), s.position) << "set " << s.set;
        EXPECT_EQ(b.positions, s.reported ? std::vector<int>{s.position} : std::vector<int>{})
            << "set " << s.set;
    }
}

TEST(ScrollBarRules, ALowerMaximumForcesThePositionDownOnce) {
    Bar b;
    b.bar.SetPosition(2000);
    b.positions.clear();
    b.bar.SetMax(1875);
    EXPECT_EQ(b.bar.Position(), 1875);
    EXPECT_EQ(b.positions, std::vector<int>{1875});
    b.positions.clear();
    b.bar.SetMax(2200);  // the position fits: nothing moves, nothing is reported
    EXPECT_EQ(b.bar.Position(), 1875);
    EXPECT_TRUE(b.positions.empty());
}

TEST(ScrollBarRules, ARangeBelowTheMinimumIsRefusedAndChangesNothing) {
    Bar b;
    b.bar.SetPosition(300);
    b.positions.clear();
    for (int maximum : {9, 0, -5}) {
        try {
            b.bar.SetMax(maximum);
            ADD_FAILURE() << "maximum " << maximum << " accepted";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Scrollbar property out of range");
        }
    }
    EXPECT_THROW(b.bar.SetMin(2501), Error);
    EXPECT_EQ(b.bar.Min(), 10);
    EXPECT_EQ(b.bar.Max(), 2500);
    EXPECT_EQ(b.bar.Position(), 300);
    EXPECT_TRUE(b.positions.empty());
    b.bar.SetMax(10);  // equal bounds are allowed
    EXPECT_EQ(b.bar.Position(), 10);
}

TEST(ScrollBarRules, TheUsersKeysAndClicksAreReported) {
    Bar b;
    b.bar.show();
    b.bar.setFocus();
    b.bar.SetPosition(400);
    b.positions.clear();
    struct Key {
        Qt::Key key;
        int position;
    } keys[] = {
        {Qt::Key_Right, 401},    {Qt::Key_Down, 402},   {Qt::Key_Left, 401}, {Qt::Key_Up, 400},
        {Qt::Key_PageDown, 500}, {Qt::Key_PageUp, 400}, {Qt::Key_End, 2500}, {Qt::Key_Home, 10},
    };
    for (const Key& k : keys) {
        b.positions.clear();
        QTest::keyClick(&b.bar, k.key);
        EXPECT_EQ(b.positions, std::vector<int>{k.position}) << "key " << k.key;
    }
    b.bar.SetPosition(400);
    b.positions.clear();
    // A click in the trough right of the thumb moves one large step.
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, QPoint(b.bar.width() - 25, b.bar.height() / 2));
    EXPECT_EQ(b.positions, std::vector<int>{500});
}

TEST(ScrollBarRules, AnErrorInTheChangeHandlerReachesTheErrorBox) {
    test::ScriptedDialogs dialogs;
    Bar b;
    b.bar.OnChange = [] { throw Error("Division by zero"); };
    b.bar.SetPosition(50);
    EXPECT_EQ(b.bar.Position(), 50);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, test::ShownMessage::Error);
    EXPECT_EQ(dialogs.shown[0].text, "Division by zero.");
}

}  // namespace
}  // namespace lf

// The command table as the menu and the batch tool run it: every row against the plain
// per-pixel reference on random pictures and selections, the undo and cursor around a command,
// the failing passes and the composite effects' defining properties.
#include <random>

#include "FilterFixture.h"
#include "Reference.h"
#include "filters/Filters.h"
#include "filters/SelectionPass.h"
#include "platform/CommandGuard.h"
#include "platform/Cursor.h"
#include "support/ScriptedDialogs.h"

namespace lf::test {
namespace {

using CommandTableTest = FilterTest;

TEST_F(CommandTableTest, RowsAreTheMenuInOrderWithTheirCaptions) {
    const auto& table = FilterCommands();
    ASSERT_EQ(table.front().component, std::string("BlackandwhiteMenu"));
    ASSERT_EQ(table.back().component, std::string("SwapchannelsMenu"));
    EXPECT_EQ(FindFilterCommand("FeatherMenu"), nullptr);
    EXPECT_EQ(FindFilterCommand("invertallmenu"), nullptr);  // names are exact
    const FilterCommand* camera = FindFilterCommand("CheapcolorcameraMenu");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->caption, std::string("&Macchina fotografica a colori poco costosa"));
    ASSERT_EQ(camera->submenu.size(), 1u);
    EXPECT_EQ(camera->submenu[0], std::string("&Effetti fotografici"));
    const FilterCommand* green = FindFilterCommand("DecreaseGreenMenu");
    ASSERT_NE(green, nullptr);
    ASSERT_EQ(green->submenu.size(), 2u);
    EXPECT_EQ(green->submenu[0], std::string("&Canali"));
    EXPECT_EQ(green->submenu[1], std::string("&Verde"));
    EXPECT_EQ(FindFilterCommand("IncreaseBrightnessMenu")->submenu[0], std::string("Luminosità"));
    for (const FilterCommand& command : table) EXPECT_FALSE(command.stages.empty()) << command.component;
}

// Selections on a w × h picture: the whole, odd inner boxes, thin strips and boxes reaching over
// the edges or lying wholly outside.
std::vector<TRect> Selections(int w, int h, std::mt19937& random) {
    std::vector<TRect> selections = {
        Rect(0, 0, w - 1, h - 1),   Rect(1, 1, w - 2, h - 2),     Rect(0, 2, w - 1, 2),
        Rect(2, 0, 3, h - 1),       Rect(-3, -2, w / 2, h / 2),   Rect(w / 2, h / 3, w + 4, h + 2),
        Rect(-2, -2, w + 1, h + 1), Rect(w + 2, 0, w + 6, h - 1),
    };
    for (int i = 0; i < 3; ++i) {
        std::uniform_int_distribution<int> x(-3, w + 2), y(-3, h + 2);
        int l = x(random), r = x(random), t = y(random), b = y(random);
        selections.push_back(Rect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)));
    }
    // A filter runs on ordered corners (the redraw orders them).
    std::erase_if(selections, [](const TRect& s) { return s.Right < s.Left || s.Bottom < s.Top; });
    return selections;
}

TEST_F(CommandTableTest, EveryCommandGivesTheBytesOfThePlainArithmetic) {
    const uint32_t seed = ClockSeed(Now());
    std::mt19937 random(7);
    // Odd sizes, 1- and 2-pixel strips, and rows long enough for the wide loops and their tails.
    const std::pair<int, int> sizes[] = {{13, 9},  {1, 7},  {6, 1},   {2, 5},
                                         {31, 17}, {67, 6}, {150, 4}, {3, 40}};
    for (const FilterCommand& command : FilterCommands()) {
        for (const auto& [w, h] : sizes) {
            const Bitmap picture = RandomPicture(w, h, random());
            for (const TRect& selection : Selections(w, h, random)) {
                Bitmap expected = picture;
                std::string expectedError, error;
                try {
                    reference::RunCommand(command.component, expected, selection, seed);
                } catch (const Error& e) {
                    expectedError = e.what();
                }
                MainBitmap = picture;
                SelRect = selection;
                try {
                    RunEditingCommand(command.stages);
                } catch (const Error& e) {
                    error = e.what();
                }
                const std::string where =
                    std::string(command.component) + " on " + std::to_string(w) + " x " + std::to_string(h) +
                    ", selection " + std::to_string(selection.Left) + "," + std::to_string(selection.Top) +
                    " - " + std::to_string(selection.Right) + "," + std::to_string(selection.Bottom);
                ASSERT_EQ(error, expectedError) << where;
                ASSERT_EQ(MainBitmap, expected) << where << "\n"
                                                << Describe(MainBitmap) << Describe(expected);
                ASSERT_EQ(SelRect, selection) << where;
                ASSERT_EQ(UndoBitmap, picture) << where;
                ASSERT_FALSE(HourglassShown()) << where;
                ASSERT_TRUE(WorkBitmap.Empty()) << where;
            }
        }
    }
}

TEST_F(CommandTableTest, ASelectionWhollyOutsideThePictureChangesNothing) {
    const Bitmap picture = RandomPicture(6, 4, 5);
    for (const FilterCommand& command : FilterCommands()) {
        Load(picture);
        SelRect = Rect(10, 0, 20, 3);
        try {
            RunEditingCommand(command.stages);
        } catch (const Error&) {
            // the black copy is flat: the stretching commands stop, which changes nothing either
        }
        if (std::string(command.component) == "FindEdgesMenu" ||
            std::string(command.component) == "DrawnMenu")
            continue;  // they draw the picture's black outline whatever the selection
        EXPECT_EQ(MainBitmap, picture) << command.component;
    }
}

TEST_F(CommandTableTest, PerPixelCommandsTakeASelectionReachingFarBeyondAnyPictureSize) {
    // A drag typed into the batch tool can reach far past the largest scratch copy there is. The
    // per-pixel commands never read the black beyond the picture (the levels stretch only counts
    // it), so they give the bytes of the same rows with a one-pixel overhang on each side.
    const char* const components[] = {"BlackandwhiteMenu",    "IncreaseBrightnessMenu", "DecreaseBlueMenu",
                                      "GrayscaleMenu",        "InvertAllmenu",          "InvertGreenMenu",
                                      "LogaritmizeRedMenu",   "OptimizeMenu",           "SepiaMenu",
                                      "IncreaseContrastmenu", "DecreaseContrastmenu",   "SwapchannelsMenu"};
    const Bitmap picture = RandomPicture(9, 6, 21);
    for (const char* component : components) {
        Bitmap expected = picture;
        reference::RunCommand(component, expected, Rect(-1, 2, 9, 3), 0);
        Load(picture);
        SelRect = Rect(-100000, 2, 100000, 3);
        EXPECT_NO_THROW(Run(component)) << component;
        EXPECT_EQ(MainBitmap, expected) << component << "\n" << Describe(MainBitmap) << Describe(expected);
        EXPECT_TRUE(WorkBitmap.Empty()) << component;
    }
}

TEST_F(CommandTableTest, AFailingPassSkipsTheLaterStagesAndKeepsTheUndo) {
    const std::vector<Stage> stages = {[] { Invert(kAllChannels); }, [] { Optimize(); },
                                       [] { Invert(kAllChannels); }};
    const Bitmap picture = SolidPicture(4, 4, RGB(1, 2, 3));
    Load(picture);
    SelRect = Rect(1, 1, 2, 2);
    EXPECT_THROW(RunEditingCommand(stages), Error);
    Bitmap expected = picture;
    expected.Fill(Rect(1, 1, 3, 3), RGB(254, 253, 252));  // the first stage alone
    EXPECT_EQ(MainBitmap, expected);
    EXPECT_EQ(UndoBitmap, picture);
    EXPECT_TRUE(UndoAvailable);
    EXPECT_FALSE(HourglassShown());
}

TEST_F(CommandTableTest, TheFlatChannelErrorReachesTheErrorBoxWithItsFullStop) {
    ScriptedDialogs dialogs;
    for (const char* component : {"OptimizeMenu", "FindEdgesMenu", "DrawnMenu"}) {
        dialogs.shown.clear();
        Load(SolidPicture(8, 6, RGB(50, 60, 70)));
        EXPECT_FALSE(RunGuarded([&] { Run(component); })) << component;
        ASSERT_EQ(dialogs.shown.size(), 1u) << component;
        EXPECT_EQ(dialogs.shown[0].kind, ShownMessage::Error);
        EXPECT_EQ(dialogs.shown[0].text, "Floating point division by zero.");
        EXPECT_FALSE(HourglassShown());
        EXPECT_TRUE(UndoAvailable);
    }
}

TEST_F(CommandTableTest, TheHourglassShowsWhileAPassRuns) {
    Load(SolidPicture(3, 3, 0));
    bool shownInside = false;
    SelectionPass([&](Bitmap&) { shownInside = HourglassShown(); });
    EXPECT_TRUE(shownInside);
    EXPECT_FALSE(HourglassShown());
    EXPECT_THROW(SelectionPass([](Bitmap&) { throw Error("stop"); }), Error);
    EXPECT_FALSE(HourglassShown());
    EXPECT_TRUE(WorkBitmap.Empty());
}

TEST_F(CommandTableTest, CharcoalDrawsDarkLinesOnWhiteInsideTheBlackFrame) {
    // A vertical boundary between two greys, selection off the picture's border.
    Bitmap picture = SolidPicture(24, 8, RGB(40, 40, 40));
    picture.Fill(Rect(12, 0, 24, 8), RGB(220, 220, 220));
    Load(picture);
    SelRect = Rect(2, 1, 21, 6);
    Run("DrawnMenu");
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x) {
            const uint32_t c = MainBitmap.Pixel(x, y);
            const bool selected = x >= 2 && x <= 21 && y >= 1 && y <= 6;
            const bool border = x == 0 || y == 0 || x == 23 || y == 7;
            ASSERT_EQ(GetR(c), GetG(c));
            ASSERT_EQ(GetG(c), GetB(c));
            uint32_t expected;
            if (border) {
                expected = 0;
            } else if (!selected) {
                expected = picture.Pixel(x, y);
            } else if (x <= 8 || x >= 15) {
                expected = RGB(255, 255, 255);  // paper, away from the boundary
            } else if (x == 11 || x == 12) {
                expected = 0;  // the stroke along the boundary
            } else {
                continue;
            }
            EXPECT_EQ(c, expected) << x << "," << y << "\n" << Describe(MainBitmap);
        }
}

TEST_F(CommandTableTest, CharcoalOnOneColourStopsAtItsEdgeImage) {
    const Bitmap picture = SolidPicture(7, 6, RGB(90, 180, 30));
    Load(picture);
    SelRect = Rect(2, 2, 5, 4);
    EXPECT_EQ(RunFailing("DrawnMenu"), kDivisionByZero);
    // Not inverted: the flat edge image is black, inside the black frame.
    for (int y = 2; y <= 4; ++y)
        for (int x = 2; x <= 5; ++x) EXPECT_EQ(MainBitmap.Pixel(x, y), 0u);
    EXPECT_EQ(MainBitmap.Pixel(0, 3), 0u);
    EXPECT_EQ(MainBitmap.Pixel(1, 1), picture.Pixel(1, 1));
    RestoreUndo();
    EXPECT_EQ(MainBitmap, picture);
}

TEST_F(CommandTableTest, EarlyTwentiethCenturyIsAWarmToneRedOverGreenOverBlue) {
    Load(RandomPicture(23, 17, 9));
    Run("Early20thCenturyMenu");
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x) {
            const uint32_t c = MainBitmap.Pixel(x, y);
            ASSERT_GE(GetR(c), GetG(c)) << x << "," << y;
            ASSERT_GE(GetG(c), GetB(c)) << x << "," << y;
        }
}

TEST_F(CommandTableTest, CheapColourCameraLeavesBlackBlack) {
    const Bitmap black = SolidPicture(15, 11, 0);
    Load(black);
    Run("CheapcolorcameraMenu");
    EXPECT_EQ(MainBitmap, black);
}

}  // namespace
}  // namespace lf::test

// lumaforge-batch as a script uses it: arguments in, a saved picture, messages and status out.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/Batch.h"
#include "app/Commands.h"
#include "app/Document.h"
#include "platform/BmpCodec.h"
#include "support/TestData.h"

namespace lf {
namespace {

struct BatchRun {
    int status;
    std::string out;
    std::string err;
};

BatchRun Batch(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunBatch(args, out, err);
    ResetDocument();
    return {status, out.str(), err.str()};
}

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        input = dir.File("in.bmp");
        output = dir.File("out.bmp");
        original = test::RandomPicture(30, 40, 3);
        SaveBmpFile(original, input);
    }
    test::TempDir dir;
    std::string input, output;
    Bitmap original;
};

TEST_F(BatchTest, HelpListsEveryStep) {
    BatchRun r = Batch({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--select", "--statistics", "--custom", "--resize", "--resize-plain"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    for (const NamedCommand& c : HeadlessCommands())
        EXPECT_NE(r.out.find(c.component), std::string::npos) << c.component;
}

TEST_F(BatchTest, UsageErrorsDoNothingAndExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {input},
        {input, output, "NoSuchMenu"},
        {input, output, "--select", "1", "2", "3"},
        {input, output, "--select", "1", "2", "3", "x"},
        {input, output, "--resize", "100"},
        {input, output, "--resize", "9", "100"},
        {input, output, "--resize-plain", "100", "2501"},
        {input, dir.File("out.png")},
        {dir.File("in.png"), output},
        {input, output, "UndoMenu"},  // nothing to undo yet: the menu item is disabled
    };
    for (const auto& args : cases) {
        BatchRun r = Batch(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_FALSE(r.err.empty());
        EXPECT_FALSE(std::filesystem::exists(output)) << ::testing::PrintToString(args);
    }
}

TEST_F(BatchTest, ConvertsAndReplacesAnExistingOutput) {
    SaveBmpFile(test::SolidPicture(2, 2, 0), output);
    BatchRun r = Batch({input, output});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LoadBmpFile(output), original);
}

TEST_F(BatchTest, StepsRunAsTheMenuDoesWithUndo) {
    BatchRun inverted = Batch({input, output, "InvertAllmenu"});
    ASSERT_EQ(inverted.status, 0) << inverted.err;
    const Bitmap result = LoadBmpFile(output);
    EXPECT_EQ(result.Pixel(0, 0), original.Pixel(0, 0) ^ 0xFFFFFFu);
    EXPECT_EQ(result.Pixel(29, 39), original.Pixel(29, 39) ^ 0xFFFFFFu);

    BatchRun undone = Batch({input, output, "InvertAllmenu", "UndoMenu"});
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(LoadBmpFile(output), original);
}

TEST_F(BatchTest, SelectionLimitsTheFilter) {
    BatchRun r = Batch({input, output, "--select", "10", "10", "19", "29", "InvertAllmenu"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bitmap result = LoadBmpFile(output);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 10 && x <= 19 && y >= 10 && y <= 29;
            ASSERT_EQ(result.Pixel(x, y), inside ? original.Pixel(x, y) ^ 0xFFFFFFu : original.Pixel(x, y))
                << x << "," << y;
        }
}

TEST_F(BatchTest, AClickSelectsAllWithTheMessageOnStandardError) {
    BatchRun r = Batch({input, output, "--select", "5", "5", "5", "5", "InvertAllmenu"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Nothing selected.\nSelecting all.\n");
    EXPECT_EQ(LoadBmpFile(output).Pixel(0, 0), original.Pixel(0, 0) ^ 0xFFFFFFu);
}

TEST_F(BatchTest, StatisticsGoToStandardOutputLineByLine) {
    SaveBmpFile(test::MakePicture(2, 1, {RGB(0, 0, 0), RGB(255, 255, 255)}), input);
    BatchRun r = Batch({input, output, "--statistics"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "File: " + input +
                         "\nDimensioni: 2 X 1\n\nOttimizzata: si\n\nR: 0 to 255\nG: 0 to 255\nB: 0 to 255\n\n"
                         "Luminosità: 50 %\n");
}

TEST_F(BatchTest, AnErrorWritesNothingAndExitsOne) {
    SaveBmpFile(test::SolidPicture(4, 4, RGB(9, 9, 9)), input);
    BatchRun r = Batch({input, output, "OptimizeMenu"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Floating point division by zero.\n");
    EXPECT_FALSE(std::filesystem::exists(output));

    BatchRun missing = Batch({dir.File("missing.bmp"), output});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.empty());
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(BatchTest, CustomFilterDropsSpaces) {
    BatchRun r = Batch({input, output, "--custom", "255 - R1", "G1", "B 1"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bitmap result = LoadBmpFile(output);
    EXPECT_EQ(GetR(result.Pixel(3, 3)), 255 - GetR(original.Pixel(3, 3)));
    EXPECT_EQ(GetG(result.Pixel(3, 3)), GetG(original.Pixel(3, 3)));
    EXPECT_EQ(GetB(result.Pixel(3, 3)), GetB(original.Pixel(3, 3)));
}

TEST_F(BatchTest, ResizeSetsTheNewSize) {
    BatchRun r = Batch({input, output, "--resize-plain", "60", "80"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bitmap result = LoadBmpFile(output);
    EXPECT_EQ(result.Width(), 60);
    EXPECT_EQ(result.Height(), 80);
    EXPECT_EQ(result.Pixel(1, 1), original.Pixel(0, 0));
}

}  // namespace
}  // namespace lf

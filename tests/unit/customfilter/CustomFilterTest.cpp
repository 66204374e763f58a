// The custom filter as a user meets it: the textual substitution, rounding and clamping, 0 for a
// failing formula, and only the selection changing.
#include <gtest/gtest.h>

#include "app/Document.h"
#include "customfilter/CustomFilter.h"
#include "platform/Cursor.h"
#include "support/TestData.h"

namespace lf {
namespace {

TEST(SubstituteVariables, ReplacesRThenGThenBAsText) {
    struct Case {
        const char* text;
        uint8_t r, g, b;
        const char* expected;
    } cases[] = {
        {"R1+G1+B1", 1, 2, 3, "1+2+3"},
        {"R1R1", 7, 0, 0, "77"},
        {"r1+g1+b1", 1, 2, 3, "r1+g1+b1"},  // case-sensitive
        {"2R1", 100, 0, 0, "2100"},
        {"R1E1", 100, 0, 0, "100E1"},
        {"", 1, 2, 3, ""},
        // A value put in for R1 can complete a "G1" or a "B1" from the letter before it.
        {"GR1", 123, 45, 0, "4523"},
        {"BG1", 0, 10, 5, "50"},
        {"BGR1", 1, 1, 9, "9"},
        {"GR1", 23, 45, 0, "G23"},
    };
    for (const Case& c : cases) EXPECT_EQ(SubstituteVariables(c.text, c.r, c.g, c.b), c.expected) << c.text;
}

TEST(ChannelByte, RoundsHalvesToEvenAndClamps) {
    struct Case {
        Extended value;
        uint8_t expected;
    } cases[] = {{0.5L, 0},       {1.5L, 2},      {2.5L, 2},        {254.5L, 254}, {254.5000001L, 255},
                 {-0.4L, 0},      {-0.5L, 0},     {-1e300L, 0},     {255.4L, 255}, {255.6L, 255},
                 {5.6e110L, 255}, {1e4000L, 255}, {127.49999L, 127}};
    for (const Case& c : cases)
        EXPECT_EQ(ChannelByte(false, c.value), c.expected) << static_cast<double>(c.value);
    EXPECT_EQ(ChannelByte(true, 200), 0);
}

// One pixel (r, g, b) through the filter, fast and literal.
struct PixelCase {
    const char* red;
    const char* green;
    const char* blue;
    uint32_t before;  // $00BBGGRR
    uint32_t after;
};

class CustomFilterPixels : public testing::TestWithParam<PixelCase> {
protected:
    void SetUp() override { ResetDocument(); }
    void TearDown() override { ResetDocument(); }
};

TEST_P(CustomFilterPixels, GivesTheLiteralFormsByte) {
    const PixelCase& c = GetParam();
    const std::string label = std::string(c.red) + " | " + c.green + " | " + c.blue;

    MainBitmap = test::MakePicture(1, 1, {c.before});
    SelectAll();
    CustomFilter(c.red, c.green, c.blue);
    EXPECT_EQ(MainBitmap.Pixel(0, 0), c.after) << label << "\n" << test::Describe(MainBitmap);

    Bitmap literal = test::MakePicture(1, 1, {c.before});
    TMathParser parser;
    CustomFilterLiteralKernel(literal, parser, c.red, c.green, c.blue);
    EXPECT_EQ(literal.Pixel(0, 0), c.after) << label << " (literal form)";
}

INSTANTIATE_TEST_SUITE_P(
    Table, CustomFilterPixels,
    testing::Values(PixelCase{"R1+0", "G1", "B1", RGB(10, 20, 30), RGB(10, 20, 30)},
                    PixelCase{"255-R1", "255-G1", "255-B1", RGB(0, 128, 255), RGB(255, 127, 0)},
                    PixelCase{"(R1+G1)/2", "G1", "B1", RGB(1, 2, 9), RGB(2, 2, 9)},
                    PixelCase{"(R1+G1)/2", "G1", "B1", RGB(2, 3, 9), RGB(2, 3, 9)},
                    PixelCase{"(R1+G1)/2", "G1", "B1", RGB(3, 4, 9), RGB(4, 4, 9)},
                    PixelCase{"R1*2", "G1", "B1", RGB(200, 1, 2), RGB(255, 1, 2)},
                    PixelCase{"R1-300", "G1", "B1", RGB(255, 1, 2), RGB(0, 1, 2)},
                    PixelCase{"EXP(R1)", "G1", "B1", RGB(255, 1, 2), RGB(255, 1, 2)},
                    PixelCase{"G1", "R1", "B1", RGB(10, 20, 30), RGB(20, 10, 30)},
                    PixelCase{"B1", "R1", "G1", RGB(10, 20, 30), RGB(30, 10, 20)},
                    PixelCase{"r1", "G1", "B1", RGB(10, 20, 30), RGB(0, 20, 30)},
                    PixelCase{"", "G1", "B1", RGB(10, 20, 30), RGB(0, 20, 30)},
                    PixelCase{"LN(R1)", "255/G1", "B1", RGB(0, 0, 30), RGB(0, 0, 30)},
                    PixelCase{"LN(R1)*40", "255/G1", "B1", RGB(100, 1, 30), RGB(184, 255, 30)},
                    PixelCase{"ROUND(R1/2)", "TRUNC(G1/2)", "SQRT(B1)", RGB(5, 5, 30), RGB(2, 2, 5)},
                    PixelCase{"R1^2/255", "G1", "-B1", RGB(128, 7, 30), RGB(64, 7, 0)},
                    PixelCase{"!", "G1+1", "1/0", RGB(10, 20, 30), RGB(0, 21, 0)},
                    // The substituted number merges with what stands next to the variable.
                    PixelCase{"2R1", "G1", "B1", RGB(100, 1, 2), RGB(255, 1, 2)},
                    PixelCase{"R1.5", "G1.5", "B1", RGB(100, 101, 2), RGB(100, 102, 2)},
                    PixelCase{"R10", "G10", "B1", RGB(100, 0, 2), RGB(255, 0, 2)},
                    PixelCase{"R1E1", "G1E-1", "B1", RGB(2, 254, 2), RGB(20, 25, 2)},
                    PixelCase{".R1", "G1", ".B1", RGB(7, 0, 5), RGB(1, 0, 0)},
                    PixelCase{"1E+R1", "G1", "B1", RGB(2, 0, 2), RGB(100, 0, 2)},
                    PixelCase{"GR1", "G1", "B1", RGB(12, 3, 2), RGB(32, 3, 2)},
                    PixelCase{"GR1", "G1", "B1", RGB(2, 3, 2), RGB(0, 3, 2)},
                    PixelCase{"R1G1", "G1", "B1", RGB(2, 3, 2), RGB(23, 3, 2)}));

class CustomFilterSelection : public testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        MainBitmap = test::RandomPicture(5, 5, 7);
        original_ = MainBitmap;
    }
    void TearDown() override { ResetDocument(); }

    // Every pixel inside `inside` inverted, every other unchanged.
    void ExpectInvertedOnly(int left, int top, int right, int bottom) {
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                const uint32_t was = original_.Pixel(x, y);
                const bool in = x >= left && x <= right && y >= top && y <= bottom;
                const uint32_t expected = in ? RGB(255 - GetR(was), 255 - GetG(was), 255 - GetB(was)) : was;
                EXPECT_EQ(MainBitmap.Pixel(x, y), expected) << x << "," << y;
            }
        }
    }

    Bitmap original_;
};

TEST_F(CustomFilterSelection, ChangesOnlyTheSelection) {
    for (const char* red :
         {"255-R1", "255-R1+0*G1*B1", "(2550-R10)/10"}) {  // compiled, three variables, literal
        MainBitmap = original_;
        SelRect = Rect(1, 2, 2, 3);
        CustomFilter(red, "255-G1", "255-B1");
        SCOPED_TRACE(red);
        ExpectInvertedOnly(1, 2, 2, 3);
        EXPECT_EQ(SelRect, Rect(1, 2, 2, 3));
        EXPECT_TRUE(WorkBitmap.Empty());
        EXPECT_FALSE(HourglassShown());
    }
}

TEST_F(CustomFilterSelection, OnePixelSelection) {
    SelRect = Rect(4, 0, 4, 0);
    CustomFilter("255-R1", "255-G1", "255-B1");
    ExpectInvertedOnly(4, 0, 4, 0);
}

TEST_F(CustomFilterSelection, SelectionReachingOutsideThePicture) {
    for (const char* red : {"255-R1", "(2550-R10)/10"}) {
        MainBitmap = original_;
        SelRect = Rect(3, -2, 7, 1);
        CustomFilter(red, "255-G1", "255-B1");
        SCOPED_TRACE(red);
        ExpectInvertedOnly(3, 0, 4, 1);
        EXPECT_EQ(MainBitmap.Width(), 5);
    }
}

TEST_F(CustomFilterSelection, UsesTheGivenParserForTheLiteralForm) {
    SelectAll();
    TMathParser parser;
    CustomFilter("R10/10", "G1", "B1", parser);  // cannot be compiled
    EXPECT_EQ(MainBitmap, original_);
    EXPECT_FALSE(parser.ParseString.empty());
}

TEST(CustomFilterLargeSelection, SweepSharedOutAmongThreadsGivesTheSameBytes) {
    // Large enough to be shared out among threads; formulas of every table kind, the cache that
    // fills on demand among them.
    ResetDocument();
    const Bitmap original = test::RandomPicture(1100, 520, 11);
    const TRect selection = Rect(5, 3, 1090, 515);
    const char* red = "R1*G1/(B1+1)";
    const char* green = "(R1+G1+B1)/3";
    const char* blue = "SQRT(R1*G1)";

    Bitmap expected(selection.Right - selection.Left + 1, selection.Bottom - selection.Top + 1);
    expected.CopyRect(Rect(0, 0, expected.Width(), expected.Height()), original,
                      Rect(selection.Left, selection.Top, selection.Right + 1, selection.Bottom + 1));
    CustomFilterKernel(expected, red, green, blue);
    Bitmap whole = original;
    whole.Draw(selection.Left, selection.Top, expected);

    MainBitmap = original;
    SelRect = selection;
    CustomFilter(red, green, blue);
    EXPECT_TRUE(MainBitmap == whole);

    // And the kernel itself against the literal form, on a sample of pixels.
    TMathParser parser;
    for (int i = 0; i < 3000; ++i) {
        const int x = (i * 7919) % expected.Width(), y = (i * 104729) % expected.Height();
        const uint32_t was = original.Pixel(selection.Left + x, selection.Top + y);
        Bitmap one = test::MakePicture(1, 1, {was});
        CustomFilterLiteralKernel(one, parser, red, green, blue);
        ASSERT_EQ(expected.Pixel(x, y), one.Pixel(0, 0)) << x << "," << y;
    }
    ResetDocument();
}

TEST(ChannelEvaluator, CompilesOnlyWhereTheNumberCannotMerge) {
    struct Case {
        const char* text;
        bool compiled;
        uint8_t used;  // bits R = 1, G = 2, B = 4
    } cases[] = {
        {"255-R1", true, 1},  {"(R1+G1+B1)/3", true, 7}, {"SQRT(R1*G1)", true, 3}, {"B1^0.5*16", true, 4},
        {"R1*0", true, 1},    {"R1 .5", true, 0},        {"R1 +.5", true, 1},      {"-(R1)", true, 1},
        {"r1", true, 0},      {"1+2", true, 0},          {"R1+", true, 0},         {"2R1", false, 1},
        {"R1.5", false, 1},   {"R10", false, 1},         {"R1E1", false, 1},       {".R1", false, 1},
        {"1E+R1", false, 1},  {"1e-G1", false, 2},       {"GR1", false, 3},        {"BGR1", false, 7},
        {"BR1+G1", false, 7}, {"R1_", false, 1},         {"SQRT(R1)2", true, 0},   {"G1+XR1", false, 3},
    };
    TMathParser parser;
    for (const Case& c : cases) {
        ChannelEvaluator evaluator(c.text, parser);
        EXPECT_EQ(evaluator.Compiled(), c.compiled) << c.text;
        EXPECT_EQ(evaluator.UsedMask(), c.used) << c.text;
    }
}

}  // namespace
}  // namespace lf

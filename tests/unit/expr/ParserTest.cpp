// TMathParser: the scanner's rules, the grammar, the value rules, the error codes, Position
// after an error and the two events.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "expr/Parser.h"

namespace lf {
namespace {

struct Outcome {
    bool failed;
    Extended value;
    std::vector<int> errors;  // what OnParseError was told
};

Outcome ParseText(TMathParser& parser, const std::string& text) {
    Outcome out{};
    parser.OnParseError = [&out](TMathParser*, int code) { out.errors.push_back(code); };
    parser.ParseString = text;
    parser.Parse();
    out.failed = parser.ParseFailed;
    out.value = parser.ParseValue;
    return out;
}

struct ValueCase {
    const char* text;
    Extended expected;
};

class ParserValues : public testing::TestWithParam<ValueCase> {};

TEST_P(ParserValues, EvaluatesWithoutError) {
    TMathParser parser;
    const Outcome out = ParseText(parser, GetParam().text);
    EXPECT_FALSE(out.failed) << GetParam().text;
    EXPECT_TRUE(out.errors.empty());
    // Powers go through e^(y ln b), so allow the last bits of the significand to differ.
    EXPECT_NEAR(static_cast<double>(out.value), static_cast<double>(GetParam().expected),
                1e-15 * std::fabs(static_cast<double>(GetParam().expected)))
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParserValues,
    testing::Values(
        // literals and blanks
        ValueCase{"  12", 12}, ValueCase{"12  ", 12}, ValueCase{"1.5e2", 150}, ValueCase{"1.5E+2", 150},
        ValueCase{"2e-3", 0.002L}, ValueCase{"5.", 5}, ValueCase{".5", 0.5L}, ValueCase{".5+1", 1.5L},
        ValueCase{"007", 7}, ValueCase{"1E0012", 1e12L},
        // precedence and associativity
        ValueCase{"2+3*4", 14}, ValueCase{"8-2-1", 5}, ValueCase{"4/2/2", 1}, ValueCase{"2^3^2", 512},
        ValueCase{"2^0.5", 1.41421356237309504880L}, ValueCase{"-(2^2)", -4}, ValueCase{"2^-1", 0.5L},
        ValueCase{"2*-3", -6}, ValueCase{"2--3", 5}, ValueCase{"-3*2", -6}, ValueCase{"(1+2)*(3+4)", 21},
        ValueCase{"1-2+3", 2}, ValueCase{"1 + 2 * 3 ^ 2", 19},
        // functions, in any letter case, blanks before "("
        ValueCase{"sqrt(4)", 2}, ValueCase{"Sqrt(4)", 2}, ValueCase{"abs (-3)", 3}, ValueCase{"SQRT(0)", 0},
        ValueCase{"SQR(-3)", 9}, ValueCase{"ROUND(2.5)", 2}, ValueCase{"ROUND(3.5)", 4},
        ValueCase{"ROUND(-2.5)", -2}, ValueCase{"TRUNC(-2.7)", -2}, ValueCase{"TRUNC(2.7)", 2},
        ValueCase{"LN(1)", 0}, ValueCase{"EXP(0)", 1}, ValueCase{"COS(0)", 1}, ValueCase{"SIN(0)", 0},
        ValueCase{"ATAN(1)*4", 3.14159265358979323846L}, ValueCase{"ROUND(1E9)", 1e9L},
        ValueCase{"TRUNC(-1E9)", -1e9L}, ValueCase{"EXP(-11356)", std::exp(-11356.0L)},
        ValueCase{"SQRT(SQRT(16))", 2},
        // twelve nested pairs of parentheses fit the stack
        ValueCase{"((((((((((((7))))))))))))", 7}));

struct FailureCase {
    const char* text;
    int code;         // 0: a math error, which reports no code
    size_t position;  // where Position stands afterwards (checked for codes 3 to 6)
};

class ParserFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(ParserFailures, FailsWithCodeAndPosition) {
    const FailureCase& c = GetParam();
    TMathParser parser;
    const Outcome out = ParseText(parser, c.text);
    EXPECT_TRUE(out.failed) << c.text;
    EXPECT_EQ(out.value, 0) << c.text;
    if (c.code == 0) {
        EXPECT_TRUE(out.errors.empty()) << c.text;
        EXPECT_EQ(parser.ErrorCode, 0) << c.text;
    } else {
        ASSERT_EQ(out.errors, std::vector<int>{c.code}) << c.text;
    }
    if (c.code >= 3 && c.code <= 6) {
        EXPECT_EQ(parser.Position, c.position) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ParserFailures,
    testing::Values(FailureCase{"", 3, 1}, FailureCase{"\t12", 3, 1}, FailureCase{".", 3, 1},
                    FailureCase{"+1", 3, 1}, FailureCase{"--1", 3, 2}, FailureCase{"-!", 3, 2},
                    FailureCase{"2*", 3, 3}, FailureCase{"2*)", 3, 3}, FailureCase{"SQRT2(4)", 3, 6},
                    FailureCase{"X*2", 3, 2}, FailureCase{"1.2.3", 4, 4}, FailureCase{"2 3", 4, 3},
                    FailureCase{"2)", 4, 2}, FailureCase{"2!", 4, 2}, FailureCase{"2#", 4, 2},
                    FailureCase{"1E12345", 4, 7}, FailureCase{"2(3)", 4, 2}, FailureCase{"SIN 1", 5, 5},
                    FailureCase{"ABS", 5, 4}, FailureCase{"SIN-1", 5, 4}, FailureCase{"(2", 6, 3},
                    FailureCase{"(2 3)", 6, 4}, FailureCase{"ABS(2", 6, 6}, FailureCase{"1/0+(2", 6, 7},
                    FailureCase{"1E", 7, 0}, FailureCase{"2EXP(1)", 7, 0}, FailureCase{"2E+", 7, 0},
                    FailureCase{"3e-", 7, 0}, FailureCase{"1+2E", 7, 0},
                    FailureCase{"(((((((((((((7)))))))))))))", 1, 0}));

INSTANTIATE_TEST_SUITE_P(
    Math, ParserFailures,
    testing::Values(FailureCase{"-2^2", 0, 0}, FailureCase{"0^2", 0, 0}, FailureCase{"(-8)^(1/3)", 0, 0},
                    FailureCase{"1/0", 0, 0}, FailureCase{"LN(0)", 0, 0}, FailureCase{"LN(-1)", 0, 0},
                    FailureCase{"SQRT(-1)", 0, 0}, FailureCase{"ROUND(2E9)", 0, 0},
                    FailureCase{"TRUNC(-1000000001)", 0, 0}, FailureCase{"EXP(11357)", 0, 0},
                    FailureCase{"EXP(-11357)", 0, 0}, FailureCase{"COS(1E19)", 0, 0},
                    FailureCase{"SIN(-1E19)", 0, 0}, FailureCase{"SQR(1E2467)", 0, 0},
                    FailureCase{"2^20000", 0, 0}, FailureCase{"0.5^20000", 0, 0}, FailureCase{"!", 0, 0},
                    FailureCase{"2+!", 0, 0}, FailureCase{"(!", 0, 0}, FailureCase{"1/0*0+1", 0, 0},
                    // beyond the range of Extended: counted as math errors, never infinities
                    FailureCase{"EXP(11356)*EXP(11356)", 0, 0}, FailureCase{"1E4999", 0, 0},
                    FailureCase{"SQR(1E2466)*10", 0, 0}));

TEST(Parser, DomainBoundsAreInclusive) {
    TMathParser parser;
    for (const char* text :
         {"EXP(11356)", "ROUND(-1E9)", "TRUNC(1E9)", "COS(9E18)", "SIN(-9E18)", "SQR(1E2466)"}) {
        const Outcome out = ParseText(parser, text);
        EXPECT_FALSE(out.failed) << text;
        EXPECT_TRUE(std::isfinite(out.value)) << text;
    }
}

TEST(Parser, LiteralKeepsEightyCharactersAndScansTheRestAgain) {
    TMathParser parser;
    // 80 digits read as one number; the 81st begins a second number, which is out of place.
    const std::string eighty(80, '1');
    EXPECT_FALSE(ParseText(parser, eighty).failed);
    const Outcome longer = ParseText(parser, eighty + "2");
    EXPECT_EQ(longer.errors, std::vector<int>{4});
    EXPECT_EQ(parser.Position, 81u);
    // An exponent cut off by the limit leaves the marker without digits: a bad number.
    EXPECT_EQ(ParseText(parser, std::string(79, '1') + "E5").errors, std::vector<int>{7});
    // A literal too long to keep, then an operator: the kept part is the value.
    const Outcome sum = ParseText(parser, std::string(79, '0') + "12+1");
    EXPECT_EQ(sum.errors, std::vector<int>{4});
}

TEST(Parser, UnderflowingLiteralReadsAsZero) {
    TMathParser parser;
    const Outcome out = ParseText(parser, "1E-4999+1");
    EXPECT_FALSE(out.failed);
    EXPECT_EQ(out.value, 1);
}

TEST(Parser, ReadsPointDecimalsWhateverTheProcessLocale) {
    // A desktop session may run under a locale whose decimal separator is a comma.
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    const bool switched =
        std::setlocale(LC_NUMERIC, "it_IT.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    TMathParser parser;
    const Outcome out = ParseText(parser, "1.5*2");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_FALSE(out.failed);
    EXPECT_EQ(out.value, 3);
    if (!switched) GTEST_SKIP() << "no comma-decimal locale installed; checked under the C locale only";
}

TEST(Parser, ExtendedPrecisionIsKept) {
    TMathParser parser;
    // 2^63 + 1 is exact in a 64-bit significand and lost in a double.
    EXPECT_EQ(ParseText(parser, "9223372036854775808+1-9223372036854775808").value, 1);
    EXPECT_EQ(ParseText(parser, "1/3").value, 1.0L / 3.0L);
}

TEST(Parser, GetVarSeesEachIdentifierAsWrittenFromLeftToRight) {
    TMathParser parser;
    std::vector<std::string> calls;
    parser.OnGetVar = [&](TMathParser* sender, const std::string& name, Extended& value, bool& found) {
        EXPECT_EQ(sender, &parser);
        EXPECT_FALSE(found);
        calls.push_back(name);
        if (name == "X" || name == "x") {
            value = 4;
            found = true;
        }
    };
    EXPECT_EQ(ParseText(parser, "X*2").value, 8);
    EXPECT_EQ(calls, (std::vector<std::string>{"X"}));

    calls.clear();
    EXPECT_EQ(ParseText(parser, "x*2").value, 8);
    EXPECT_EQ(calls, (std::vector<std::string>{"x"}));

    // Function names never reach the handler; other identifiers do, also those the parse
    // cannot use, in the order the scanner meets them.
    calls.clear();
    EXPECT_EQ(ParseText(parser, "sqrt(X)+Abc_1+x").value, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"X", "Abc_1"}));
    EXPECT_EQ(parser.Position, 14u);  // just after the unresolved "Abc_1"

    // Also for an occurrence the parse then rejects.
    calls.clear();
    EXPECT_EQ(ParseText(parser, "X x").errors, std::vector<int>{4});
    EXPECT_EQ(calls, (std::vector<std::string>{"X", "x"}));
    EXPECT_EQ(parser.Position, 3u);

    calls.clear();
    EXPECT_EQ(ParseText(parser, "SQRT2+ABSX").errors, std::vector<int>{3});
    EXPECT_EQ(calls, (std::vector<std::string>{"SQRT2"}));
}

TEST(Parser, GetVarValueStartsAsTheLastNumberAndIsKeptWhenNotFound) {
    TMathParser parser;
    std::vector<Extended> seen;
    parser.OnGetVar = [&](TMathParser*, const std::string&, Extended& value, bool& found) {
        seen.push_back(value);
        found = true;
    };
    EXPECT_EQ(ParseText(parser, "7+Y").value, 14);
    EXPECT_EQ(seen, std::vector<Extended>{7});
}

TEST(Parser, ErrorEventIsCalledOnceAndOnlyForCodes) {
    TMathParser parser;
    EXPECT_TRUE(ParseText(parser, "1/0").errors.empty());
    EXPECT_TRUE(ParseText(parser, "2+3").errors.empty());
    EXPECT_EQ(ParseText(parser, "2 3 4").errors, std::vector<int>{4});
    // Without handlers the parse still fails cleanly.
    TMathParser bare;
    bare.ParseString = "2 3";
    bare.Parse();
    EXPECT_TRUE(bare.ParseFailed);
    EXPECT_EQ(bare.ParseValue, 0);
}

TEST(Parser, OutcomeOfOneParseDoesNotLeakIntoTheNext) {
    TMathParser parser;
    EXPECT_TRUE(ParseText(parser, "1/0").failed);
    const Outcome ok = ParseText(parser, "3");
    EXPECT_FALSE(ok.failed);
    EXPECT_EQ(ok.value, 3);
    EXPECT_EQ(parser.ErrorCode, 0);
}

TEST(Parser, VeryLongTextsDoNotWrapPosition) {
    TMathParser parser;
    const std::string text = std::string(70000, ' ') + "1 2";
    EXPECT_EQ(ParseText(parser, text).errors, std::vector<int>{4});
    EXPECT_EQ(parser.Position, 70003u);
}

}  // namespace
}  // namespace lf

// The fast evaluation against the literal form on generated formulas and random pixels: every
// token kind, the functions in mixed case, nesting to the stack's limit, variables written
// against digits, points and exponents, and domains that fail for some values.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "customfilter/CustomFilter.h"
#include "expr/Formula.h"
#include "support/TestData.h"

namespace lf {
namespace {

// Joins pieces by appending (GCC 12 warns falsely about chains of operator+ on temporaries).
std::string Cat(std::initializer_list<std::string_view> pieces) {
    std::string s;
    for (std::string_view p : pieces) s.append(p);
    return s;
}

class FormulaGenerator {
public:
    explicit FormulaGenerator(uint32_t seed) : random_(seed) {}

    std::string Next() {
        std::string text = Expr(0);
        const int mutations = Pick(4) == 0 ? 1 + Pick(2) : 0;
        for (int i = 0; i < mutations; ++i) Mutate(text);
        return text;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }

    std::string Blank() { return Chance(8) ? " " : ""; }

    std::string Expr(int depth) {
        std::string s = Term(depth);
        while (Chance(depth < 3 ? 35 : 10)) s += Cat({Blank(), Chance(50) ? "+" : "-", Blank(), Term(depth)});
        return s;
    }
    std::string Term(int depth) {
        std::string s = Power(depth);
        while (Chance(depth < 3 ? 30 : 10)) s += Cat({Chance(50) ? "*" : "/", Power(depth)});
        return s;
    }
    std::string Power(int depth) {
        std::string s = Signed(depth);
        if (Chance(12)) s += Cat({"^", Power(depth + 1)});
        return s;
    }
    std::string Signed(int depth) { return Cat({Chance(12) ? "-" : "", Primary(depth)}); }

    std::string Primary(int depth) {
        const int choice = depth > 4 ? Pick(2) : Pick(5);
        switch (choice) {
            case 0:
                return Number();
            case 1:
                return Variable();
            case 2:
                return Cat({"(", Expr(depth + 1), ")"});
            case 3:
                return Cat({Function(), Blank(), "(", Expr(depth + 1), ")"});
            default:
                return Chance(50) ? Variable() : Nested(depth);
        }
    }

    // Deep parentheses around an operand: around the stack's limit of 15 records.
    std::string Nested(int depth) {
        const int pairs = 8 + Pick(8);
        return Cat({std::string(pairs, '('), Chance(50) ? Variable() : Number(), std::string(pairs, ')'),
                    depth == 0 && Chance(50) ? "+R1" : ""});
    }

    std::string Variable() {
        static const char* names[] = {"R1", "G1", "B1"};
        std::string v = names[Pick(3)];
        if (Chance(3)) v[0] = static_cast<char>(v[0] - 'A' + 'a');  // not a variable
        if (Chance(15)) {
            // Written against a character that merges with the substituted number.
            static const char* before[] = {"2", ".", "1E+", "1e-", "G", "B", "BG", "X", "1.5"};
            static const char* after[] = {"0", ".5", "5", "E1", "e-1", "E", "G1", "_", "x", "R1"};
            if (Chance(50)) {
                v = Cat({before[Pick(9)], v});
            } else {
                v += after[Pick(10)];
            }
        }
        return v;
    }

    std::string Number() {
        static const char* special[] = {"0",      "1",       "2",       "0.5",   ".5",  "5.",
                                        "255",    "1e2",     "1.5E-1",  "2.5",   "1E",  "3E+",
                                        "1E4999", "1E-4999", "1E12345", "11356", "1E9", "1.2.3"};
        if (Chance(30)) return special[Pick(18)];
        return std::to_string(Pick(300));
    }

    std::string Function() {
        static const char* names[] = {"ABS",   "ATAN", "COS",  "EXP", "LN",
                                      "ROUND", "SIN",  "SQRT", "SQR", "TRUNC"};
        std::string f = names[Pick(10)];
        for (char& c : f) {
            if (Chance(20)) c = static_cast<char>(c - 'A' + 'a');
        }
        return f;
    }

    void Mutate(std::string& text) {
        static const char pieces[] = "+-*/^()!. 1E\tR_";
        const size_t at = text.empty() ? 0 : static_cast<size_t>(Pick(static_cast<int>(text.size()) + 1));
        switch (Pick(3)) {
            case 0:
                text.insert(at, 1, pieces[Pick(sizeof(pieces) - 1)]);
                break;
            case 1:
                if (at < text.size()) text.erase(at, 1);
                break;
            default:
                if (at < text.size()) text[at] = pieces[Pick(sizeof(pieces) - 1)];
                break;
        }
    }

    std::mt19937 random_;
};

struct Pixel {
    uint8_t r, g, b;
};

TEST(CustomFilterDifferential, FastEvaluationGivesTheLiteralFormsResult) {
    FormulaGenerator generator(20240611);
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    const Pixel corners[] = {{0, 0, 0},     {255, 255, 255}, {1, 1, 1},
                             {100, 10, 12}, {12, 100, 1},    {0, 255, 128}};

    TMathParser literal, cached;
    bool sawCompiled = false, sawLiteral = false, sawSuccess = false, sawFailure = false;
    for (int n = 0; n < 4000; ++n) {
        const std::string formula = generator.Next();
        const std::optional<CompiledFormula> compiled = CompiledFormula::Compile(formula);
        // Preparing the cached path costs up to 65536 evaluations: check it on every fourth.
        std::optional<ChannelEvaluator> evaluator;
        if (n % 4 == 0) evaluator.emplace(formula, cached);
        (compiled ? sawCompiled : sawLiteral) = true;

        for (int i = 0; i < 48; ++i) {
            const Pixel p =
                i < 6 ? corners[i]
                      : Pixel{static_cast<uint8_t>(byte(random)), static_cast<uint8_t>(byte(random)),
                              static_cast<uint8_t>(byte(random))};
            literal.ParseString = SubstituteVariables(formula, p.r, p.g, p.b);
            literal.Parse();
            (literal.ParseFailed ? sawFailure : sawSuccess) = true;
            const uint8_t expected = ChannelByte(literal.ParseFailed, literal.ParseValue);

            if (compiled) {
                // Not only the byte: the compiled value carries the same bits as the parse.
                const Extended variables[3] = {Extended(p.r), Extended(p.g), Extended(p.b)};
                Extended value = 0;
                const bool ok = compiled->Evaluate(variables, value);
                ASSERT_EQ(ok, !literal.ParseFailed) << formula << " at " << int(p.r) << "," << int(p.g) << ","
                                                    << int(p.b) << ": " << literal.ParseString;
                if (ok) {
                    ASSERT_EQ(std::memcmp(&value, &literal.ParseValue, 10), 0)
                        << formula << " at " << literal.ParseString;
                }
            }
            if (evaluator) {
                // The evaluator's cached row path, one pixel wide.
                const uint8_t row[3] = {p.b, p.g, p.r};
                uint8_t out = 0;
                evaluator->Row(row, 1, &out);
                ASSERT_EQ(out, expected) << formula << " at " << literal.ParseString;
            }
        }
    }
    // The generator must reach both forms and both outcomes, or the comparison says little.
    EXPECT_TRUE(sawCompiled && sawLiteral && sawSuccess && sawFailure);
}

TEST(CustomFilterDifferential, WholeKernelMatchesTheLiteralKernel) {
    const char* filters[][3] = {
        {"255-R1", "G1", "B1"},
        {"(R1+G1+B1)/3", "SQRT(R1*G1)", "B1^0.5*16"},
        {"2R1", "G1.5", "B1E-1"},
        {"LN(R1)*46", "255/G1", "ROUND(B1/3)*3"},
        {"GR1/10", "BGR1/1000", "SIN(R1)*G1+B1"},
        {"r1", "", "!"},
        // Two variables inside one part, the third outside: tables over the part's values.
        {"ABS(R1-G1)*B1/64", "ROUND((G1+B1)/7)*R1/9", "SQRT(B1+R1)*4-G1"},
        {"LN(R1-G1)*B1", "(B1+G1)/0*R1", "-(R1+G1)^0.5+B1"},
        {"R1*G1/B1", "(R1*G1+B1)/255", "EXP((R1+G1)/100)/(1+B1)"},
    };
    const Bitmap source = test::RandomPicture(61, 43, 5);
    for (const auto& f : filters) {
        Bitmap fast = source, reference = source;
        CustomFilterKernel(fast, f[0], f[1], f[2]);
        TMathParser parser;
        CustomFilterLiteralKernel(reference, parser, f[0], f[1], f[2]);
        EXPECT_EQ(fast, reference) << f[0] << " | " << f[1] << " | " << f[2];
    }
}

}  // namespace
}  // namespace lf

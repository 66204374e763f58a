// The parser's action and goto tables as data, the productions' shapes, and the walk over the
// action table that the parser and the formula compiler share.
#pragma once

#include <array>
#include <cstdint>

#include "expr/Parser.h"
#include "platform/Errors.h"

namespace lf::parser_tables {

inline constexpr int kStateCount = 30;
inline constexpr int kTokenKindCount = 12;
inline constexpr uint8_t kNoState = 255;

enum class ActionKind : uint8_t { Shift, Reduce, Accept, MathErrorAccept, Error, BadState };

struct Action {
    ActionKind kind = ActionKind::BadState;
    uint8_t argument = 0;  // the state to shift to, the production, or the error code
};

using ActionRow = std::array<Action, kTokenKindCount>;

namespace detail {

constexpr ActionRow Row(Action otherwise) {
    ActionRow row{};
    row.fill(otherwise);
    return row;
}
constexpr Action Shift(uint8_t s) { return {ActionKind::Shift, s}; }
constexpr Action Reduce(uint8_t p) { return {ActionKind::Reduce, p}; }
constexpr Action Fail(uint8_t code) { return {ActionKind::Error, code}; }

// Where an operand must begin.
constexpr ActionRow OperandStart() {
    ActionRow row = Row(Fail(kOperandExpected));
    row[tkNumber] = Shift(10);
    row[tkFunction] = Shift(11);
    row[tkMinus] = Shift(5);
    row[tkOpenParen] = Shift(9);
    row[tkErrorMark] = {ActionKind::MathErrorAccept, 0};
    return row;
}

constexpr std::array<ActionRow, kStateCount> BuildActions() {
    std::array<ActionRow, kStateCount> t{};
    for (int s : {0, 9, 12, 13, 14, 15, 16, 20}) t[s] = OperandStart();

    t[1] = Row(Fail(kOperatorExpected));
    t[1][tkEnd] = {ActionKind::Accept, 0};
    t[1][tkPlus] = Shift(12);
    t[1][tkMinus] = Shift(13);

    t[2] = Row(Reduce(3));
    t[2][tkTimes] = Shift(14);
    t[2][tkDivide] = Shift(15);

    t[3] = Row(Reduce(6));

    t[4] = Row(Reduce(8));
    t[4][tkPower] = Shift(16);

    // After a unary minus: no second minus and no error mark.
    t[5] = Row(Fail(kOperandExpected));
    t[5][tkNumber] = Shift(10);
    t[5][tkFunction] = Shift(11);
    t[5][tkOpenParen] = Shift(9);

    t[6] = Row(Reduce(10));
    t[7] = Row(Reduce(13));
    t[8] = Row(Reduce(12));
    t[10] = Row(Reduce(15));

    t[11] = Row(Fail(kOpenParenExpected));
    t[11][tkOpenParen] = Shift(20);

    t[17] = Row(Reduce(9));
    t[18] = Row({ActionKind::BadState, 0});

    t[19] = Row(Fail(kCloseParenExpected));
    t[19][tkPlus] = Shift(12);
    t[19][tkMinus] = Shift(13);
    t[19][tkCloseParen] = Shift(27);

    t[21] = Row(Reduce(1));
    t[21][tkTimes] = Shift(14);
    t[21][tkDivide] = Shift(15);

    t[22] = Row(Reduce(2));
    t[22][tkTimes] = Shift(14);
    t[22][tkDivide] = Shift(15);

    t[23] = Row(Reduce(4));
    t[24] = Row(Reduce(5));
    t[25] = Row(Reduce(7));
    t[26] = Row(Reduce(11));
    t[27] = Row(Reduce(14));

    t[28] = Row(Fail(kCloseParenExpected));
    t[28][tkPlus] = Shift(12);
    t[28][tkMinus] = Shift(13);
    t[28][tkCloseParen] = Shift(29);

    t[29] = Row(Reduce(16));
    return t;
}

}  // namespace detail

inline constexpr std::array<ActionRow, kStateCount> kActions = detail::BuildActions();

// The left side of each production 1..16 (index 0 unused), as a row of kGoto.
enum Symbol : uint8_t { Expr, Term, Power, Signed, Primary, Factor };
inline constexpr Symbol kLeftSide[17] = {Expr,    Expr,   Expr,   Expr,   Term,   Term,
                                         Term,    Power,  Power,  Signed, Signed, Primary,
                                         Primary, Factor, Factor, Factor, Factor};
// Records each production pops; 0 for the two numbers that denote no rule.
inline constexpr uint8_t kPopCount[17] = {0, 3, 3, 1, 3, 3, 1, 3, 1, 2, 1, 0, 1, 0, 3, 1, 4};

namespace detail {

constexpr std::array<std::array<uint8_t, kStateCount>, 6> BuildGoto() {
    std::array<std::array<uint8_t, kStateCount>, 6> g{};
    for (auto& row : g) row.fill(kNoState);
    g[Expr][0] = 1;
    g[Expr][9] = 19;
    g[Expr][20] = 28;
    for (int s : {0, 9, 20}) g[Term][s] = 2;
    g[Term][12] = 21;
    g[Term][13] = 22;
    for (int s : {0, 9, 12, 13, 20}) g[Power][s] = 3;
    g[Power][14] = 23;
    g[Power][15] = 24;
    g[Power][16] = 25;
    for (int s : {0, 9, 12, 13, 14, 15, 16, 20}) g[Signed][s] = 4;
    for (int s : {0, 9, 12, 13, 14, 15, 16, 20}) g[Primary][s] = 6;
    g[Primary][5] = 17;
    for (int s : {0, 5, 9, 12, 13, 14, 15, 16, 20}) g[Factor][s] = 8;
    return g;
}

}  // namespace detail

inline constexpr std::array<std::array<uint8_t, kStateCount>, 6> kGoto = detail::BuildGoto();

inline constexpr const char* kBadTokenState = "Bad token state";
inline constexpr const char* kInvalidReduction = "Invalid reduction";

}  // namespace lf::parser_tables

namespace lf {

template <class Records>
void TMathParser::RunActions(Records& records) {
    using namespace parser_tables;
    // A bad number met by the first scan ends the parse before any action.
    while (ErrorCode == 0) {
        const Action action = kActions[records.TopState()][Lookahead];
        switch (action.kind) {
            case ActionKind::Shift:
                records.Shift(action.argument);
                break;
            case ActionKind::Reduce:
                records.Reduce(action.argument);
                break;
            case ActionKind::Accept:
                return;
            case ActionKind::MathErrorAccept:
                MathError = true;
                return;
            case ActionKind::Error:
                ErrorCode = action.argument;
                Position -= TokenLen;  // back on the offending token's first character
                return;
            case ActionKind::BadState:
                throw Error(kBadTokenState);
        }
    }
}

}  // namespace lf

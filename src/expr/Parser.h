// TMathParser: evaluates one arithmetic expression in extended precision with a table-driven
// shift-reduce parser that computes values as it reduces; no tree is built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Extended.h"

namespace lf {

enum TTokenKind : uint8_t {
    tkPlus,
    tkMinus,
    tkTimes,
    tkDivide,
    tkPower,
    tkOpenParen,
    tkCloseParen,
    tkNumber,
    tkFunction,
    tkEnd,
    tkBad,
    tkErrorMark,
};

class TMathParser;

// Handlers receive the parser as Sender. OnGetVar may store a value and set Found.
using TGetVarEvent =
    std::function<void(TMathParser* Sender, const std::string& VarName, Extended& Value, bool& Found)>;
using TParseErrorEvent = std::function<void(TMathParser* Sender, int ParseError)>;

// The error codes a parse can end with (2 is never raised).
inline constexpr uint8_t kStackOverflow = 1;
inline constexpr uint8_t kOperandExpected = 3;
inline constexpr uint8_t kOperatorExpected = 4;
inline constexpr uint8_t kOpenParenExpected = 5;
inline constexpr uint8_t kCloseParenExpected = 6;
inline constexpr uint8_t kBadNumber = 7;

// The ten functions, in the order names are compared. FunctionIndex is the position in this list.
inline constexpr int kFunctionCount = 10;
inline constexpr const char* kFunctionNames[kFunctionCount] = {"ABS",   "ATAN", "COS",  "EXP", "LN",
                                                               "ROUND", "SIN",  "SQRT", "SQR", "TRUNC"};

struct TTokenRec {
    uint8_t State = 0;
    Extended Value = 0;
    // The function of a function token: an index into kFunctionNames (its FuncName).
    int8_t FunctionIndex = -1;
    std::string FuncName() const { return FunctionIndex < 0 ? std::string() : kFunctionNames[FunctionIndex]; }
};

class TMathParser {
public:
    static constexpr int kStackSize = 15;

    // Published: the text, read and written straight through.
    std::string ParseString;
    TGetVarEvent OnGetVar;
    TParseErrorEvent OnParseError;

    // Evaluates ParseString; the outcome is left in ParseValue and ParseFailed.
    void Parse();

    bool ParseFailed = false;
    Extended ParseValue = 0;

    // 1-based index of the next character to scan; after a syntax error (codes 3 to 6) it
    // stands on the first character of the offending token. Kept wider than 16 bits so that
    // a very long text cannot wrap it around.
    size_t Position = 0;
    // The code the last parse ended with, 0 when none (what OnParseError was told).
    uint8_t ErrorCode = 0;

private:
    friend class FormulaCompiler;

    TTokenKind NextToken();
    // Takes actions from the table for the state on top of `records` and the lookahead until an
    // accept or an error. The parse and the formula compiler walk the tables with records of
    // their own: `records` gives TopState() and does Shift(state) and Reduce(production).
    template <class Records>
    void RunActions(Records& records);
    uint8_t TopState() const { return Stack[StackTop - 1].State; }
    void ScanNumber();
    void ScanIdentifier();

    void Shift(uint8_t state);
    void Reduce(int production);
    uint8_t GotoState(int production) const;
    void Push(const TTokenRec& record);
    TTokenRec Pop();

    TTokenRec CurrentToken;
    bool MathError = false;
    TTokenRec Stack[kStackSize];
    uint8_t StackTop = 0;
    size_t TokenLen = 0;
    TTokenKind Lookahead = tkEnd;
};

}  // namespace lf

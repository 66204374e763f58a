// The scanner and the table-driven parse of TMathParser.
#include "expr/Parser.h"

#include <locale.h>

#include <clocale>
#include <cmath>
#include <cstdlib>

#include "expr/Arithmetic.h"
#include "expr/ParserTables.h"
#include "platform/Errors.h"

namespace lf {

namespace {

using namespace parser_tables;

constexpr size_t kMaxLiteralLength = 80;
constexpr int kMaxExponentDigits = 4;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsIdentifierChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Decimal reading that ignores the process locale: a program started under an Italian locale
// must still read "1.5" as one and a half.
Extended ReadDecimal(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtold_l(text.c_str(), nullptr, cLocale);
}

}  // namespace

void TMathParser::ScanNumber() {
    const size_t start = Position - 1;  // 0-based
    const size_t length = ParseString.size();
    size_t i = start;
    bool point = false;
    while (i < length && (IsDigit(ParseString[i]) || (ParseString[i] == '.' && !point))) {
        if (ParseString[i] == '.') point = true;
        ++i;
    }
    if (i - start == 1 && ParseString[start] == '.') {
        Lookahead = tkBad;
        TokenLen = 0;
        return;
    }
    std::string text = ParseString.substr(start, i - start);
    if (i < length && (ParseString[i] == 'E' || ParseString[i] == 'e')) {
        text += 'E';
        ++i;
        if (i < length && (ParseString[i] == '+' || ParseString[i] == '-')) text += ParseString[i++];
        for (int n = 0; n < kMaxExponentDigits && i < length && IsDigit(ParseString[i]); ++n) {
            text += ParseString[i++];
        }
    }
    // What is cut off here is scanned again as the next token.
    if (text.size() > kMaxLiteralLength) text.resize(kMaxLiteralLength);
    Position += text.size();

    const size_t marker = text.find('E');
    if (marker != std::string::npos) {
        const size_t digits = marker + 1 < text.size() && (text[marker + 1] == '+' || text[marker + 1] == '-')
                                  ? marker + 2
                                  : marker + 1;
        if (digits >= text.size()) {
            MathError = true;
            ErrorCode = kBadNumber;
            Lookahead = tkBad;
            TokenLen = 0;
            return;
        }
    }
    const Extended value = ReadDecimal(text[0] == '.' ? "0" + text : text);
    // A literal beyond the range of Extended is a math error: the parse fails with no code.
    if (std::isinf(value)) MathError = true;
    CurrentToken.Value = std::isinf(value) ? 0 : value;
    Lookahead = tkNumber;
    TokenLen = text.size();
}

void TMathParser::ScanIdentifier() {
    const size_t start = Position - 1;
    size_t end = start;
    while (end < ParseString.size() && IsIdentifierChar(ParseString[end])) ++end;
    const std::string name = ParseString.substr(start, end - start);
    Position += name.size();

    if (name.size() <= 5) {
        std::string upper = name;
        for (char& c : upper) c = Upper(c);
        for (int f = 0; f < kFunctionCount; ++f) {
            if (upper == kFunctionNames[f]) {
                CurrentToken.FunctionIndex = static_cast<int8_t>(f);
                Lookahead = tkFunction;
                TokenLen = name.size();
                return;
            }
        }
    }
    bool found = false;
    if (OnGetVar) OnGetVar(this, name, CurrentToken.Value, found);
    if (found) {
        Lookahead = tkNumber;
        TokenLen = name.size();
    } else {
        Lookahead = tkBad;
        TokenLen = 0;
    }
}

TTokenKind TMathParser::NextToken() {
    const size_t length = ParseString.size();
    while (Position <= length && ParseString[Position - 1] == ' ') ++Position;
    TokenLen = Position;
    if (Position > length) {
        TokenLen = 0;
        return Lookahead = tkEnd;
    }
    const char c = Upper(ParseString[Position - 1]);
    if (c == '!') {
        TokenLen = 0;
        return Lookahead = tkErrorMark;
    }
    if (IsDigit(c) || c == '.') {
        ScanNumber();
        return Lookahead;
    }
    if (c >= 'A' && c <= 'Z') {
        ScanIdentifier();
        return Lookahead;
    }
    TTokenKind kind = tkBad;
    switch (c) {
        case '+':
            kind = tkPlus;
            break;
        case '-':
            kind = tkMinus;
            break;
        case '*':
            kind = tkTimes;
            break;
        case '/':
            kind = tkDivide;
            break;
        case '^':
            kind = tkPower;
            break;
        case '(':
            kind = tkOpenParen;
            break;
        case ')':
            kind = tkCloseParen;
            break;
        default:
            TokenLen = 0;
            return Lookahead = tkBad;
    }
    ++Position;
    TokenLen = 1;
    return Lookahead = kind;
}

void TMathParser::Push(const TTokenRec& record) {
    if (StackTop >= kStackSize) {
        ErrorCode = kStackOverflow;
        return;
    }
    Stack[StackTop++] = record;
}

TTokenRec TMathParser::Pop() {
    // The tables never pop below the bottom record; this guard only keeps memory safe.
    if (StackTop == 0) throw Error(kInvalidReduction);
    return Stack[--StackTop];
}

void TMathParser::Shift(uint8_t state) {
    CurrentToken.State = state;
    Push(CurrentToken);
    NextToken();
}

uint8_t TMathParser::GotoState(int production) const {
    const uint8_t state = kGoto[kLeftSide[production]][Stack[StackTop - 1].State];
    if (state == kNoState) throw Error(kInvalidReduction);
    return state;
}

void TMathParser::Reduce(int production) {
    auto binary = [this](BinaryOp op) {
        const TTokenRec right = Pop();
        Pop();
        const TTokenRec left = Pop();
        if (!ApplyBinary(op, left.Value, right.Value, CurrentToken.Value)) {
            MathError = true;
            CurrentToken.Value = 0;
        }
    };
    switch (production) {
        case 1:
            binary(BinaryOp::Add);
            break;
        case 2:
            binary(BinaryOp::Subtract);
            break;
        case 4:
            binary(BinaryOp::Multiply);
            break;
        case 5:
            binary(BinaryOp::Divide);
            break;
        case 7:
            binary(BinaryOp::Power);
            break;
        case 3:
        case 6:
        case 8:
        case 10:
        case 12:
        case 15:
            CurrentToken = Pop();
            break;
        case 9: {
            const TTokenRec operand = Pop();
            Pop();
            CurrentToken.Value = -operand.Value;
            break;
        }
        case 14:
            Pop();
            CurrentToken = Pop();
            Pop();
            break;
        case 16: {
            Pop();
            CurrentToken = Pop();
            Pop();
            const TTokenRec function = Pop();
            const Extended argument = CurrentToken.Value;
            if (!ApplyFunction(function.FunctionIndex, argument, CurrentToken.Value)) {
                MathError = true;
                CurrentToken.Value = 0;
            }
            break;
        }
        default:
            throw Error(kInvalidReduction);
    }
    CurrentToken.State = GotoState(production);
    Push(CurrentToken);
}

void TMathParser::Parse() {
    Position = 1;
    StackTop = 0;
    ErrorCode = 0;
    MathError = false;
    ParseFailed = false;
    CurrentToken = TTokenRec{};
    Push(CurrentToken);
    NextToken();

    RunActions(*this);

    if (ErrorCode != 0 && OnParseError) OnParseError(this, ErrorCode);
    if (MathError || ErrorCode != 0) {
        ParseFailed = true;
        ParseValue = 0;
    } else {
        ParseFailed = false;
        ParseValue = Stack[StackTop - 1].Value;
    }
}

}  // namespace lf

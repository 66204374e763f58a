// Compiling a custom-filter formula: the parser's own scanner and tables walked once with
// symbolic values, constant parts folded, the rest kept as a postfix instruction list.
#include "expr/Formula.h"

#include <algorithm>

#include "expr/Parser.h"
#include "expr/ParserTables.h"
#include "platform/Errors.h"

namespace lf {

namespace {

bool MergesWithNumber(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.';
}

int VariableAt(const std::string& text, size_t i) {
    if (i + 1 >= text.size() || text[i + 1] != '1') return -1;
    switch (text[i]) {
        case 'R':
            return kVariableR;
        case 'G':
            return kVariableG;
        case 'B':
            return kVariableB;
        default:
            return -1;
    }
}

}  // namespace

bool VariablesAreDelimited(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (VariableAt(text, i) < 0) continue;
        if (i > 0) {
            const char before = text[i - 1];
            if (MergesWithNumber(before)) return false;
            // "1E+R1" reads as a literal with an exponent once the number is in place.
            if ((before == '+' || before == '-') && i > 1 && (text[i - 2] == 'E' || text[i - 2] == 'e')) {
                return false;
            }
        }
        if (i + 2 < text.size() && MergesWithNumber(text[i + 2])) return false;
        ++i;  // occurrences do not overlap
    }
    return true;
}

class FormulaCompiler {
public:
    explicit FormulaCompiler(CompiledFormula& out) : out_(out) {}

    void Run(const std::string& text) {
        parser_.ParseString = text;
        parser_.OnGetVar = [this](TMathParser*, const std::string& name, Extended& value, bool& found) {
            if (name.size() == 2 && VariableAt(name, 0) >= 0) {
                found = true;
                value = 0;
                scannedVariable_ = VariableAt(name, 0);
            }
        };
        parser_.Position = 1;
        parser_.ErrorCode = 0;
        parser_.MathError = false;
        Push(Symbol{});
        Scan();

        parser_.RunActions(*this);
        if (parser_.ErrorCode != 0 || parser_.MathError) {
            out_.alwaysFails_ = true;
            out_.code_.clear();
            out_.usedMask_ = 0;
            return;
        }
        const Symbol& result = stack_[top_ - 1];
        if (result.constant) Emit(CompiledFormula::OpCode::PushConstant, 0, result.value);
    }

private:
    friend class TMathParser;  // walks the tables over these records
    using OpCode = CompiledFormula::OpCode;

    // A parse record: a folded constant, or a value the instruction list leaves on the stack.
    struct Symbol {
        uint8_t state = 0;
        bool constant = true;
        Extended value = 0;
        int8_t function = -1;
    };

    void Scan() {
        scannedVariable_ = -1;
        parser_.NextToken();
        token_ = Symbol{};
        if (parser_.Lookahead == tkNumber) {
            if (scannedVariable_ >= 0) {
                token_.constant = false;
                variableToken_ = scannedVariable_;
            } else {
                token_.value = parser_.CurrentToken.Value;
                variableToken_ = -1;
            }
        } else if (parser_.Lookahead == tkFunction) {
            token_.function = parser_.CurrentToken.FunctionIndex;
        }
    }

    uint8_t TopState() const { return stack_[top_ - 1].state; }

    void Push(const Symbol& s) {
        if (top_ >= TMathParser::kStackSize) {
            parser_.ErrorCode = kStackOverflow;
            return;
        }
        stack_[top_++] = s;
    }
    Symbol Pop() {
        if (top_ == 0) throw Error(parser_tables::kInvalidReduction);
        return stack_[--top_];
    }

    void Emit(OpCode code, uint8_t argument, Extended constant = 0) {
        out_.code_.push_back({code, argument, constant});
    }

    void Shift(uint8_t state) {
        Symbol s = token_;
        s.state = state;
        const bool variable = parser_.Lookahead == tkNumber && !s.constant;
        const int which = variableToken_;
        Push(s);
        // Only a record that made it onto the stack may leave a value on the run-time stack.
        if (variable && parser_.ErrorCode == 0) {
            Emit(OpCode::PushVariable, static_cast<uint8_t>(which));
            out_.usedMask_ |= static_cast<uint8_t>(1u << which);
        }
        Scan();
    }

    Symbol Binary(BinaryOp op) {
        const Symbol right = Pop();
        Pop();
        const Symbol left = Pop();
        Symbol result;
        if (left.constant && right.constant) {
            if (!ApplyBinary(op, left.value, right.value, result.value)) parser_.MathError = true;
        } else if (left.constant) {
            result.constant = false;
            Emit(OpCode::BinaryConstLeft, static_cast<uint8_t>(op), left.value);
        } else if (right.constant) {
            result.constant = false;
            Emit(OpCode::BinaryConstRight, static_cast<uint8_t>(op), right.value);
        } else {
            result.constant = false;
            Emit(OpCode::Binary, static_cast<uint8_t>(op));
        }
        return result;
    }

    void Reduce(int production) {
        Symbol result;
        switch (production) {
            case 1:
                result = Binary(BinaryOp::Add);
                break;
            case 2:
                result = Binary(BinaryOp::Subtract);
                break;
            case 4:
                result = Binary(BinaryOp::Multiply);
                break;
            case 5:
                result = Binary(BinaryOp::Divide);
                break;
            case 7:
                result = Binary(BinaryOp::Power);
                break;
            case 3:
            case 6:
            case 8:
            case 10:
            case 12:
            case 15:
                result = Pop();
                break;
            case 9:
                result = Pop();
                Pop();
                if (result.constant) {
                    result.value = -result.value;
                } else {
                    Emit(OpCode::Negate, 0);
                }
                break;
            case 14:
                Pop();
                result = Pop();
                Pop();
                break;
            case 16: {
                Pop();
                result = Pop();
                Pop();
                const Symbol function = Pop();
                if (result.constant) {
                    Extended folded = 0;
                    if (!ApplyFunction(function.function, result.value, folded)) parser_.MathError = true;
                    result.value = folded;
                } else {
                    Emit(OpCode::Function, static_cast<uint8_t>(function.function));
                }
                break;
            }
            default:
                throw Error(parser_tables::kInvalidReduction);
        }
        result.function = -1;
        const uint8_t state =
            parser_tables::kGoto[parser_tables::kLeftSide[production]][stack_[top_ - 1].state];
        if (state == parser_tables::kNoState) throw Error(parser_tables::kInvalidReduction);
        result.state = state;
        Push(result);
    }

    CompiledFormula& out_;
    TMathParser parser_;
    Symbol stack_[TMathParser::kStackSize];
    uint8_t top_ = 0;
    Symbol token_;
    int scannedVariable_ = -1;
    int variableToken_ = -1;
};

std::optional<CompiledFormula> CompiledFormula::Compile(const std::string& text) {
    if (!VariablesAreDelimited(text)) return std::nullopt;
    CompiledFormula formula;
    FormulaCompiler(formula).Run(text);
    formula.BuildTree();
    return formula;
}

void CompiledFormula::BuildTree() {
    // The tree is walked recursively: keep long chains of terms on the instruction list.
    constexpr size_t kMaxTreeNodes = 4096;
    if (alwaysFails_ || usedMask_ != 7 || code_.size() > kMaxTreeNodes) return;
    std::vector<int> stack;
    for (const Instruction& in : code_) {
        Node node{in.code, in.argument, in.constant};
        switch (in.code) {
            case OpCode::PushConstant:
                break;
            case OpCode::PushVariable:
                node.counts[in.argument] = 1;
                break;
            case OpCode::Negate:
            case OpCode::Function:
            case OpCode::BinaryConstLeft:
            case OpCode::BinaryConstRight:
                node.left = stack.back();
                stack.pop_back();
                break;
            case OpCode::Binary:
                node.right = stack.back();
                stack.pop_back();
                node.left = stack.back();
                stack.pop_back();
                break;
        }
        for (int child : {node.left, node.right}) {
            if (child < 0) continue;
            for (int v = 0; v < 3; ++v)
                node.counts[v] =
                    static_cast<uint8_t>(std::min(255, node.counts[v] + nodes_[child].counts[v]));
        }
        stack.push_back(static_cast<int>(nodes_.size()));
        nodes_.push_back(node);
    }
    root_ = stack.back();

    // The largest sub-expression that holds every occurrence of exactly two variables.
    const Node& root = nodes_[root_];
    for (int n = root_ - 1; n >= 0 && splitNode_ < 0; --n) {
        const Node& node = nodes_[n];
        int inside = 0, outside = -1;
        bool whole = true;
        for (int v = 0; v < 3; ++v) {
            if (node.counts[v] == 0) {
                outside = v;
            } else if (node.counts[v] == root.counts[v] && root.counts[v] < 255) {
                ++inside;
            } else {
                whole = false;
            }
        }
        if (whole && inside == 2) {
            splitNode_ = n;
            const int u = outside == 0 ? 1 : 0;
            const int v = outside == 2 ? 1 : 2;
            split_ = {static_cast<FormulaVariable>(u), static_cast<FormulaVariable>(v),
                      static_cast<FormulaVariable>(outside)};
        }
    }
}

std::optional<CompiledFormula::Split> CompiledFormula::FindSplit() const {
    if (splitNode_ < 0) return std::nullopt;
    return split_;
}

bool CompiledFormula::EvaluateNode(int node, const Extended variables[3], int replaced, Extended replacement,
                                   Extended& value) const {
    if (node == replaced) {
        value = replacement;
        return true;
    }
    const Node& n = nodes_[node];
    Extended left = 0, right = 0;
    if (n.left >= 0 && !EvaluateNode(n.left, variables, replaced, replacement, left)) return false;
    if (n.right >= 0 && !EvaluateNode(n.right, variables, replaced, replacement, right)) return false;
    switch (n.code) {
        case OpCode::PushConstant:
            value = n.constant;
            return true;
        case OpCode::PushVariable:
            value = variables[n.argument];
            return true;
        case OpCode::Negate:
            value = -left;
            return true;
        case OpCode::Function:
            return ApplyFunction(n.argument, left, value);
        case OpCode::Binary:
            return ApplyBinary(static_cast<BinaryOp>(n.argument), left, right, value);
        case OpCode::BinaryConstLeft:
            return ApplyBinary(static_cast<BinaryOp>(n.argument), n.constant, left, value);
        case OpCode::BinaryConstRight:
            return ApplyBinary(static_cast<BinaryOp>(n.argument), left, n.constant, value);
    }
    return false;
}

bool CompiledFormula::EvaluateInner(Extended u, Extended v, Extended& value) const {
    Extended variables[3] = {0, 0, 0};
    variables[split_.u] = u;
    variables[split_.v] = v;
    return EvaluateNode(splitNode_, variables, -1, 0, value);
}

bool CompiledFormula::EvaluateOuter(Extended inner, Extended w, Extended& value) const {
    Extended variables[3] = {0, 0, 0};
    variables[split_.w] = w;
    return EvaluateNode(root_, variables, splitNode_, inner, value);
}

bool CompiledFormula::Evaluate(const Extended variables[3], Extended& value) const {
    if (alwaysFails_) return false;
    Extended stack[TMathParser::kStackSize + 1];
    int top = 0;
    for (const Instruction& in : code_) {
        switch (in.code) {
            case OpCode::PushConstant:
                stack[top++] = in.constant;
                break;
            case OpCode::PushVariable:
                stack[top++] = variables[in.argument];
                break;
            case OpCode::Negate:
                stack[top - 1] = -stack[top - 1];
                break;
            case OpCode::Function:
                if (!ApplyFunction(in.argument, stack[top - 1], stack[top - 1])) return false;
                break;
            case OpCode::Binary:
                --top;
                if (!ApplyBinary(static_cast<BinaryOp>(in.argument), stack[top - 1], stack[top],
                                 stack[top - 1])) {
                    return false;
                }
                break;
            case OpCode::BinaryConstLeft:
                if (!ApplyBinary(static_cast<BinaryOp>(in.argument), in.constant, stack[top - 1],
                                 stack[top - 1])) {
                    return false;
                }
                break;
            case OpCode::BinaryConstRight:
                if (!ApplyBinary(static_cast<BinaryOp>(in.argument), stack[top - 1], in.constant,
                                 stack[top - 1])) {
                    return false;
                }
                break;
        }
    }
    value = stack[top - 1];
    return true;
}

}  // namespace lf

// A custom-filter formula over the variables R1, G1 and B1, compiled once into a short
// instruction list so that a pixel costs no text substitution and no parse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "expr/Arithmetic.h"
#include "platform/Extended.h"

namespace lf {

enum FormulaVariable : uint8_t { kVariableR = 0, kVariableG = 1, kVariableB = 2 };

class CompiledFormula {
public:
    // Nullopt when the formula writes a variable against a character the substituted number
    // would merge with ("2R1", "R1.5", "R10", "R1E1", "GR1", "1E+R1"): such a formula changes
    // its token structure with the pixel's values and only the literal form evaluates it.
    static std::optional<CompiledFormula> Compile(const std::string& text);

    // True and the value in `value` when the parse of the substituted text would succeed.
    bool Evaluate(const Extended variables[3], Extended& value) const;

    // A formula of all three variables in which two of them, u and v, occur only inside one
    // sub-expression: the value is outer(inner(u, v), w). Sums like "(R1+G1+B1)/3" are so made,
    // and their inner part takes few distinct values, so tables over (inner value, w) pay.
    struct Split {
        FormulaVariable u, v, w;
    };
    std::optional<Split> FindSplit() const;
    // The inner sub-expression for the given u and v, and the whole formula with that value in
    // place of it; false on a math error, as the parse would fail.
    bool EvaluateInner(Extended u, Extended v, Extended& value) const;
    bool EvaluateOuter(Extended inner, Extended w, Extended& value) const;

    bool Uses(FormulaVariable variable) const { return (usedMask_ >> variable) & 1; }
    // Bit v set when variable v occurs.
    uint8_t UsedMask() const { return usedMask_; }

private:
    friend class FormulaCompiler;

    enum class OpCode : uint8_t {
        PushConstant,
        PushVariable,
        Negate,
        Function,
        Binary,            // both operands on the stack
        BinaryConstLeft,   // constant op stack top
        BinaryConstRight,  // stack top op constant
    };
    struct Instruction {
        OpCode code;
        uint8_t argument;  // variable, function index or BinaryOp
        Extended constant;
    };

    // The same formula as a tree, for the split.
    struct Node {
        OpCode code;
        uint8_t argument;
        Extended constant;
        int left = -1, right = -1;      // operand nodes (one for Negate and Function)
        uint8_t counts[3] = {0, 0, 0};  // occurrences of each variable below this node
    };
    void BuildTree();
    bool EvaluateNode(int node, const Extended variables[3], int replaced, Extended replacement,
                      Extended& value) const;

    std::vector<Instruction> code_;
    std::vector<Node> nodes_;
    int root_ = -1;
    int splitNode_ = -1;
    Split split_{};
    bool alwaysFails_ = false;
    uint8_t usedMask_ = 0;
};

// The variable occurrences of the formula's text that the literal substitution would find,
// and whether each is delimited so that its number cannot merge with a neighbour.
bool VariablesAreDelimited(const std::string& text);

}  // namespace lf

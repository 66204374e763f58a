// The custom filter: three formulas over R1, G1 and B1 give each pixel of the selection its
// new red, green and blue. The literal form (substitute the values as text, parse, round,
// clamp) defines the result; the fast form gives the same byte for every pixel.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "expr/Formula.h"
#include "expr/Parser.h"
#include "platform/Bitmap.h"

namespace lf {

// Every "R1" replaced by the decimal text of r, then every "G1" of the result by g, then every
// "B1" by b, left to right, case-sensitive.
std::string SubstituteVariables(const std::string& expression, uint8_t r, uint8_t g, uint8_t b);

// A parse outcome as a channel: 0 when it failed, else rounded half to even and clamped.
uint8_t ChannelByte(bool failed, Extended value);

// The literal form for one channel of one pixel.
uint8_t LiteralChannelValue(TMathParser& parser, const std::string& expression, uint8_t r, uint8_t g,
                            uint8_t b);

// The reference kernel: every pixel substituted and parsed three times, as written.
void CustomFilterLiteralKernel(Bitmap& work, TMathParser& parser, const std::string& RExpr,
                               const std::string& GExpr, const std::string& BExpr);

// One channel's formula prepared for a whole picture. Compiled when its variables cannot merge
// with neighbouring characters, else evaluated in the literal form; either way results are
// kept by the values of the variables the formula reads: a table filled at once where that is
// cheap (one variable, or two for a compiled formula), else filled as colours turn up.
class ChannelEvaluator {
public:
    ChannelEvaluator(const std::string& expression, TMathParser& parser);

    bool Compiled() const { return compiled_.has_value(); }
    // Bit v set when the result can depend on variable v (R, G, B as in FormulaVariable).
    uint8_t UsedMask() const { return usedMask_; }

    // The channel byte for one pixel, uncached.
    uint8_t Compute(uint8_t r, uint8_t g, uint8_t b) const;

    // The channel bytes of `width` pixels (blue, green, red) into out.
    void Row(const uint8_t* pixels, int32_t width, uint8_t* out);

    // True when Row may parse text (a literal formula whose table fills on demand).
    bool ParsesDuringSweep() const { return !compiled_ && kind_ == Kind::OnDemand; }

    // For the fused loop of filters whose channels each read at most one variable.
    bool SingleVariable() const { return kind_ == Kind::Constant || kind_ == Kind::OneVariable; }
    // The byte offset in a pixel of the variable read, and the table over its 256 values.
    int SourceOffset() const { return first_; }
    const uint8_t* Table() const { return table_.data(); }
    // True when the result is the byte at `offset` itself ("G1" for green).
    bool Identity(int offset) const { return identityAt_ == offset; }

private:
    // 2^24 zeroed entries in huge pages where the system offers them: first touches of small
    // pages cost about 30 µs each on the machines we measured, a quarter of a second per table.
    class ZeroedTable {
    public:
        ZeroedTable();
        ~ZeroedTable();
        ZeroedTable(const ZeroedTable&) = delete;
        ZeroedTable& operator=(const ZeroedTable&) = delete;
        uint16_t* data() const { return data_; }

    private:
        void* mapping_ = nullptr;
        size_t size_ = 0;
        uint16_t* data_ = nullptr;
    };
    enum class Kind { Constant, OneVariable, TwoVariables, Split, OnDemand };
    bool PrepareSplit();

    std::string expression_;
    TMathParser* parser_;
    std::optional<CompiledFormula> compiled_;
    uint8_t usedMask_ = 0;
    Kind kind_ = Kind::Constant;
    int first_ = 0, second_ = 0;  // byte offsets in a pixel of the variables a table reads
    uint8_t constant_ = 0;
    int identityAt_ = -1;
    std::vector<uint8_t> table_;
    // Split: the class of each (u, v) by the inner part's value, and the byte for (class, w).
    std::vector<uint16_t> classes_;
    int third_ = 0;
    // (r << 16 | g << 8 | b) & keyMask_ -> byte + 1, 0 while unknown.
    std::unique_ptr<ZeroedTable> cache_;
    uint32_t keyMask_ = 0;
};

// The fast kernel over a scratch copy: the same bytes as CustomFilterLiteralKernel.
void CustomFilterKernel(Bitmap& work, const std::string& RExpr, const std::string& GExpr,
                        const std::string& BExpr);

// TMainForm.CustomFilter: one pass over the selection of MainBitmap. The parser is the main
// window's MathParser; formulas that cannot be compiled are parsed through it.
void CustomFilter(const std::string& RExpr, const std::string& GExpr, const std::string& BExpr,
                  TMathParser& parser);
// The same with a parser of its own (the batch tool).
void CustomFilter(const std::string& RExpr, const std::string& GExpr, const std::string& BExpr);

}  // namespace lf

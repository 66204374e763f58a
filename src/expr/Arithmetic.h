// The value rules of the parser's reductions: the four operations, the power rule and the
// function table with its domains. The parser and the compiled formulas of the custom filter
// both compute through these, so they give the same bits.
#pragma once

#include <cmath>
#include <limits>

#include "platform/Extended.h"

namespace lf {

enum class BinaryOp : unsigned char { Add, Subtract, Multiply, Divide, Power };

// Each returns false on a math error. We also count a result beyond the range of Extended as a
// math error, so no infinity or NaN ever reaches a later step or the rounding of a channel.
inline bool ApplyBinary(BinaryOp op, Extended left, Extended right, Extended& result) {
    switch (op) {
        case BinaryOp::Add:
            result = left + right;
            break;
        case BinaryOp::Subtract:
            result = left - right;
            break;
        case BinaryOp::Multiply:
            result = left * right;
            break;
        case BinaryOp::Divide:
            if (right == 0) return false;
            result = left / right;
            break;
        case BinaryOp::Power: {
            if (left <= 0) return false;
            const Extended t = right * std::log(left);
            if (!(t >= -11356.0L && t <= 11356.0L)) return false;
            result = std::exp(t);
            break;
        }
    }
    return std::fabs(result) <= std::numeric_limits<Extended>::max();  // false for NaN too
}

// index: position in kFunctionNames (ABS, ATAN, COS, EXP, LN, ROUND, SIN, SQRT, SQR, TRUNC).
inline bool ApplyFunction(int index, Extended x, Extended& result) {
    switch (index) {
        case 0:
            result = std::fabs(x);
            return true;
        case 1:
            result = std::atan(x);
            return true;
        case 2:
            if (!(x >= -9E18L && x <= 9E18L)) return false;
            result = std::cos(x);
            return true;
        case 3:
            if (!(x >= -11356.0L && x <= 11356.0L)) return false;
            result = std::exp(x);
            return true;
        case 4:
            if (!(x > 0)) return false;
            result = std::log(x);
            return true;
        case 5:
            if (!(x >= -1E9L && x <= 1E9L)) return false;
            result = std::nearbyint(x);  // default rounding mode: halves to even
            return true;
        case 6:
            if (!(x >= -9E18L && x <= 9E18L)) return false;
            result = std::sin(x);
            return true;
        case 7:
            if (!(x >= 0)) return false;
            result = std::sqrt(x);
            return true;
        case 8:
            if (!(x >= -1E2466L && x <= 1E2466L)) return false;
            result = x * x;
            return true;
        case 9:
            if (!(x >= -1E9L && x <= 1E9L)) return false;
            result = std::trunc(x);
            return true;
        default:
            return false;
    }
}

}  // namespace lf

// Extended: the 80-bit floating type (64-bit significand) in which the parser and the
// floating-point filter steps compute.
#pragma once

#include <limits>

namespace lf {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "long double must be the x87 80-bit extended type (64-bit significand)");

}  // namespace lf

#pragma once

// Conversions of real values to 32-bit integers. Both are defined for every
// double: NaN gives 0, and infinite or out-of-range values clamp to the int32
// range, so no file content can trigger an undefined conversion.

#include <cstdint>

namespace veltrona {

// The largest whole number not above v, except that a v >= 0 whose fractional
// part exceeds 0.999999999999 gives the next whole number up.
std::int32_t integerPart(double v);

// Truncation toward zero.
std::int32_t truncToInt32(double v);

}  // namespace veltrona

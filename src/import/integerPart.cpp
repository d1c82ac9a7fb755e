#include "import/integerPart.h"

#include <cmath>
#include <limits>

namespace veltrona {
namespace {

// A whole-valued double (or an infinity) into int32, clamped.
std::int32_t clampWhole(double whole) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (whole <= lo) return std::numeric_limits<std::int32_t>::min();
    if (whole >= hi) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(whole);
}

}  // namespace

std::int32_t integerPart(double v) {
    if (std::isnan(v)) return 0;
    double whole = std::floor(v);
    // Values a hair below a whole number (886.9999999999995) count as it.
    if (v >= 0.0 && v - whole > 0.999999999999) whole += 1.0;
    return clampWhole(whole);
}

std::int32_t truncToInt32(double v) {
    if (std::isnan(v)) return 0;
    return clampWhole(std::trunc(v));
}

}  // namespace veltrona

#include "import/integerPart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veltrona {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(IntegerPart, RoundsDownExceptJustBelowAWholeNumberAndClamps) {
    const struct {
        double v;
        std::int32_t integer;
        std::int32_t truncated;
    } cases[] = {
        {886.9999999999995, 887, 886},
        {886.99, 886, 886},
        {886.999999999999, 886, 886},  // a fraction of exactly the bound is not above it
        {887.0, 887, 887},
        {0.0, 0, 0},
        {-0.0, 0, 0},
        {0.9999999999995, 1, 0},
        {-0.0057, -1, 0},
        {-886.9999999999995, -887, -886},  // no step up below zero
        {-887.0, -887, -887},
        {std::nan(""), 0, 0},
        {kInf, kMax, kMax},
        {-kInf, kMin, kMin},
        {1e300, kMax, kMax},
        {-1e300, kMin, kMin},
        {2147483647.0, kMax, kMax},
        {2147483647.9, kMax, kMax},
        {2147483648.0, kMax, kMax},
        {-2147483648.0, kMin, kMin},
        {-2147483648.5, kMin, kMin},
        {-2147483647.5, kMin, -2147483647},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(integerPart(c.v), c.integer) << c.v;
        EXPECT_EQ(truncToInt32(c.v), c.truncated) << c.v;
    }
}

}  // namespace
}  // namespace veltrona

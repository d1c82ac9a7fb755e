#include "display/rulerScale.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace veltrona {
namespace {

TEST(RulerScale, ScalesWithNoFiniteValueAreZero) {
    const struct {
        float duration;
        double perMs, perWholeMs;
    } cases[] = {
        {10.0f, 887.0 / 10000.0, 887.0 / 10000.0},
        {3.7f, 887.0 / (static_cast<double>(3.7f) * 1000.0), 887.0 / 3700.0},
        {0.5f, 887.0 / 500.0, 887.0 / 500.0},
        {0.0f, 0.0, 0.0},                                                 // both divide by zero
        {0.0004f, 887.0 / (static_cast<double>(0.0004f) * 1000.0), 0.0},  // below 1 ms
        {-1.0f, -0.887, -0.887},
        {std::numeric_limits<float>::quiet_NaN(), 0.0, 0.0},
        {std::numeric_limits<float>::infinity(), 0.0, 887.0 / 2147483647.0},
    };
    for (const auto& c : cases) {
        const RulerScales s = rulerScales(c.duration, 887);
        EXPECT_DOUBLE_EQ(s.pixelsPerMs, c.perMs) << c.duration;
        EXPECT_DOUBLE_EQ(s.pixelsPerWholeMs, c.perWholeMs) << c.duration;
    }
}

std::vector<std::int32_t> ticks(float duration, int count) {
    const double perWholeMs = rulerScales(duration, 887).pixelsPerWholeMs;
    std::vector<std::int32_t> xs;
    for (int t = 0; t < count; ++t) xs.push_back(tickX(t, perWholeMs));
    return xs;
}

TEST(RulerScale, TickPositions) {
    EXPECT_EQ(ticks(10.0f, 11),
              (std::vector<std::int32_t>{0, 88, 177, 266, 354, 443, 532, 620, 709, 798, 887}));
    EXPECT_EQ(ticks(3.7f, 4), (std::vector<std::int32_t>{0, 239, 479, 719}));
    EXPECT_EQ(tickX(5, 0.0), 0);
    EXPECT_EQ(tickX(std::numeric_limits<std::int32_t>::max(), 1e9), 2147483647);
}

TEST(RulerScale, LabelSpacingReadsTheBoundsAsHalfOpen) {
    const struct {
        std::int32_t n;
        int spacing;
    } cases[] = {
        {-1, 1},  {0, 1},    {14, 1},   {15, 2},  {59, 2},   {60, 5},
        {119, 5}, {120, 20}, {399, 20}, {400, 0}, {3600, 0}, {2147483647, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(labelSpacing(c.n), c.spacing) << c.n;
}

TEST(RulerScale, LabelSecondsAreMultiplesOfTheSpacing) {
    EXPECT_TRUE(isLabelSecond(0, 20));
    EXPECT_TRUE(isLabelSecond(40, 20));
    EXPECT_FALSE(isLabelSecond(41, 20));
    EXPECT_TRUE(isLabelSecond(7, 1));
    EXPECT_FALSE(isLabelSecond(7, 2));
    EXPECT_FALSE(isLabelSecond(0, 0));
}

}  // namespace
}  // namespace veltrona

#include "playback/playheadPlacement.h"

#include <gtest/gtest.h>

#include <limits>

#include "playback/volumeForPosition.h"

namespace veltrona {
namespace {

TEST(VolumeForPosition, TopIsLoudestAndBottomNeverSilent) {
    const struct {
        int position;
        float volume;
    } cases[] = {
        {1, 1.0f},
        {2, 0.99f},
        {51, 0.5f},
        {91, 0.1f},
        {100, 0.01f},
        // Outside the bar's range: the nearer end.
        {0, 1.0f},
        {-7, 1.0f},
        {101, 0.01f},
        {1000, 0.01f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(volumeForPosition(c.position), c.volume) << c.position;
    }
}

TEST(PlayheadPlacement, ByteRateAndScaleGiveMillisecondsColumnAndLefts) {
    const double tenSeconds = 887 / 10000.0;  // 0.0887 pixels per millisecond
    const struct {
        std::uint64_t enginePosition;
        std::int32_t byteRate;
        double pixelsPerMs;
        std::int32_t ms;
        std::int32_t x;
    } cases[] = {
        {0, 176400, tenSeconds, 0, 0},
        {882000, 176400, tenSeconds, 5000, 443},
        {1764000, 176400, tenSeconds, 10000, 887},
        // The engine's failure value reads as -1.
        {~std::uint64_t{0}, 176400, tenSeconds, -1, -1},
        // Only the low 32 bits count, as a signed number.
        {0x100000000ull + 882000, 176400, tenSeconds, 5000, 443},
        {0x80000000ull, 176400, tenSeconds, -12173944, -1079829},
        // Mono 8-bit: a byte rate below 1000 still works.
        {441, 441, 1.0, 1000, 1000},
        // No byte rate or no sensible scale: the playhead stays at the start.
        {882000, 0, tenSeconds, 0, 0},
        {882000, -176400, tenSeconds, 0, 0},
        {882000, 176400, std::numeric_limits<double>::infinity(), 5000, 0},
        {882000, 176400, std::numeric_limits<double>::quiet_NaN(), 5000, 0},
        // A finite but huge scale clamps.
        {882000, 176400, 1e300, 5000, std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.enginePosition);
        const std::int32_t ms = playheadMs(bytePosition(c.enginePosition), c.byteRate);
        EXPECT_EQ(ms, c.ms);
        EXPECT_EQ(playheadX(ms, c.pixelsPerMs), c.x);
    }
}

TEST(PlayheadPlacement, LineAndMarkerStandAtTheirRestLeftPlusX) {
    const struct {
        std::int32_t x;
        int line;
        int marker;
    } cases[] = {
        {0, 24, 19},
        {443, 467, 462},
        {-1, 23, 18},
        {887, 911, 906},
        // Far off the window: bounded, never overflowing.
        {std::numeric_limits<std::int32_t>::max(), 100024, 100019},
        {std::numeric_limits<std::int32_t>::min(), -99976, -99981},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(playheadLeft(c.x, kPlayheadLineRestLeft), c.line) << c.x;
        EXPECT_EQ(playheadLeft(c.x, kMarkerRestLeft), c.marker) << c.x;
    }
}

}  // namespace
}  // namespace veltrona

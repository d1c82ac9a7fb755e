#include "display/frameStep.h"

#include <gtest/gtest.h>

#include <limits>

namespace veltrona {
namespace {

TEST(FrameStep, FrameCountTruncatesAndGuardsTheDivision) {
    const struct {
        std::int32_t dataLength, blockAlign, frames;
    } cases[] = {
        {1764000, 4, 441000},
        {7, 2, 3},
        {0, 4, 0},
        {-7, 2, -3},
        {100, 0, 0},
        {100, -4, 0},
        {std::numeric_limits<std::int32_t>::max(), 1, std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frameCountOf(c.dataLength, c.blockAlign), c.frames)
            << c.dataLength << " / " << c.blockAlign;
    }
}

TEST(FrameStep, StepIsSinglePrecisionAndColumnsLandOnTheirFrames) {
    const float step441000 = frameStep(441000, 21150);
    EXPECT_EQ(step441000, 20.851065f);
    EXPECT_EQ(framePosition(1, step441000), 20);          // column 1 shows frames 20 and 21
    EXPECT_EQ(framePosition(21150, step441000), 441000);  // one past the last frame

    const float step123456 = frameStep(123456, 21150);
    EXPECT_EQ(framePosition(21150, step123456), 123455);

    // Fewer frames than columns: each frame covers about 211 columns.
    const float step100 = frameStep(100, 21150);
    EXPECT_EQ(framePosition(211, step100), 0);
    EXPECT_EQ(framePosition(212, step100), 1);
    EXPECT_EQ(framePosition(21150, step100), 100);

    EXPECT_EQ(frameStep(0, 21150), 0.0f);
    EXPECT_EQ(framePosition(21150, 0.0f), 0);
    EXPECT_EQ(frameStep(100, 0), 0.0f);
}

}  // namespace
}  // namespace veltrona

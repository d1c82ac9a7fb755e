#include "display/readSample.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrona {
namespace {

TEST(ReadSample, NeverLeavesTheSampleBytes) {
    const std::vector<std::uint8_t> bytes = {0x10, 0x27, 0xff, 0x80, 0x01};
    const std::span<const std::uint8_t> pcm(bytes);
    const struct {
        std::int64_t offset;
        int value8, value16;
    } cases[] = {
        {0, 0x10, 10000},                      // 0x2710
        {1, 0x27, -217},                       // 0xff27
        {2, 0xff, -32513},                     // 0x80ff
        {3, 0x80, 384},                        // 0x0180
        {4, 0x01, 1},                          // high byte beyond the end: the low byte alone
        {5, 0, 0},                             // wholly beyond
        {1000, 0, 0},      {-1, 0x10, 10000},  // below 0 reads from 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readSample8(pcm, c.offset), c.value8) << c.offset;
        EXPECT_EQ(readSample16(pcm, c.offset), c.value16) << c.offset;
    }
    // A high byte of 0xff beyond the end does not make the value negative.
    const std::vector<std::uint8_t> odd = {0x00, 0x00, 0xff};
    EXPECT_EQ(readSample16(std::span<const std::uint8_t>(odd), 2), 255);
    EXPECT_EQ(readSample8({}, 0), 0);
    EXPECT_EQ(readSample16({}, 0), 0);
}

}  // namespace
}  // namespace veltrona

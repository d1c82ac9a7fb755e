#include "import/littleEndian.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace veltrona {
namespace {

constexpr std::size_t kFar = std::numeric_limits<std::size_t>::max();

TEST(LittleEndian, ReadsNeverLeaveTheBufferAndZeroFillHighBytes) {
    const std::array<std::uint8_t, 5> raw{0x01, 0x02, 0x03, 0xFF, 0xFF};
    const std::span<const std::uint8_t> bytes(raw);
    const struct {
        std::size_t offset;
        std::uint32_t u32;
        std::uint16_t u16;
    } cases[] = {
        {0, 0xFF030201u, 0x0201},
        {2, 0x00FFFF03u, 0xFF03},
        {3, 0x0000FFFFu, 0xFFFF},
        {4, 0x000000FFu, 0x00FF},
        {5, 0, 0},
        {kFar - 1, 0, 0},
        {kFar, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readU32le(bytes, c.offset), c.u32) << c.offset;
        EXPECT_EQ(readU16le(bytes, c.offset), c.u16) << c.offset;
    }
    EXPECT_EQ(readI16le(bytes, 3), -1);
    EXPECT_EQ(readI32le(bytes, 1), static_cast<std::int32_t>(0xFFFF0302u));
    EXPECT_EQ(readU32le({}, 0), 0u);
}

TEST(LittleEndian, RangesAreCutAtTheEnd) {
    const std::array<std::uint8_t, 5> raw{1, 2, 3, 4, 5};
    const std::span<const std::uint8_t> bytes(raw);
    const struct {
        std::size_t offset, count, size;
    } cases[] = {
        {0, 5, 5}, {0, 9, 5}, {3, kFar, 2}, {4, 1, 1}, {5, 1, 0}, {kFar, kFar, 0}, {2, 0, 0},
    };
    for (const auto& c : cases) {
        const auto range = byteRange(bytes, c.offset, c.count);
        EXPECT_EQ(range.size(), c.size) << c.offset << "+" << c.count;
        if (!range.empty()) {
            EXPECT_EQ(range.data(), raw.data() + c.offset);
        }
    }
}

TEST(LittleEndian, WritesPastTheEndAreDropped) {
    std::array<std::uint8_t, 6> raw{};
    writeU32le(raw, 0, 0x44332211u);
    writeU32le(raw, 4, 0xDDCCBBAAu);
    writeU16le(raw, 6, 0xFFFF);
    writeU16le(raw, kFar, 0xFFFF);
    EXPECT_EQ(raw, (std::array<std::uint8_t, 6>{0x11, 0x22, 0x33, 0x44, 0xAA, 0xBB}));
}

}  // namespace
}  // namespace veltrona

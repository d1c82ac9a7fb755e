#include "display/WaveformLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace veltrona {
namespace {

TEST(WaveformLayout, ChosenByExactChannelsAndBits) {
    EXPECT_EQ(waveformLayoutOf(1, 8), WaveformLayout::Mono8);
    EXPECT_EQ(waveformLayoutOf(1, 16), WaveformLayout::Mono16);
    EXPECT_EQ(waveformLayoutOf(2, 8), WaveformLayout::Stereo8);
    EXPECT_EQ(waveformLayoutOf(2, 16), WaveformLayout::Stereo16);
    for (auto [channels, bits] :
         {std::pair<int, int>{2, 24}, {1, 32}, {0, 16}, {6, 16}, {2, 0}, {-1, 8}, {1, 4}}) {
        EXPECT_FALSE(
            waveformLayoutOf(static_cast<std::int16_t>(channels), static_cast<std::int16_t>(bits)))
            << channels << " x " << bits;
    }
}

std::vector<int> range(int from, int step, int to) {
    std::vector<int> v;
    for (int x = from; x <= to; x += step) v.push_back(x);
    return v;
}

TEST(WaveformLayout, GridLineTable) {
    const struct {
        WaveformLayout layout;
        std::vector<int> xs, ys;
        std::set<int> thickYs;
    } cases[] = {
        {WaveformLayout::Mono8,
         range(32, 32, 896),
         {21, 43, 64, 86, 107, 129, 150, 172, 193, 215, 236},
         {}},
        {WaveformLayout::Mono16,
         range(32, 32, 896),
         {21, 43, 64, 86, 107, 129, 150, 172, 193, 215, 236},
         {}},
        {WaveformLayout::Stereo8, range(56, 56, 896), range(32, 32, 256), {128}},
        {WaveformLayout::Stereo16, range(32, 32, 896), range(32, 32, 256), {128}},
    };
    for (const auto& c : cases) {
        std::vector<int> xs, ys;
        for (const GridLine& line : gridLinesOf(c.layout, 900, 256)) {
            if (line.x1 == line.x2) {
                EXPECT_EQ(line.y1, 0);
                EXPECT_EQ(line.y2, 256);
                EXPECT_EQ(line.width, 0);
                xs.push_back(line.x1);
            } else {
                EXPECT_EQ(line.y1, line.y2);
                EXPECT_EQ(line.x1, 0);
                EXPECT_EQ(line.x2, 900);
                EXPECT_EQ(line.width, c.thickYs.count(line.y1) ? 4 : 0) << line.y1;
                ys.push_back(line.y1);
            }
        }
        EXPECT_EQ(xs, c.xs);
        EXPECT_EQ(ys, c.ys);
    }
}

TEST(WaveformLayout, ValuesReadPerLayoutOffsets) {
    std::vector<std::uint8_t> pcm;
    for (int i = 0; i < 16; ++i) pcm.push_back(static_cast<std::uint8_t>(i + 1));
    const auto at = [&](WaveformLayout layout, std::int32_t frame) {
        return columnValuesAt(layout, pcm.data(), pcm.size(), frame);
    };
    ColumnValues v = at(WaveformLayout::Mono8, 3);
    EXPECT_EQ(v.a, 4);
    EXPECT_EQ(v.b, 5);
    v = at(WaveformLayout::Mono16, 1);  // bytes 2..5
    EXPECT_EQ(v.a, 3 | 4 << 8);
    EXPECT_EQ(v.b, 5 | 6 << 8);
    v = at(WaveformLayout::Stereo8, 1);  // bytes 2..5
    EXPECT_EQ(v.a, 3);
    EXPECT_EQ(v.b, 4);
    EXPECT_EQ(v.c, 5);
    EXPECT_EQ(v.d, 6);
    v = at(WaveformLayout::Stereo16, 1);  // bytes 4..11
    EXPECT_EQ(v.a, 5 | 6 << 8);
    EXPECT_EQ(v.b, 7 | 8 << 8);
    EXPECT_EQ(v.c, 9 | 10 << 8);
    EXPECT_EQ(v.d, 11 | 12 << 8);
    // The last frame's partner lies beyond the end and reads 0.
    v = at(WaveformLayout::Stereo16, 3);  // bytes 12..19
    EXPECT_EQ(v.a, 13 | 14 << 8);
    EXPECT_EQ(v.b, 15 | 16 << 8);
    EXPECT_EQ(v.c, 0);
    EXPECT_EQ(v.d, 0);
    // Huge frame positions do not overflow the offset.
    v = at(WaveformLayout::Stereo16, 2147483647);
    EXPECT_EQ(v.a, 0);
    v = at(WaveformLayout::Mono8, -5);
    EXPECT_EQ(v.a, 1);
    EXPECT_EQ(v.b, 1);
}

TEST(WaveformLayout, StrokeTable) {
    constexpr std::uint32_t green = 0xff00ff00, darkGreen = 0xff00ec00;
    constexpr std::uint32_t red = 0xffff0000, darkRed = 0xffe80000;
    const struct {
        WaveformLayout layout;
        ColumnValues v;
        std::vector<Stroke> strokes;
    } cases[] = {
        // Full-scale 8-bit mono: outer strokes pass both edges.
        {WaveformLayout::Mono8, {255, 255}, {{green, -294, 6310}, {darkGreen, 1484, 4532}}},
        {WaveformLayout::Mono8, {0, 0}, {{green, 6336, -320}, {darkGreen, 4544, 1472}}},
        {WaveformLayout::Mono8, {128, 128}, {{green, 3008, 3008}, {darkGreen, 3008, 3008}}},
        // 16-bit mono: 3008 - 3276.7 = -268.7 goes down to -269, not toward 0.
        {WaveformLayout::Mono16, {32767, -32768}, {{green, -269, -269}, {darkGreen, 1642, 1642}}},
        {WaveformLayout::Mono16, {-10, 10}, {{green, 3009, 3009}, {darkGreen, 3008, 3008}}},
        // Full-scale 16-bit stereo: y1 = 10 and y2 = 6001.
        {WaveformLayout::Stereo16,
         {32767, 32767, 32767, 32767},
         {{green, 10, 2989}, {darkGreen, 771, 2228}, {red, 3022, 6001}, {darkRed, 3783, 5240}}},
        {WaveformLayout::Stereo16,
         {0, 0, 0, 0},
         {{green, 1500, 1500}, {darkGreen, 1500, 1500}, {red, 4512, 4512}, {darkRed, 4512, 4512}}},
        {WaveformLayout::Stereo8,
         {255, 0, 0, 255},
         {{green, 103, 92}, {darkGreen, 738, 732}, {red, 5920, 5909}, {darkRed, 5280, 5274}}},
    };
    for (const auto& c : cases) {
        Stroke out[4];
        const int count = strokesOf(c.layout, c.v, out);
        ASSERT_EQ(count, static_cast<int>(c.strokes.size()));
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(out[i], c.strokes[i]) << "layout " << static_cast<int>(c.layout) << " stroke "
                                            << i << ": " << out[i].y1 << ", " << out[i].y2;
        }
    }
}

}  // namespace
}  // namespace veltrona

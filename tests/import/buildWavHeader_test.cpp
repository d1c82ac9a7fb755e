#include "import/buildWavHeader.h"

#include <gtest/gtest.h>

#include "import/parseWavHeader.h"

namespace veltrona {
namespace {

TEST(BuildWavHeader, MatchesTheStereoExampleByteForByte) {
    const WavHeaderBytes expected{0x52, 0x49, 0x46, 0x46, 0xE8, 0x03, 0x00, 0x00, 0x57, 0x41, 0x56,
                                  0x45, 0x66, 0x6D, 0x74, 0x20, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00,
                                  0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1, 0x02, 0x00, 0x04,
                                  0x00, 0x10, 0x00, 0x64, 0x61, 0x74, 0x61, 0xC4, 0x03, 0x00, 0x00};
    EXPECT_EQ(buildWavHeader(2, 44100, 1000), expected);
}

TEST(BuildWavHeader, DerivesBlockAlignByteRateAndDataSize) {
    const struct {
        std::int32_t channels, sampleRate, size;
        std::int16_t storedChannels, blockAlign;
        std::int32_t byteRate, dataSize;
    } cases[] = {
        {2, 44100, 1000, 2, 4, 176400, 964},
        {1, 44100, 176436, 1, 2, 88200, 176400},
        {1, 22050, 5, 1, 2, 44100, -31},
        {2, 48000, 0, 2, 4, 192000, -36},
        {6, 48000, 100, 6, 12, 576000, 64},
        // Only the low 16 bits of the channel count are kept.
        {0x10001, 8000, 36, 1, 2, 16000, 0},
        // channels x 2 wider than 16 bits keeps its low 16 bits, read as signed.
        {20000, 10, 36, 20000, -25536, -255360, 0},
        // A product past 32 bits keeps its low 32 bits: 8,000,000,000 - 2^32.
        {2, 2000000000, 36, 2, 4, -589934592, 0},
        {2, 44100, 2147483647, 2, 4, 176400, 2147483611},
        // size - 36 below the int32 range wraps to its low 32 bits.
        {2, 44100, -2147483647 - 1, 2, 4, 176400, 2147483612},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.channels << " ch " << c.sampleRate << " Hz size " << c.size);
        const WavHeader h = makeWavHeader(c.channels, c.sampleRate, c.size);
        EXPECT_EQ(h.riff.chunkId, kRiffId);
        EXPECT_EQ(h.riff.chunkSize, c.size);
        EXPECT_EQ(h.riff.formType, kWaveId);
        EXPECT_EQ(h.fmt.chunkId, kFmtId);
        EXPECT_EQ(h.fmt.chunkSize, 16);
        EXPECT_EQ(h.fmt.formatTag, 1);
        EXPECT_EQ(h.fmt.channels, c.storedChannels);
        EXPECT_EQ(h.fmt.sampleRate, c.sampleRate);
        EXPECT_EQ(h.fmt.byteRate, c.byteRate);
        EXPECT_EQ(h.fmt.blockAlign, c.blockAlign);
        EXPECT_EQ(h.fmt.bitsPerSample, 16);
        EXPECT_EQ(h.data.chunkId, kDataId);
        EXPECT_EQ(h.data.chunkSize, c.dataSize);

        // The byte form reads back as the same header.
        const WavHeaderBytes bytes = buildWavHeader(c.channels, c.sampleRate, c.size);
        EXPECT_EQ(packWavHeader(parseWavHeader(bytes)), bytes);
    }
}

}  // namespace
}  // namespace veltrona

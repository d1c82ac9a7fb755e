#include "import/parseWavHeader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "import/buildWavHeader.h"
#include "import/openAudioFile.h"
#include "testFiles.h"

namespace veltrona {
namespace {

using namespace importtest;

// A canonical file: 16-byte fmt, 6 sample bytes.
Bytes canonicalFile() {
    return riffFile({chunk("fmt ", fmtBody({})), chunk("data", ramp(6))});
}

TEST(ParseWavHeader, ReadsTheCanonicalFieldsFromTheFirst44BytesOnly) {
    const Bytes file = canonicalFile();
    Bytes longer = file;
    longer.insert(longer.end(), 100, 0xEE);

    for (const Bytes& bytes : {file, longer}) {
        const WavHeader h = parseWavHeader(bytes);
        EXPECT_EQ(h.riff.chunkId, kRiffId);
        EXPECT_EQ(h.riff.chunkSize, 4 + 24 + 8 + 6);
        EXPECT_EQ(h.riff.formType, kWaveId);
        EXPECT_EQ(h.fmt.chunkId, kFmtId);
        EXPECT_EQ(h.fmt.chunkSize, 16);
        EXPECT_EQ(h.fmt.formatTag, 1);
        EXPECT_EQ(h.fmt.channels, 2);
        EXPECT_EQ(h.fmt.sampleRate, 44100);
        EXPECT_EQ(h.fmt.byteRate, 176400);
        EXPECT_EQ(h.fmt.blockAlign, 4);
        EXPECT_EQ(h.fmt.bitsPerSample, 16);
        EXPECT_EQ(h.data.chunkId, kDataId);
        EXPECT_EQ(h.data.chunkSize, 6);
    }
}

TEST(ParseWavHeader, WidensSixteenBitFieldsWithTheirSign) {
    const Bytes bytes = riffFile({chunk("fmt ", fmtBody({.formatTag = -2,
                                                         .channels = -1,
                                                         .sampleRate = -5,
                                                         .byteRate = -7,
                                                         .blockAlign = -3,
                                                         .bitsPerSample = -16})),
                                  chunk("data", {}, -1)});
    const WavHeader h = parseWavHeader(bytes);
    EXPECT_EQ(h.fmt.formatTag, -2);
    EXPECT_EQ(h.fmt.channels, -1);
    EXPECT_EQ(h.fmt.sampleRate, -5);
    EXPECT_EQ(h.fmt.byteRate, -7);
    EXPECT_EQ(h.fmt.blockAlign, -3);
    EXPECT_EQ(h.fmt.bitsPerSample, -16);
    EXPECT_EQ(h.data.chunkSize, -1);
}

TEST(ParseWavHeader, ReadsAnEighteenByteFmtAsIfCanonical) {
    const Bytes bytes =
        riffFile({chunk("fmt ", fmtBody({}, {0x00, 0x00})), chunk("data", ramp(4))});
    const WavHeader h = parseWavHeader(bytes);
    EXPECT_EQ(h.fmt.chunkSize, 18);
    EXPECT_EQ(h.fmt.byteRate, 176400);
    EXPECT_EQ(h.fmt.bitsPerSample, 16);
    // The two extra fmt bytes, then "da".
    EXPECT_EQ(h.data.chunkId, 0x61640000u);
    EXPECT_NE(h.data.chunkId, kDataId);
}

TEST(ParseWavHeader, MissingBytesReadAsZero) {
    const Bytes file = canonicalFile();
    const WavHeader h = parseWavHeader(std::span<const std::uint8_t>(file).first(25));
    EXPECT_EQ(h.fmt.channels, 2);
    EXPECT_EQ(h.fmt.sampleRate, 0x44);
    EXPECT_EQ(h.fmt.byteRate, 0);
    EXPECT_EQ(h.data.chunkId, 0u);
    EXPECT_EQ(packWavHeader(parseWavHeader({})), WavHeaderBytes{});
}

TEST(ReadWavHeader, ReadsFromOffsetZeroWhateverThePositionAndLeavesItAt44) {
    const Bytes file = canonicalFile();
    TempDir dir;
    const std::string path = dir.write("canonical.wav", file);
    Result<std::ifstream> opened = openAudioFile(path);
    ASSERT_TRUE(opened.ok());
    std::ifstream& stream = opened.value();

    for (std::streamoff start : {std::streamoff{0}, std::streamoff{7}, std::streamoff{50}}) {
        stream.seekg(start);
        const WavHeader h = readWavHeader(stream);
        EXPECT_EQ(packWavHeader(h), packWavHeader(parseWavHeader(file))) << start;
        EXPECT_EQ(stream.tellg(), 44) << start;
    }
    // Even after a read ran into the end of the file.
    stream.seekg(0, std::ios::end);
    char c;
    stream.read(&c, 1);
    const WavHeader again = readWavHeader(stream);
    EXPECT_EQ(again.data.chunkSize, 6);
    EXPECT_EQ(stream.tellg(), 44);
}

TEST(ReadWavHeader, AShortFileGivesZerosAndLeavesTheStreamUsable) {
    const Bytes file = canonicalFile();
    std::istringstream stream(std::string(file.begin(), file.begin() + 28));
    const WavHeader h = readWavHeader(stream);
    EXPECT_EQ(h.riff.chunkId, kRiffId);
    EXPECT_EQ(h.fmt.sampleRate, 44100);
    EXPECT_EQ(h.fmt.byteRate, 0);
    EXPECT_TRUE(stream.good());
    EXPECT_EQ(stream.tellg(), 28);
}

}  // namespace
}  // namespace veltrona

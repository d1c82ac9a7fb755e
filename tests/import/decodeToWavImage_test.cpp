#include "import/decodeToWavImage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "engine/engine.h"
#include "import/importAudio.h"
#include "import/openAudioFile.h"
#include "import/parseWavHeader.h"
#include "testFiles.h"

namespace veltrona {
namespace {

using namespace importtest;

constexpr std::size_t kBlock = kDecodeBlockBytes;

class Decode : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(engine::engineInit(-1, 44100, 0, nullptr, nullptr));
    }
    static void TearDownTestSuite() { engine::engineFree(); }

    // Counts the pump's calls and answers `keepGoing`.
    EventPump counter(bool keepGoing = true) {
        return [this, keepGoing] {
            ++pumps;
            return keepGoing;
        };
    }
    int pumps = 0;
};

struct Compressed {
    const char* name;
    AudioKind kind;
    std::int16_t channels;
    std::size_t passes;
    double seconds;
};

const Compressed kFixtures[] = {
    {"tone_stereo.mp3", AudioKind::Mp3, 2, 1, 1.0},
    {"tone_mono.mp3", AudioKind::Mp3, 1, 1, 1.0},
    {"tone_stereo_30s.mp3", AudioKind::Mp3, 2, 2, 30.0},
    {"tone_stereo.wma", AudioKind::Wma, 2, 1, 1.0},
    {"tone_mono.wma", AudioKind::Wma, 1, 1, 1.0},
    {"tone_stereo_30s.wma", AudioKind::Wma, 2, 2, 30.0},
};

TEST_F(Decode, ImagesHoldWholeBlocksBehindABuiltHeader) {
    for (const Compressed& c : kFixtures) {
        SCOPED_TRACE(c.name);
        pumps = 0;
        Result<Bytes> result = decodeToWavImage(fixture(c.name), c.kind, counter());
        ASSERT_TRUE(result.ok()) << result.error().cause;
        const Bytes& image = result.value();
        EXPECT_EQ(engine::engineStreamCount(), 0u) << "both streams are released";

        ASSERT_EQ(image.size(), kWavHeaderBytes + kBlock * c.passes);
        EXPECT_EQ(pumps, static_cast<int>(c.passes)) << "one pump per block";

        const WavHeader h = parseWavHeader(image);
        const std::int32_t byteRate = 44100 * 2 * c.channels;
        EXPECT_EQ(h.riff.chunkId, kRiffId);
        EXPECT_EQ(h.riff.formType, kWaveId);
        EXPECT_EQ(h.fmt.chunkId, kFmtId);
        EXPECT_EQ(h.fmt.chunkSize, 16);
        EXPECT_EQ(h.fmt.formatTag, 1);
        EXPECT_EQ(h.fmt.channels, c.channels);
        EXPECT_EQ(h.fmt.sampleRate, 44100);
        EXPECT_EQ(h.fmt.blockAlign, 2 * c.channels);
        EXPECT_EQ(h.fmt.byteRate, byteRate);
        EXPECT_EQ(h.fmt.bitsPerSample, 16);
        EXPECT_EQ(h.data.chunkId, kDataId);

        // The RIFF size is the decoded count; the data size 36 less.
        const std::int32_t decoded = h.riff.chunkSize;
        EXPECT_EQ(h.data.chunkSize, decoded - 36);
        EXPECT_GE(decoded, c.seconds * byteRate * 0.95);
        EXPECT_LE(decoded, c.seconds * byteRate * 1.10);
        ASSERT_GT(static_cast<std::size_t>(decoded), kBlock * (c.passes - 1));
        ASSERT_LE(static_cast<std::size_t>(decoded), kBlock * c.passes);

        const std::span<const std::uint8_t> pcm = std::span<const std::uint8_t>(image).subspan(44);
        const auto sound = pcm.first(static_cast<std::size_t>(decoded));
        EXPECT_GT(std::count_if(sound.begin(), sound.end(), [](auto b) { return b != 0; }),
                  static_cast<std::ptrdiff_t>(sound.size() / 2));

        // Past the decoded bytes the last block holds what one reused block
        // would: zeros after one pass, else the previous pass's bytes.
        const std::size_t lastBlock = kBlock * (c.passes - 1);
        for (std::size_t i = static_cast<std::size_t>(decoded) - lastBlock; i < kBlock; ++i) {
            const std::uint8_t stale = c.passes == 1 ? 0 : pcm[lastBlock - kBlock + i];
            if (pcm[lastBlock + i] != stale) {
                ADD_FAILURE() << "tail byte " << i << " of the last block is "
                              << int{pcm[lastBlock + i]} << ", expected " << int{stale};
                break;
            }
        }
    }
}

TEST_F(Decode, TheKindComesFromTheCallerNotTheContent) {
    // A WAV file handed over as MP3 decodes through the engine, sample-exact.
    TempDir dir;
    const std::string path = dir.copy(fixture("tone_stereo16.wav"), "pcm.mp3");
    Result<Bytes> result = decodeToWavImage(path, AudioKind::Mp3, counter());
    ASSERT_TRUE(result.ok()) << result.error().cause;
    const Bytes& image = result.value();
    const WavHeader h = parseWavHeader(image);
    ASSERT_EQ(h.riff.chunkSize, 176400);
    const Bytes wav = readBytes(fixture("tone_stereo16.wav"));
    EXPECT_TRUE(std::equal(wav.begin() + 44, wav.end(), image.begin() + 44));
    EXPECT_TRUE(
        std::all_of(image.begin() + 44 + 176400, image.end(), [](auto b) { return b == 0; }));
}

TEST_F(Decode, ImportTakesHeaderAndSamplesFromTheImage) {
    TempDir dir;
    const std::string readOnly = dir.copy(fixture("tone_stereo.mp3"), "readonly.mp3");
    ::chmod(readOnly.c_str(), 0444);
    const struct {
        std::string path;
        std::int16_t channels;
    } cases[] = {
        {fixture("SONG.MP3"), 2},
        {readOnly, 2},
        {fixture("tone_mono.wma"), 1},
        {fixture("tone_stereo_30s.mp3"), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        AppState state;
        Result<std::ifstream> file = openAudioFile(c.path);
        pumps = 0;
        Result<LoadedAudio> result = importAudio(c.path, file, state, counter());
        ASSERT_TRUE(result.ok()) << result.error().cause;
        const LoadedAudio& audio = result.value();
        const std::size_t blocks = static_cast<std::size_t>(pumps);
        ASSERT_GE(blocks, 1u);
        EXPECT_EQ(audio.bytes.size(), 44 + kBlock * blocks);
        EXPECT_EQ(audio.pcmOffset, 44u);
        EXPECT_EQ(audio.pcmData().size(), kBlock * blocks);
        EXPECT_EQ(audio.dataLength, audio.header.data.chunkSize);
        EXPECT_EQ(audio.dataLength, audio.header.riff.chunkSize - 36);
        EXPECT_EQ(audio.header.fmt.channels, c.channels);
        EXPECT_EQ(audio.blockAlign, 2 * c.channels);
        const std::int32_t byteRate = 88200 * c.channels;
        const auto duration = static_cast<float>(static_cast<double>(audio.dataLength) / byteRate);
        EXPECT_EQ(audio.duration, duration);
        EXPECT_EQ(state.duration, duration);
        EXPECT_EQ(state.byteRate, byteRate);
        EXPECT_EQ(engine::engineStreamCount(), 0u);
    }
}

TEST_F(Decode, APumpAnsweringFalseCancelsAtOnce) {
    AppState state;
    state.byteRate = 777;
    const std::string path = fixture("tone_stereo_30s.mp3");
    Result<std::ifstream> file = openAudioFile(path);
    Result<LoadedAudio> result = importAudio(path, file, state, counter(false));
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().cancelled);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(state.byteRate, 777);
    EXPECT_EQ(engine::engineStreamCount(), 0u);
}

TEST_F(Decode, StopsPullingOnceTheDecodedBytesPassTheLimit) {
    const struct {
        std::int64_t limit;
        int pumps;
    } cases[] = {
        {kBlock - 1, 1},  // the first block already passes it
        {kBlock, 2},      // the first block fits, the second passes it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        pumps = 0;
        Result<Bytes> result =
            decodeToWavImage(fixture("tone_stereo_30s.mp3"), AudioKind::Mp3, counter(), c.limit);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().cause, "解码后的数据超过 2 GB");
        EXPECT_FALSE(result.error().cancelled);
        EXPECT_EQ(pumps, c.pumps);
        EXPECT_EQ(engine::engineStreamCount(), 0u);
    }
    // At the full limit the same file decodes.
    EXPECT_TRUE(decodeToWavImage(fixture("tone_stereo_30s.mp3"), AudioKind::Mp3, counter()).ok());
}

TEST_F(Decode, FilesTheEngineCannotDecodeAreReported) {
    TempDir dir;
    const std::string text = dir.write("notes.mp3", Bytes(5000, 'x'));
    const std::string empty = dir.write("empty.wma", {});
    const std::string missing = dir.file("missing.mp3");
    for (const std::string& path : {text, empty, missing}) {
        SCOPED_TRACE(path);
        pumps = 0;
        Result<Bytes> decoded = decodeToWavImage(path, audioKindOf(path), counter());
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.error().cause.rfind("无法解码该文件", 0), 0u) << decoded.error().cause;
        EXPECT_EQ(decoded.error().cause.find(path), std::string::npos);
        EXPECT_EQ(engine::engineStreamCount(), 0u);
    }
    for (const std::string& path : {text, empty}) {
        AppState state;
        state.byteRate = 777;
        Result<std::ifstream> file = openAudioFile(path);
        Result<LoadedAudio> result = importAudio(path, file, state, counter());
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(state.byteRate, 777);
    }
}

}  // namespace
}  // namespace veltrona

// Decoding real fixtures through the engine, from a path and from memory.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "engineTestFiles.h"

namespace veltrona::enginetest {
namespace {

class StreamCreateFile : public EngineTest {};

struct DecodeCase {
    const char* file;
    std::uint32_t rate;
    std::uint32_t channels;
    std::uint32_t bits;  // the channel's own sample width
    int frames;          // frames of the synthetic signal
    int slackFrames;     // codec delay and padding allowed
    int leftHz;
    int rightHz;
};

// The signals of tests/fixtures/make_fixtures: one second, 440 Hz left,
// 660 Hz right (mono files 440 Hz).
const DecodeCase kDecodeCases[] = {
    {"tone_stereo.mp3", 44100, 2, 16, 44100, 2304, 440, 660},
    {"tone_mono.mp3", 44100, 1, 16, 44100, 2304, 440, 0},
    {"tone_stereo.wma", 44100, 2, 16, 44100, 4096, 440, 660},
    {"tone_mono.wma", 44100, 1, 16, 44100, 4096, 440, 0},
    {"tone_stereo8.wav", 44100, 2, 8, 44100, 0, 440, 660},
    {"tone_mono8.wav", 44100, 1, 8, 44100, 0, 440, 0},
    {"tone_stereo16.wav", 44100, 2, 16, 44100, 0, 440, 660},
    {"tone_mono16.wav", 44100, 1, 16, 44100, 0, 440, 0},
    {"tone_stereo24.wav", 44100, 2, 24, 44100, 0, 440, 660},
    {"tone_stereo32.wav", 44100, 2, 32, 44100, 0, 440, 660},
    {"tone_stereo_f32.wav", 44100, 2, 32, 44100, 0, 440, 660},
    {"tone_mono16_22k.wav", 22050, 1, 16, 22050, 0, 440, 0},
};

TEST_F(StreamCreateFile, DecodesFixturesThroughTheMixer) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.file);
        engine::ChannelInfo info{};
        const Bytes pcm = decodeThroughMixer(fixture(c.file), info);
        EXPECT_EQ(info.freq, c.rate);
        EXPECT_EQ(info.chans, c.channels);
        EXPECT_EQ(info.bitsPerSample, c.bits);
        EXPECT_EQ(info.isFloat, std::string(c.file).find("f32") != std::string::npos ? 1u : 0u);

        const int frameBytes = 2 * static_cast<int>(c.channels);
        ASSERT_EQ(pcm.size() % static_cast<std::size_t>(frameBytes), 0u);
        const int frames = static_cast<int>(pcm.size()) / frameBytes;
        EXPECT_GE(frames, c.frames - c.slackFrames);
        EXPECT_LE(frames, c.frames + c.slackFrames);

        // One second of a tone crosses zero twice per cycle (a lossy codec's
        // delay and fade-in cost a few).
        const auto samples = asS16(pcm);
        const int channels = static_cast<int>(c.channels);
        EXPECT_NEAR(zeroCrossings(samples, channels, 0), 2 * c.leftHz, 2 * c.leftHz / 20);
        if (c.rightHz != 0) {
            EXPECT_NEAR(zeroCrossings(samples, channels, 1), 2 * c.rightHz, 2 * c.rightHz / 20);
        }
        EXPECT_EQ(engine::engineStreamCount(), 0u);
    }
}

// The declared length is the estimate the import reserves memory by: close
// to what the stream really gives, for every kind of source.
TEST_F(StreamCreateFile, DeclaredLengthForeseesTheDecodedBytes) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.file);
        const engine::Handle h =
            engine::streamCreateFile(false, fixture(c.file).c_str(), 0, 0, engine::kStreamDecode);
        ASSERT_NE(h, 0u);
        const std::uint64_t frameBytes = std::uint64_t{c.bits / 8} * c.channels;
        const std::uint64_t declared = engine::channelGetLength(h, engine::kPosByte);
        ASSERT_NE(declared, engine::kPositionError);
        EXPECT_EQ(declared % frameBytes, 0u);
        const double frames = static_cast<double>(declared / frameBytes);
        EXPECT_NEAR(frames, c.frames, c.slackFrames + c.frames / 100.0);
        EXPECT_TRUE(engine::streamFree(h));
    }
    const engine::Handle mixer = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
    EXPECT_EQ(engine::channelGetLength(mixer, engine::kPosByte), engine::kPositionError);
    EXPECT_EQ(engine::channelGetLength(0, engine::kPosByte), engine::kPositionError);
    engine::streamFree(mixer);
}

TEST_F(StreamCreateFile, WavSourceGivesTheFilesOwnBytes) {
    for (const char* file : {"tone_stereo8.wav", "tone_mono8.wav", "tone_stereo16.wav",
                             "tone_stereo24.wav", "tone_stereo32.wav", "tone_stereo_f32.wav"}) {
        SCOPED_TRACE(file);
        const Bytes expected = wavData(fixture(file));
        const engine::Handle source =
            engine::streamCreateFile(false, fixture(file).c_str(), 0, 0, engine::kStreamDecode);
        ASSERT_NE(source, 0u);
        Bytes got(expected.size() + 4096);
        const std::uint32_t count =
            engine::channelGetData(source, got.data(), static_cast<std::uint32_t>(got.size()));
        got.resize(count);
        EXPECT_EQ(got, expected);
        EXPECT_EQ(engine::channelGetPosition(source, engine::kPosByte), expected.size());
        EXPECT_EQ(engine::channelIsActive(source), 0u);

        // Seconds by the file's own byte rate: exactly one second.
        EXPECT_DOUBLE_EQ(engine::channelBytes2Seconds(source, expected.size()), 1.0);
        EXPECT_TRUE(engine::streamFree(source));
    }
}

TEST_F(StreamCreateFile, MixerWidensAndNarrowsWavSamplesTo16Bits) {
    engine::ChannelInfo info{};
    const Bytes eight = wavData(fixture("tone_stereo8.wav"));
    const auto from8 = asS16(decodeThroughMixer(fixture("tone_stereo8.wav"), info));
    ASSERT_EQ(from8.size(), eight.size());
    for (std::size_t i = 0; i < eight.size(); ++i) {
        ASSERT_EQ(from8[i], (eight[i] - 128) * 256) << i;
    }

    const Bytes wide = wavData(fixture("tone_stereo24.wav"));
    const auto from24 = asS16(decodeThroughMixer(fixture("tone_stereo24.wav"), info));
    ASSERT_EQ(from24.size() * 3, wide.size());
    for (std::size_t i = 0; i < from24.size(); ++i) {
        const auto top = static_cast<std::int16_t>(wide[3 * i + 1] | (wide[3 * i + 2] << 8));
        ASSERT_NEAR(from24[i], top, 1) << i;
    }
}

TEST_F(StreamCreateFile, WmaOpenerAndOffsetIntoAFile) {
    engine::ChannelInfo info{};
    const Bytes direct = decodeThroughMixer(fixture("tone_stereo.wma"), info);
    const engine::Handle wma = engine::wmaStreamCreateFile(
        false, fixture("tone_stereo.wma").c_str(), 0, 0, engine::kStreamDecode);
    ASSERT_NE(wma, 0u);
    Bytes got(direct.size() + 65536);
    got.resize(engine::channelGetData(wma, got.data(), static_cast<std::uint32_t>(got.size())));
    EXPECT_EQ(got, direct);
    EXPECT_TRUE(engine::streamFree(wma));

    // A path with an offset and a length: the WAV inside a padded file.
    Bytes padded(1000, 0xAB);
    const Bytes wav = readFile(fixture("tone_mono16.wav"));
    padded.insert(padded.end(), wav.begin(), wav.end());
    padded.insert(padded.end(), 5000, 0xCD);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("veltrona_engine_" + std::to_string(getpid()) + ".bin"))
                                 .string();
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(padded.data()),
                  static_cast<std::streamsize>(padded.size()));
    }
    const engine::Handle inside =
        engine::streamCreateFile(false, path.c_str(), 1000, wav.size(), engine::kStreamDecode);
    ASSERT_NE(inside, 0u);
    Bytes data(padded.size());
    data.resize(
        engine::channelGetData(inside, data.data(), static_cast<std::uint32_t>(data.size())));
    EXPECT_EQ(data, wavData(fixture("tone_mono16.wav")));
    EXPECT_TRUE(engine::streamFree(inside));
    std::filesystem::remove(path);
}

TEST_F(StreamCreateFile, UnopenablePathsGiveNoStream) {
    const std::size_t before = engine::engineStreamCount();
    EXPECT_EQ(engine::streamCreateFile(false, "/nonexistent/tone.mp3", 0, 0, engine::kStreamDecode),
              0u);
    EXPECT_EQ(engine::engineLastError(), engine::EngineError::FileOpen);
    EXPECT_EQ(engine::streamCreateFile(false, VELTRONA_FIXTURE_DIR, 0, 0, engine::kStreamDecode),
              0u);
    EXPECT_EQ(engine::streamCreateFile(false, nullptr, 0, 0, engine::kStreamDecode), 0u);
    EXPECT_EQ(engine::engineLastError(), engine::EngineError::BadArgument);
    EXPECT_EQ(engine::engineStreamCount(), before);
}

// Memory streams over sources that hold no audio.
TEST_F(StreamCreateFile, MemoryWithoutAudioGivesNoStream) {
    const std::string text(8192, 'x');
    const Bytes zeros(8192, 0);
    const Bytes wav = readFile(fixture("tone_stereo16.wav"));
    const Bytes headerOnly(wav.begin(), wav.begin() + 44);
    const Bytes mp3 = readFile(fixture("tone_stereo.mp3"));
    const Bytes mp3Start(mp3.begin(), mp3.begin() + 64);
    const std::uint8_t one = 0;
    struct Case {
        const char* name;
        const void* bytes;
        std::uint64_t length;
        engine::EngineError error;
    };
    const Case cases[] = {
        {"empty buffer", &one, 0, engine::EngineError::NoAudio},
        {"null, no length", nullptr, 0, engine::EngineError::NoAudio},
        {"null with a length", nullptr, 100, engine::EngineError::BadArgument},
        {"text", text.data(), text.size(), engine::EngineError::NoAudio},
        {"zeros", zeros.data(), zeros.size(), engine::EngineError::NoAudio},
        {"WAV header without data", headerOnly.data(), headerOnly.size(),
         engine::EngineError::NoAudio},
        {"first bytes of an MP3", mp3Start.data(), mp3Start.size(), engine::EngineError::NoAudio},
    };
    const std::size_t before = engine::engineStreamCount();
    for (const Case& c : cases) {
        for (const std::uint32_t flags : {engine::kStreamDecode, std::uint32_t{0}}) {
            SCOPED_TRACE(std::string(c.name) + (flags == 0 ? ", playing" : ", decode-only"));
            EXPECT_EQ(engine::streamCreateFile(true, c.bytes, 0, c.length, flags), 0u);
            EXPECT_EQ(engine::wmaStreamCreateFile(true, c.bytes, 0, c.length, flags), 0u);
            EXPECT_EQ(engine::engineLastError(), c.error);
        }
    }
    EXPECT_EQ(engine::engineStreamCount(), before);
}

// Memory laid out so that any read before or after the span faults.
class GuardedBytes {
  public:
    explicit GuardedBytes(const Bytes& bytes) {
        page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t dataPages = (bytes.size() + page_ - 1) / page_;
        size_ = (dataPages + 2) * page_;
        void* map =
            mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) std::abort();
        base_ = static_cast<std::uint8_t*>(map);
        mprotect(base_, page_, PROT_NONE);
        mprotect(base_ + (dataPages + 1) * page_, page_, PROT_NONE);
        data_ = base_ + (dataPages + 1) * page_ - bytes.size();
        std::memcpy(data_, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { munmap(base_, size_); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    const std::uint8_t* data() const { return data_; }

  private:
    std::size_t page_ = 0;
    std::size_t size_ = 0;
    std::uint8_t* base_ = nullptr;
    std::uint8_t* data_ = nullptr;
};

TEST_F(StreamCreateFile, MemoryStreamReadsOnlyItsSpan) {
    for (const char* file : {"tone_stereo.mp3", "tone_mono.wma", "tone_stereo16.wav"}) {
        SCOPED_TRACE(file);
        engine::ChannelInfo info{};
        const Bytes expected = decodeThroughMixer(fixture(file), info);
        const Bytes bytes = readFile(fixture(file));
        // The file ends exactly at an unreadable page.
        const GuardedBytes guarded(bytes);
        const engine::Handle stream =
            engine::streamCreateFile(true, guarded.data(), 0, bytes.size(), engine::kStreamDecode);
        ASSERT_NE(stream, 0u);
        Bytes got(expected.size() + 65536);
        got.resize(
            engine::channelGetData(stream, got.data(), static_cast<std::uint32_t>(got.size())));
        EXPECT_EQ(got, expected);
        EXPECT_TRUE(engine::streamFree(stream));
    }

    // With an offset, the stream starts inside the buffer.
    Bytes padded(1000, 0xAB);
    const Bytes wav = readFile(fixture("tone_mono8.wav"));
    padded.insert(padded.end(), wav.begin(), wav.end());
    const GuardedBytes guarded(padded);
    const engine::Handle stream =
        engine::streamCreateFile(true, guarded.data(), 1000, padded.size(), engine::kStreamDecode);
    ASSERT_NE(stream, 0u);
    Bytes got(wav.size());
    got.resize(engine::channelGetData(stream, got.data(), static_cast<std::uint32_t>(got.size())));
    EXPECT_EQ(got, wavData(fixture("tone_mono8.wav")));
    EXPECT_TRUE(engine::streamFree(stream));
}

}  // namespace
}  // namespace veltrona::enginetest

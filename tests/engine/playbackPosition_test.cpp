// Playing streams under SDL's silent dummy driver: the heard position
// advances in real time and rests at the total length after the end.

#include <cmath>
#include <cstdlib>

#include "engineTestFiles.h"

namespace veltrona::enginetest {
namespace {

class PlaybackPosition : public EngineTest {};

TEST_F(PlaybackPosition, AdvancesAndRestsAtTheTotalLength) {
    EXPECT_TRUE(engine::engineUsesSilentOutput()) << "the tests run on the dummy driver";
    struct Case {
        const char* file;
        std::uint64_t total;  // channel bytes of the whole file
    };
    // Played together, so they also share the device.
    const Case cases[] = {
        {"tone_stereo16.wav", 176400},  {"tone_mono8.wav", 44100},
        {"tone_stereo24.wav", 264600},  {"tone_stereo.mp3", 176400},
        {"tone_mono16_22k.wav", 44100}, {"tone_stereo_f32.wav", 352800},
    };
    std::vector<Bytes> buffers;
    std::vector<engine::Handle> streams;
    for (const Case& c : cases) buffers.push_back(readFile(fixture(c.file)));
    for (const Bytes& bytes : buffers) {
        streams.push_back(engine::streamCreateFile(true, bytes.data(), 0, bytes.size(), 0));
        ASSERT_NE(streams.back(), 0u);
        EXPECT_EQ(engine::channelGetPosition(streams.back(), engine::kPosByte), 0u);
    }
    for (const engine::Handle h : streams) ASSERT_TRUE(engine::channelPlay(h, true));

    std::vector<std::uint64_t> last(streams.size(), 0);
    std::vector<bool> seenBetween(streams.size(), false);
    const bool ended = waitUntil(
        [&] {
            bool allEnded = true;
            for (std::size_t i = 0; i < streams.size(); ++i) {
                const bool active = engine::channelIsActive(streams[i]) != 0;
                const std::uint64_t pos = engine::channelGetPosition(streams[i], engine::kPosByte);
                EXPECT_GE(pos, last[i]) << cases[i].file << ": the position went back";
                EXPECT_LE(pos, cases[i].total) << cases[i].file;
                if (pos > 0 && pos < cases[i].total) seenBetween[i] = true;
                last[i] = pos;
                allEnded = allEnded && !active;
            }
            return allEnded;
        },
        30.0);
    ASSERT_TRUE(ended) << "the streams did not end";

    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (std::size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(cases[i].file);
        EXPECT_TRUE(seenBetween[i]) << "never seen between start and end";
        const std::uint64_t pos = engine::channelGetPosition(streams[i], engine::kPosByte);
        EXPECT_EQ(pos, cases[i].total);
        EXPECT_DOUBLE_EQ(engine::channelBytes2Seconds(streams[i], pos), 1.0);
        EXPECT_EQ(engine::channelIsActive(streams[i]), 0u);
    }

    // A stream that has played to its end starts again from the start.
    ASSERT_TRUE(engine::channelPlay(streams[0], false));
    EXPECT_EQ(engine::channelIsActive(streams[0]), 1u);
    EXPECT_LT(engine::channelGetPosition(streams[0], engine::kPosByte), cases[0].total);
    for (const engine::Handle h : streams) EXPECT_TRUE(engine::streamFree(h));
}

TEST_F(PlaybackPosition, StopHoldsThePositionAndRestartGoesBack) {
    const Bytes wav = readFile(fixture("tone_stereo16_10s.wav"));
    const engine::Handle h = engine::streamCreateFile(true, wav.data(), 0, wav.size(), 0);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(engine::channelSetAttribute(h, engine::kAttribVolume, 0.3f));
    ASSERT_TRUE(engine::channelPlay(h, true));
    ASSERT_TRUE(
        waitUntil([&] { return engine::channelGetPosition(h, engine::kPosByte) >= 176400; }, 20.0));

    ASSERT_TRUE(engine::channelStop(h));
    const std::uint64_t held = engine::channelGetPosition(h, engine::kPosByte);
    EXPECT_EQ(engine::channelIsActive(h), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(engine::channelGetPosition(h, engine::kPosByte), held);
    EXPECT_TRUE(engine::channelStop(h)) << "stopping a stopped stream";

    ASSERT_TRUE(engine::channelPlay(h, true));
    EXPECT_LT(engine::channelGetPosition(h, engine::kPosByte), held);
    EXPECT_EQ(engine::channelIsActive(h), 1u);
    EXPECT_TRUE(engine::streamFree(h));
}

TEST_F(PlaybackPosition, PlayingStreamsRefuseDecodeCalls) {
    const Bytes wav = readFile(fixture("tone_stereo16.wav"));
    const engine::Handle playing = engine::streamCreateFile(true, wav.data(), 0, wav.size(), 0);
    std::vector<std::uint8_t> block(4096);
    EXPECT_EQ(engine::channelGetData(playing, block.data(), 4096), engine::kDataError);
    EXPECT_FALSE(engine::channelSetAttribute(playing, 99, 0.5f));
    EXPECT_FALSE(engine::channelSetAttribute(playing, engine::kAttribVolume, std::nanf("")));
    EXPECT_EQ(engine::channelGetPosition(playing, 1), engine::kPositionError);

    const engine::Handle decoding =
        engine::streamCreateFile(true, wav.data(), 0, wav.size(), engine::kStreamDecode);
    EXPECT_FALSE(engine::channelPlay(decoding, true));
    EXPECT_EQ(engine::engineLastError(), engine::EngineError::BadArgument);
}

}  // namespace
}  // namespace veltrona::enginetest

namespace veltrona::enginetest {
namespace {

// No device can be opened (a driver that does not exist): the engine falls
// back to silent output, says so, and playback and positions still work.
TEST(SilentFallback, PlaysIntoSilentOutputWhenNoDeviceOpens) {
    for (const char* driver : {"no-such-driver", ""}) {
        SCOPED_TRACE(*driver != 0 ? driver : "device 0");
        const char* before = std::getenv("SDL_AUDIODRIVER");
        const std::string saved = before != nullptr ? before : "";
        if (*driver != 0) setenv("SDL_AUDIODRIVER", driver, 1);
        ASSERT_TRUE(engine::engineInit(*driver != 0 ? -1 : 0, 44100, 0, nullptr, nullptr));
        EXPECT_TRUE(engine::engineUsesSilentOutput());

        const Bytes wav = readFile(fixture("tone_mono16.wav"));
        const engine::Handle h = engine::streamCreateFile(true, wav.data(), 0, wav.size(), 0);
        ASSERT_TRUE(engine::channelPlay(h, true));
        EXPECT_TRUE(waitUntil([&] { return engine::channelIsActive(h) == 0; }, 30.0));
        EXPECT_EQ(engine::channelGetPosition(h, engine::kPosByte), 88200u);
        engine::engineFree();
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    }
}

}  // namespace
}  // namespace veltrona::enginetest

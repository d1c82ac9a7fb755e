// The decoding mixer: pulls, its end, conversion and release order.

#include "engineTestFiles.h"

namespace veltrona::enginetest {
namespace {

class MixerStream : public EngineTest {};

TEST_F(MixerStream, PullsUntilTheSourceIsExhausted) {
    for (const char* file : {"tone_stereo_30s.mp3", "tone_stereo_30s.wma"}) {
        SCOPED_TRACE(file);
        const engine::Handle source =
            engine::streamCreateFile(false, fixture(file).c_str(), 0, 0, engine::kStreamDecode);
        engine::ChannelInfo info{};
        ASSERT_TRUE(engine::channelGetInfo(source, &info));
        const engine::Handle mixer =
            engine::mixerStreamCreate(info.freq, info.chans, engine::kDecodeMixerFlags);
        ASSERT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
        EXPECT_EQ(engine::channelIsActive(mixer), 1u);

        // Thirty seconds of stereo are 5,292,000 bytes: one full pull, then
        // the rest, after which the mixer has ended.
        std::vector<std::uint8_t> block(kBlockBytes);
        EXPECT_EQ(engine::channelGetData(mixer, block.data(), kBlockBytes), kBlockBytes);
        EXPECT_EQ(engine::channelGetPosition(mixer, engine::kPosByte), kBlockBytes);
        EXPECT_EQ(engine::channelIsActive(mixer), 1u);
        const std::uint32_t rest = engine::channelGetData(mixer, block.data(), kBlockBytes);
        EXPECT_NEAR(static_cast<double>(rest), 1292000.0, 4096.0 * 4);
        EXPECT_EQ(engine::channelGetPosition(mixer, engine::kPosByte), kBlockBytes + rest);
        EXPECT_EQ(engine::channelIsActive(mixer), 0u);

        // Once ended it delivers nothing more and the position stays.
        EXPECT_EQ(engine::channelGetData(mixer, block.data(), kBlockBytes), 0u);
        EXPECT_EQ(engine::channelGetPosition(mixer, engine::kPosByte), kBlockBytes + rest);
        EXPECT_EQ(engine::channelIsActive(mixer), 0u);
        EXPECT_TRUE(engine::streamFree(mixer));
        EXPECT_TRUE(engine::streamFree(source));
    }
}

TEST_F(MixerStream, PullsComeInWholeFrames) {
    const engine::Handle source = engine::streamCreateFile(
        false, fixture("tone_stereo.mp3").c_str(), 0, 0, engine::kStreamDecode);
    const engine::Handle mixer = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
    ASSERT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
    std::vector<std::uint8_t> block(4099);
    EXPECT_EQ(engine::channelGetData(mixer, block.data(), 4099), 4096u);
    EXPECT_EQ(engine::channelGetData(mixer, block.data(), 3), 0u);
    EXPECT_EQ(engine::channelIsActive(mixer), 1u);
    EXPECT_EQ(engine::channelGetPosition(mixer, engine::kPosByte), 4096u);
}

TEST_F(MixerStream, ConvertsRateAndChannels) {
    // 22,050 Hz mono into a 44,100 Hz stereo mixer.
    const engine::Handle source = engine::streamCreateFile(
        false, fixture("tone_mono16_22k.wav").c_str(), 0, 0, engine::kStreamDecode);
    const engine::Handle mixer = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
    ASSERT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
    const auto samples = asS16(pullAll(mixer));
    EXPECT_NEAR(static_cast<double>(samples.size()), 2 * 44100.0, 2 * 64.0);
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        ASSERT_EQ(samples[i], samples[i + 1]) << "mono goes to both sides alike, frame " << i / 2;
    }
    EXPECT_NEAR(zeroCrossings(samples, 2, 0), 880, 18);

    // Stereo into a mono mixer.
    const engine::Handle stereo = engine::streamCreateFile(
        false, fixture("tone_stereo16.wav").c_str(), 0, 0, engine::kStreamDecode);
    const engine::Handle mono = engine::mixerStreamCreate(44100, 1, engine::kDecodeMixerFlags);
    ASSERT_TRUE(engine::mixerStreamAddChannel(mono, stereo, 0));
    EXPECT_EQ(pullAll(mono).size(), 88200u);
}

TEST_F(MixerStream, RefusesBadRatesChannelsAndSources) {
    for (const auto& [rate, channels] : {std::pair<std::uint32_t, std::uint32_t>{0, 2},
                                         {44100, 0},
                                         {0xFFFFFFFFu, 2},
                                         {44100, 0xFFFFFFFFu}}) {
        SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(channels));
        EXPECT_EQ(engine::mixerStreamCreate(rate, channels, engine::kDecodeMixerFlags), 0u);
        EXPECT_EQ(engine::engineLastError(), engine::EngineError::BadArgument);
    }

    const engine::Handle mixer = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
    const engine::Handle other = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
    const engine::Handle source = engine::streamCreateFile(
        false, fixture("tone_stereo.mp3").c_str(), 0, 0, engine::kStreamDecode);
    const Bytes wav = readFile(fixture("tone_stereo16.wav"));
    const engine::Handle playing = engine::streamCreateFile(true, wav.data(), 0, wav.size(), 0);
    ASSERT_NE(playing, 0u);
    EXPECT_FALSE(engine::mixerStreamAddChannel(mixer, playing, 0)) << "not a decode stream";
    EXPECT_FALSE(engine::mixerStreamAddChannel(mixer, other, 0)) << "a mixer as source";
    EXPECT_FALSE(engine::mixerStreamAddChannel(source, mixer, 0)) << "not a mixer";
    EXPECT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
    EXPECT_FALSE(engine::mixerStreamAddChannel(other, source, 0)) << "already feeds a mixer";

    // A mixer without a source ends at its first pull.
    std::vector<std::uint8_t> block(4096);
    EXPECT_EQ(engine::channelGetData(other, block.data(), 4096), 0u);
    EXPECT_EQ(engine::channelIsActive(other), 0u);
}

TEST_F(MixerStream, MixerAndSourceMayBeReleasedInEitherOrder) {
    std::vector<std::uint8_t> block(kBlockBytes);
    for (const bool sourceFirst : {true, false}) {
        SCOPED_TRACE(sourceFirst ? "source first" : "mixer first");
        const std::size_t before = engine::engineStreamCount();
        const engine::Handle source = engine::streamCreateFile(
            false, fixture("tone_stereo_30s.mp3").c_str(), 0, 0, engine::kStreamDecode);
        const engine::Handle mixer = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
        ASSERT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
        EXPECT_EQ(engine::channelGetData(mixer, block.data(), 1000000), 1000000u);
        EXPECT_EQ(engine::engineStreamCount(), before + 2);
        if (sourceFirst) {
            EXPECT_TRUE(engine::streamFree(source));
            // The mixer lost its source: it ends, keeping its position.
            EXPECT_EQ(engine::channelGetData(mixer, block.data(), kBlockBytes), 0u);
            EXPECT_EQ(engine::channelIsActive(mixer), 0u);
            EXPECT_EQ(engine::channelGetPosition(mixer, engine::kPosByte), 1000000u);
            EXPECT_TRUE(engine::streamFree(mixer));
        } else {
            EXPECT_TRUE(engine::streamFree(mixer));
            // The source lives on and may feed a new mixer.
            EXPECT_EQ(engine::channelIsActive(source), 1u);
            const engine::Handle again =
                engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
            EXPECT_TRUE(engine::mixerStreamAddChannel(again, source, 0));
            EXPECT_TRUE(engine::streamFree(source));
            EXPECT_TRUE(engine::streamFree(again));
        }
        EXPECT_EQ(engine::engineStreamCount(), before);
    }
}

TEST(MixerStreamWithoutInit, DecodingNeedsNoDevice) {
    engine::ChannelInfo info{};
    const Bytes pcm = decodeThroughMixer(fixture("tone_mono.mp3"), info);
    EXPECT_NEAR(static_cast<double>(pcm.size()), 88200.0, 2304.0 * 2);
    EXPECT_EQ(engine::engineStreamCount(), 0u);
}

}  // namespace
}  // namespace veltrona::enginetest

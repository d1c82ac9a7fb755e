#include "playback/play.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PlaybackHarness.h"
#include "engine/engine.h"
#include "playback/changeVolume.h"
#include "playback/onPlayheadTick.h"
#include "playback/stop.h"

namespace veltrona {
namespace {

namespace fs = std::filesystem;
using test::DiskOutput;
using test::framesMatch;
using test::waitUntil;

constexpr int kNoiseFrames = 3 * 44100;
// Output frames a change may take to reach the device: a few device buffers.
constexpr std::size_t kLatencyFrames = 8192;

class PlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.volume = 1.0f;
        noise = test::noiseSamples(kNoiseFrames);
        noisePath = dir.path() / "noise.wav";
        test::writeWav(noisePath, noise);
        baselineStreams = engine::engineStreamCount();
    }
    void TearDown() override { stop(state, ui.controls); }

    void load(const fs::path& path, std::int32_t byteRate = 176400, float seconds = 3.0f) {
        state.filePath = path.string();
        state.byteRate = byteRate;
        state.duration = seconds;
        state.pixelsPerMs = 887 / (seconds * 1000.0);
    }

    // Waits until the output holds `frames` frames after its first sound.
    bool waitForSound(const DiskOutput& output, std::size_t frames, double seconds = 10.0) {
        return waitUntil(
            [&] {
                const auto samples = output.samples();
                const auto first = test::firstSoundingFrame(samples);
                return first && samples.size() / 2 >= *first + frames;
            },
            seconds);
    }

    void expectAtRest() {
        EXPECT_EQ(ui.timer1.period(), 0);
        EXPECT_EQ(ui.timer2.period(), 0);
        EXPECT_EQ(state.playheadX, 0);
        EXPECT_EQ(ui.shapeBox2.x(), 24);
        EXPECT_EQ(ui.label4.x(), 19);
        EXPECT_EQ(ui.label3.text(), "00:00:00");
    }

    test::TempDir dir;
    test::PlaybackWindow ui;
    AppState state;
    std::vector<std::int16_t> noise;
    fs::path noisePath;
    std::size_t baselineStreams = 0;
};

TEST_F(PlayTest, PlaysTheFileFromItsStartAndStartsTracking) {
    const struct {
        fs::path path;
        float seconds;
    } cases[] = {{noisePath, 3.0f}, {test::fixture("tone_stereo16_10s.wav"), 10.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const auto source = test::readWavSamples(c.path);
        const auto sourceFirst = test::firstSoundingFrame(source);
        ASSERT_TRUE(sourceFirst);
        load(c.path, 176400, c.seconds);
        ui.shapeBox2.move(300, 56);
        ui.label4.move(295, 339);
        DiskOutput output;

        const Result<void> played = play(state, ui.controls);

        ASSERT_TRUE(played.ok()) << played.error().cause;
        EXPECT_NE(state.streamHandle, 0u);
        EXPECT_EQ(state.playBuffer.size(), fs::file_size(c.path));
        EXPECT_EQ(ui.shapeBox2.x(), 24);
        EXPECT_EQ(ui.label4.x(), 19);
        EXPECT_EQ(ui.timer1.period(), 1);
        EXPECT_EQ(ui.timer2.period(), 400);
        EXPECT_EQ(engine::engineStreamCount(), baselineStreams + 1);

        const std::size_t half = 22050;
        ASSERT_TRUE(waitForSound(output, half));
        const auto out = output.samples();
        const std::size_t first = *test::firstSoundingFrame(out);
        EXPECT_TRUE(framesMatch(out, first, source, *sourceFirst, half, 1.0, 1))
            << "output from frame " << first << " is not the file from its start";
        stop(state, ui.controls);
    }
}

TEST_F(PlayTest, PlaysEveryKindWhateverTheCaseOfItsEnding) {
    fs::copy_file(test::fixture("tone_stereo.wma"), dir.path() / "TONE.WMA");
    fs::copy_file(test::fixture("tone_stereo.mp3"), dir.path() / "Tone.Mp3");
    const fs::path paths[] = {test::fixture("tone_stereo16.wav"), test::fixture("tone_stereo.mp3"),
                              test::fixture("tone_stereo.wma"), dir.path() / "TONE.WMA",
                              dir.path() / "Tone.Mp3"};
    for (const auto& path : paths) {
        SCOPED_TRACE(path.string());
        load(path, 176400, 1.0f);
        DiskOutput output;
        const Result<void> played = play(state, ui.controls);
        ASSERT_TRUE(played.ok()) << played.error().cause;
        EXPECT_NE(state.streamHandle, 0u);
        EXPECT_TRUE(waitForSound(output, 4410)) << "no sound reached the device";
        stop(state, ui.controls);
    }
}

TEST_F(PlayTest, VolumeChangeScalesTheOutputAtOnce) {
    load(noisePath);
    DiskOutput output;
    ASSERT_TRUE(play(state, ui.controls).ok());
    ASSERT_TRUE(waitForSound(output, 8820));

    changeVolume(state, 91);
    EXPECT_EQ(state.volume, 0.1f);
    const std::size_t changedBy = output.frames() + kLatencyFrames;
    ASSERT_TRUE(waitUntil([&] { return output.frames() > changedBy + 22050; }, 10.0));

    const auto out = output.samples();
    const std::size_t first = *test::firstSoundingFrame(out);
    EXPECT_TRUE(framesMatch(out, first, noise, 0, 8820, 1.0, 1)) << "before the change";
    // After the change has reached the device, every frame is the file's,
    // at a tenth of its level.
    const std::size_t from = changedBy - first;
    EXPECT_TRUE(framesMatch(out, changedBy, noise, from, 22050, 0.1, 1)) << "after the change";
}

TEST_F(PlayTest, VolumeMovedBeforeTheFirstPlayIsAppliedByIt) {
    load(noisePath);
    changeVolume(state, 91);
    EXPECT_EQ(state.volume, 0.1f);
    DiskOutput output;

    ASSERT_TRUE(play(state, ui.controls).ok());

    ASSERT_TRUE(waitForSound(output, 22050));
    const auto out = output.samples();
    const std::size_t first = *test::firstSoundingFrame(out);
    EXPECT_TRUE(framesMatch(out, first, noise, 0, 22050, 0.1, 1))
        << "the first Play did not play at the stored level from its first sample";
}

TEST_F(PlayTest, SecondPlayRestartsFromTheStart) {
    load(noisePath);
    DiskOutput output;
    ASSERT_TRUE(play(state, ui.controls).ok());
    const engine::Handle firstHandle = state.streamHandle;
    ASSERT_TRUE(waitForSound(output, 13230));
    onPlayheadTick(state, ui.controls);
    ASSERT_GT(ui.shapeBox2.x(), 24);

    ASSERT_TRUE(play(state, ui.controls).ok());
    EXPECT_EQ(ui.shapeBox2.x(), 24) << "the line goes back at once";
    EXPECT_EQ(ui.label4.x(), 19);
    EXPECT_NE(state.streamHandle, firstHandle);
    EXPECT_EQ(engine::engineStreamCount(), baselineStreams + 1) << "the first stream was freed";

    const std::size_t secondFrom = output.frames();
    ASSERT_TRUE(
        waitUntil([&] { return output.frames() > secondFrom + kLatencyFrames + 22050; }, 10.0));
    const auto out = output.samples();
    const auto starts = test::startsOf(out, noise, 64);
    ASSERT_EQ(starts.size(), 2u) << "the file should start twice";
    EXPECT_TRUE(framesMatch(out, starts[1], noise, 0, 22050, 1.0, 1));
}

TEST_F(PlayTest, PlayReadsTheFileAsItIsNow) {
    load(noisePath);
    ASSERT_TRUE(play(state, ui.controls).ok());
    // Shorter and different: the memory of the first Play's buffer is reused,
    // and nothing of the old contents may play.
    std::vector<std::int16_t> changed(noise.begin(), noise.begin() + 44100 * 2);
    for (auto& s : changed) s = static_cast<std::int16_t>(-s);
    test::writeWav(noisePath, changed);
    DiskOutput output;

    ASSERT_TRUE(play(state, ui.controls).ok());

    EXPECT_EQ(state.playBuffer.size(), fs::file_size(noisePath));
    ASSERT_TRUE(waitUntil([&] { return output.frames() > kLatencyFrames + 22050; }, 10.0));
    const auto starts = test::startsOf(output.samples(), changed, 64);
    ASSERT_EQ(starts.size(), 1u) << "the changed file should start once";
    EXPECT_TRUE(framesMatch(output.samples(), starts[0], changed, 0, 22050, 1.0, 1));
}

TEST_F(PlayTest, StopWhileStoppedLeavesTheSameRestState) {
    load(noisePath);
    for (const bool playedBefore : {false, true}) {
        SCOPED_TRACE(playedBefore ? "after a Play" : "before any Play");
        if (playedBefore) {
            ASSERT_TRUE(play(state, ui.controls).ok());
        }
        stop(state, ui.controls);
        expectAtRest();
        const engine::Handle handle = state.streamHandle;
        const std::size_t buffer = state.playBuffer.size();

        stop(state, ui.controls);

        expectAtRest();
        EXPECT_EQ(state.streamHandle, handle) << "the released handle is kept";
        EXPECT_EQ(state.playBuffer.size(), buffer);
        EXPECT_EQ(engine::engineStreamCount(), baselineStreams);
    }
    // No sound after Stop, once the device has played what it held.
    DiskOutput output;
    ASSERT_TRUE(waitUntil([&] { return output.frames() > 2 * kLatencyFrames; }, 10.0));
    const auto out = output.samples();
    const std::vector<std::int16_t> tail(out.begin() + kLatencyFrames * 2, out.end());
    EXPECT_FALSE(test::firstSoundingFrame(tail));
}

TEST_F(PlayTest, FileThatCannotBeReadIsReportedAndPlaysNothing) {
    const fs::path copy = dir.path() / "copy.wav";
    const fs::path empty = dir.path() / "empty.wav";
    const fs::path garbage = dir.path() / "garbage.wav";
    std::ofstream(empty, std::ios::binary).close();
    std::ofstream(garbage, std::ios::binary) << std::string(50000, 'x');
    const struct {
        const char* what;
        fs::path path;
        bool remove;
    } cases[] = {
        {"deleted", copy, true},
        {"a folder", dir.path(), false},
        {"empty", empty, false},
        {"not audio", garbage, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A file plays, then the stored path stops being playable.
        fs::copy_file(noisePath, copy, fs::copy_options::overwrite_existing);
        load(copy);
        ASSERT_TRUE(play(state, ui.controls).ok());
        ASSERT_EQ(engine::engineStreamCount(), baselineStreams + 1);
        if (c.remove) fs::remove(copy);
        load(c.path);

        const Result<void> played = play(state, ui.controls);

        ASSERT_FALSE(played.ok());
        EXPECT_FALSE(played.error().cause.empty());
        EXPECT_GT(static_cast<unsigned char>(played.error().cause.front()), 0x7F)
            << "the cause is for the user: " << played.error().cause;
        EXPECT_EQ(engine::engineStreamCount(), baselineStreams) << "no stream plays";
        expectAtRest();
        stop(state, ui.controls);
        expectAtRest();
    }
}

}  // namespace
}  // namespace veltrona

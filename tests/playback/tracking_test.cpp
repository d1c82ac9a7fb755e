#include <gtest/gtest.h>

#include <QObject>
#include <QRegularExpression>

#include "PlaybackHarness.h"
#include "display/clockText.h"
#include "engine/engine.h"
#include "playback/onClockTick.h"
#include "playback/onPlayheadTick.h"
#include "playback/play.h"
#include "playback/playheadPlacement.h"
#include "playback/stop.h"

namespace veltrona {
namespace {

using test::waitUntil;

class TrackingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.volume = 1.0f;
        baselineStreams = engine::engineStreamCount();
    }
    void TearDown() override { stop(state, ui.controls); }

    // What the load leaves in the state for a 16-bit stereo 44.1 kHz file.
    void load(const std::string& name, float seconds) {
        state.filePath = test::fixture(name).string();
        state.byteRate = 176400;
        state.duration = seconds;
        state.pixelsPerMs = 887 / (seconds * 1000.0);
    }

    test::PlaybackWindow ui;
    AppState state;
    std::size_t baselineStreams = 0;
};

TEST_F(TrackingTest, TimersMoveThePlayheadAndTheClockWhilePlaying) {
    load("tone_stereo16_10s.wav", 10.0f);
    QObject::connect(&ui.timer1, &Timer::tick, [&] { onPlayheadTick(state, ui.controls); });
    QObject::connect(&ui.timer2, &Timer::tick, [&] { onClockTick(state, ui.controls); });
    ASSERT_TRUE(play(state, ui.controls).ok());

    // 1.2 s of a 10 s file is about 106 pixels; the clock shows a whole second.
    ASSERT_TRUE(
        waitUntil([&] { return ui.label3.text() != "" && ui.label3.text() != "00:00:00"; }, 10.0));
    EXPECT_TRUE(QRegularExpression("^00:00:0[1-9]$").match(ui.label3.text()).hasMatch())
        << ui.label3.text().toStdString();
    EXPECT_GT(state.playheadX, 0);
    EXPECT_LT(state.playheadX, 887);
    EXPECT_EQ(ui.shapeBox2.x(), state.playheadX + 24);
    EXPECT_EQ(ui.label4.x(), state.playheadX + 19);
    EXPECT_EQ(ui.shapeBox2.y(), 56) << "only the left edge moves";
    EXPECT_EQ(ui.label4.y(), 339);
    EXPECT_EQ(ui.timer1.period(), 1);
    EXPECT_EQ(ui.timer2.period(), 400);
}

TEST_F(TrackingTest, ReleasedOrNoStreamPlacesThePlayheadAtMinusOne) {
    load("tone_stereo16_10s.wav", 10.0f);
    for (const bool playedBefore : {false, true}) {
        SCOPED_TRACE(playedBefore ? "released stream" : "no stream yet");
        if (playedBefore) {
            ASSERT_TRUE(play(state, ui.controls).ok());
            stop(state, ui.controls);
        }
        ui.label3.setText("00:00:07");

        onPlayheadTick(state, ui.controls);
        onClockTick(state, ui.controls);

        EXPECT_EQ(state.playheadX, -1);
        EXPECT_EQ(ui.shapeBox2.x(), 23);
        EXPECT_EQ(ui.label4.x(), 18);
        EXPECT_EQ(ui.label3.text(), "00:00:00");
    }
}

TEST_F(TrackingTest, EndRuleFiresOnlyAtColumn899) {
    load("tone_stereo16.wav", 1.0f);
    ASSERT_TRUE(play(state, ui.controls).ok());
    // Once the sound has ended its position stands still, so the scale can
    // be chosen to put x on any column.
    ASSERT_TRUE(waitUntil([&] { return engine::channelIsActive(state.streamHandle) == 0; }, 15.0));
    const std::int32_t position =
        bytePosition(engine::channelGetPosition(state.streamHandle, engine::kPosByte));
    const std::int32_t ms = playheadMs(position, state.byteRate);
    ASSERT_GT(ms, 0);
    const QImage panelBefore = ui.drawPanel2.keptImage();

    const struct {
        std::int32_t column;
        bool fires;
    } cases[] = {{898, false}, {899, true}, {900, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        ui.timer1.setPeriod(1);
        ui.timer2.setPeriod(400);
        ui.label3.setText("00:00:01");
        state.pixelsPerMs = static_cast<double>(c.column) / ms;

        onPlayheadTick(state, ui.controls);

        EXPECT_EQ(state.playheadX, c.column) << "stored as computed";
        if (c.fires) {
            EXPECT_EQ(ui.shapeBox2.x(), 24);
            EXPECT_EQ(ui.label4.x(), 19);
            EXPECT_EQ(ui.label3.text(), "00:00:00");
            EXPECT_EQ(ui.timer1.period(), 0);
            EXPECT_EQ(ui.timer2.period(), 0);
            EXPECT_EQ(engine::engineStreamCount(), baselineStreams + 1) << "the stream is kept";
        } else {
            EXPECT_EQ(ui.shapeBox2.x(), c.column + 24);
            EXPECT_EQ(ui.label4.x(), c.column + 19);
            EXPECT_EQ(ui.label3.text(), "00:00:01");
            EXPECT_EQ(ui.timer1.period(), 1);
            EXPECT_EQ(ui.timer2.period(), 400);
        }
        EXPECT_EQ(ui.drawPanel2.keptImage(), panelBefore) << "the cleared strip is off the panel";
    }
}

}  // namespace
}  // namespace veltrona

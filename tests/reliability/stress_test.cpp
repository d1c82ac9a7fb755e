// A seeded random sequence of 1,000 user events on the real window, during
// loads and playback: clicks on whichever controls are enabled (through real
// mouse events), volume moves, timer ticks, close requests (close box and
// Esc), and dialog answers with good files, malformed files, missing files
// and Cancel. Each event schedules the next one as a fresh zero-to-2 ms
// single-shot timer, so events also arrive inside the load command's event
// pauses. A closed window is replaced by a new one once control is back at
// the top.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <iostream>
#include <random>

#include "WindowHarness.h"
#include "engine/engine.h"

namespace veltrona::test {
namespace {

constexpr int kEvents = 1000;
constexpr std::uint32_t kSeed = 20240801;

const char* const kGoodFiles[] = {"tone_stereo16.wav", "tone_mono8.wav",        "tone_stereo8.wav",
                                  "tone_mono16.wav",   "ffmpeg_list.wav",       "tone_stereo.mp3",
                                  "tone_mono.wma",     "tone_stereo16_10s.wav", "SONG.MP3",
                                  "tone_stereo24.wav"};
const char* const kBadFiles[] = {"cut_20.wav",   "blockalign_0.wav",    "datasize_max.wav",
                                 "random.wma",   "empty.mp3",           "corrupt_middle.mp3",
                                 "cut_half.wma", "data_before_fmt.wav", "list_ffffffff.wav",
                                 "mp3_named.wav"};

class Stress {
  public:
    explicit Stress(WindowHarness& harness) : harness_(harness), random_(kSeed) {}

    // Runs until every event has happened and no load is in progress.
    void run() {
        scheduleNext();
        while (done_ < kEvents || harness_.window().isLoading()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (!harness_.window().isVisible() && !harness_.window().isLoading()) {
                // Back at the top: the closed window can go.
                ++reopened_;
                harness_.reopen();
                if (done_ < kEvents && !pending_) scheduleNext();
            }
        }
    }

    int done() const { return done_; }
    int reopened() const { return reopened_; }
    int duringLoads() const { return duringLoads_; }
    int duringPlayback() const { return duringPlayback_; }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void scheduleNext() {
        pending_ = true;
        // Owned by the application, not the window, so a replaced window
        // does not take the chain with it.
        QTimer::singleShot(pick(3), qApp, [this] {
            pending_ = false;
            if (done_ >= kEvents) return;
            ++done_;
            MainWindow& window = harness_.window();
            if (window.isVisible() || window.isLoading()) {
                if (window.isLoading()) ++duringLoads_;
                if (window.timer1().period() > 0) ++duringPlayback_;
                // Schedule first, so the next event can arrive inside this one.
                scheduleNext();
                act(window);
            } else {
                scheduleNext();
            }
        });
    }

    QString answer() {
        const int kind = pick(10);
        if (kind < 5) return fixturePath(kGoodFiles[pick(std::size(kGoodFiles))]);
        if (kind < 8) {
            return QString::fromStdString(corpusDir() + "/" +
                                          kBadFiles[pick(std::size(kBadFiles))]);
        }
        if (kind < 9) return fixturePath("no-such-file.wav");
        return QString();  // Cancel
    }

    void act(MainWindow& window) {
        if (!window.isLoading()) {
            EXPECT_TRUE(window.button1().isEnabled());
            if (window.state().filePath.empty()) {
                EXPECT_FALSE(window.button2().isEnabled());
            }
        } else {
            EXPECT_FALSE(window.button1().isEnabled());
            EXPECT_FALSE(window.button2().isEnabled());
        }
        const int roll = pick(100);
        if (roll < 16) {
            harness_.answers.push_back(answer());
            QTest::mouseClick(&window.button1(), Qt::LeftButton);
            // A refused click leaves its answer unused.
            harness_.answers.clear();
        } else if (roll < 40) {
            QTest::mouseClick(&window.button2(), Qt::LeftButton);
        } else if (roll < 48) {
            QTest::mouseClick(&window.button3(), Qt::LeftButton);
        } else if (roll < 68) {
            window.vScrollBar1().setValue(1 + pick(100));
        } else if (roll < 82) {
            if (window.timer1().period() > 0) window.onTimer1Tick();
        } else if (roll < 98) {
            if (window.timer2().period() > 0) window.onTimer2Tick();
        } else if (roll < 99) {
            window.close();
        } else {
            QTest::keyClick(&window, Qt::Key_Escape);
        }
    }

    WindowHarness& harness_;
    std::mt19937 random_;
    int done_ = 0;
    int reopened_ = 0;
    int duringLoads_ = 0;
    int duringPlayback_ = 0;
    bool pending_ = false;
};

TEST(ReentrancyStress, ThousandSeededEventsDuringLoadsAndPlayback) {
    WindowHarness harness;
    Stress stress(harness);
    stress.run();
    EXPECT_EQ(stress.done(), kEvents);
    std::cout << "stress: seed " << kSeed << ", " << stress.done() << " events survived, "
              << stress.duringLoads() << " of them inside a load and " << stress.duringPlayback()
              << " during playback, " << stress.reopened() << " windows closed and replaced, "
              << harness.messages.size() << " messages shown\n";
    RecordProperty("events", stress.done());

    harness.window().close();
    EXPECT_FALSE(harness.window().isVisible());
    EXPECT_EQ(engine::engineStreamCount(), 0u);
}

}  // namespace
}  // namespace veltrona::test

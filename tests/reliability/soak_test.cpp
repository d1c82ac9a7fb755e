// 200 cycles of load, Play and Stop over fixtures of every kind in the real
// window. After each load the engine holds no stream (the decode streams of
// MP3 and WMA files are released once the image is built, the playing stream
// by the load), after Play exactly one, after Stop none again. Resident
// memory stays flat from the first cycles on.

#include <gtest/gtest.h>

#include <iostream>

#include "WindowHarness.h"
#include "engine/engine.h"

namespace veltrona::test {
namespace {

constexpr int kCycles = 200;
// Growth allowed from cycle 50 to cycle 200, and from cycle 10 to 200.
constexpr std::size_t kFlatKiB = 8 * 1024;
constexpr std::size_t kSettledKiB = 16 * 1024;

const char* const kFiles[] = {"tone_stereo16.wav", "tone_mono16.wav",   "tone_mono8.wav",
                              "tone_stereo8.wav",  "tone_stereo24.wav", "ffmpeg_list.wav",
                              "tone_stereo.mp3",   "tone_mono.mp3",     "tone_stereo.wma",
                              "tone_mono.wma"};

TEST(Soak, TwoHundredCyclesOfLoadPlayStop) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    const std::size_t baseline = engine::engineStreamCount();
    std::size_t rss[kCycles + 1] = {};

    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        const char* name = kFiles[(cycle - 1) % std::size(kFiles)];
        SCOPED_TRACE(std::string("cycle ") + std::to_string(cycle) + ", " + name);
        harness.load(fixturePath(name));
        ASSERT_TRUE(harness.messages.empty()) << harness.messages.back().toStdString();
        ASSERT_EQ(engine::engineStreamCount(), baseline);

        window.button2().click();
        // The dummy device reports no real output once; that notice is fine.
        harness.messages.clear();
        ASSERT_EQ(engine::engineStreamCount(), baseline + 1);
        ASSERT_TRUE(runEventsUntil([&] { return harness.state().playheadX > 0; }, 30000));

        window.button3().click();
        ASSERT_EQ(engine::engineStreamCount(), baseline);
        rss[cycle] = residentKiB();
    }
    std::cout << "soak: RSS at cycle 1 " << rss[1] / 1024 << " MiB, cycle 10 " << rss[10] / 1024
              << " MiB, cycle 50 " << rss[50] / 1024 << " MiB, cycle 200 " << rss[200] / 1024
              << " MiB (" << rss[200] << " KiB)\n";
    RecordProperty("rss_cycle_1_kib", static_cast<int>(rss[1]));
    RecordProperty("rss_cycle_50_kib", static_cast<int>(rss[50]));
    RecordProperty("rss_cycle_200_kib", static_cast<int>(rss[200]));
    if (kAddressSanitizer) {
        // Freed memory waits in the sanitizer's quarantine; leaks are the
        // leak checker's to find at exit.
        return;
    }
    EXPECT_LT(rss[200], rss[50] + kFlatKiB);
    EXPECT_LT(rss[200], rss[10] + kSettledKiB);
}

}  // namespace
}  // namespace veltrona::test

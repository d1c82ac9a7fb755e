// Device and file faults in the real window: no output device at start, the
// device lost during playback, and the loaded file gone or unreadable by the
// time Play reads it again.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "WindowHarness.h"
#include "engine/engine.h"
#include "playback/play.h"

namespace veltrona::test {
namespace {

namespace fs = std::filesystem;

// Sets SDL's audio variables for one test and restores them after it.
class AudioEnvironment {
  public:
    AudioEnvironment(const char* driver, const std::string& diskFile) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        if (!diskFile.empty()) setenv("SDL_DISKAUDIOFILE", diskFile.c_str(), 1);
    }
    ~AudioEnvironment() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }
};

fs::path scratchFile(const std::string& name) {
    return fs::temp_directory_path() / ("veltrona-faults-" + std::to_string(getpid()) + "-" + name);
}

struct NoDeviceCase {
    const char* what;
    const char* driver;
    bool diskFileInMissingFolder;
};

TEST(DeviceFaults, NoDeviceAtStartPlaysSilentlyAndSaysSoOnce) {
    const NoDeviceCase cases[] = {
        {"an audio driver that does not exist", "no-such-driver", false},
        {"a device that cannot be opened", "disk", true},
    };
    for (const NoDeviceCase& c : cases) {
        SCOPED_TRACE(c.what);
        const AudioEnvironment environment(
            c.driver, c.diskFileInMissingFolder ? "/nonexistent-folder/out.raw" : "");
        WindowHarness harness;
        EXPECT_TRUE(engine::engineUsesSilentOutput());
        harness.load(fixturePath("tone_stereo16_10s.wav"));
        ASSERT_TRUE(harness.messages.empty());

        harness.window().button2().click();
        ASSERT_EQ(harness.messages.size(), 1u);
        EXPECT_EQ(harness.messages[0], QString::fromUtf8(kSilentOutputNotice));
        // The silent output keeps real time: the playhead and clock run.
        EXPECT_TRUE(runEventsUntil([&] { return harness.state().playheadX > 5; }, 20000));
        EXPECT_TRUE(
            runEventsUntil([&] { return !harness.window().label3().text().isEmpty(); }, 20000));

        harness.window().button2().click();
        runEventsFor(500);
        EXPECT_EQ(harness.messages.size(), 1u);  // told once
    }
}

// Lets files grow to `bytes` and no further for the life of the object;
// writes past it fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(DeviceFaults, DeviceLostDuringPlaybackFallsBackToSilentOutput) {
    // SDL's disk driver treats a failed write as the device going away. The
    // size limit makes its writes fail about 0.7 s into the sound.
    const fs::path out = scratchFile("lost.raw");
    const AudioEnvironment environment("disk", out.string());
    WindowHarness harness;
    ASSERT_FALSE(engine::engineUsesSilentOutput());
    harness.load(fixturePath("tone_stereo16_10s.wav"));
    ASSERT_TRUE(harness.messages.empty());
    {
        const FileSizeLimit limit(128 * 1024);
        harness.window().button2().click();
        ASSERT_TRUE(harness.messages.empty());
        ASSERT_TRUE(runEventsUntil([&] { return !harness.messages.empty(); }, 30000));
    }
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0], QString::fromUtf8(kDeviceLostNotice));
    EXPECT_TRUE(engine::engineUsesSilentOutput());

    // The stream plays on into silent output: the playhead keeps moving.
    const int lostAt = harness.state().playheadX;
    EXPECT_TRUE(runEventsUntil([&] { return harness.state().playheadX > lostAt + 10; }, 20000));
    EXPECT_EQ(harness.window().timer1().period(), 1);
    EXPECT_TRUE(engine::channelIsActive(harness.state().streamHandle));
    runEventsFor(1000);
    EXPECT_EQ(harness.messages.size(), 1u);  // told once

    harness.window().button3().click();
    EXPECT_EQ(engine::engineStreamCount(), 0u);
    fs::remove(out);
}

struct FileFault {
    const char* what;
    void (*apply)(const fs::path& file);
    bool needsUnprivileged;
};

TEST(FileFaults, FileGoneOrUnreadableBeforePlayIsReported) {
    const FileFault faults[] = {
        {"deleted", [](const fs::path& f) { fs::remove(f); }, false},
        {"replaced by a folder",
         [](const fs::path& f) {
             fs::remove(f);
             fs::create_directory(f);
         },
         false},
        {"emptied", [](const fs::path& f) { std::ofstream(f, std::ios::trunc); }, false},
        {"made unreadable", [](const fs::path& f) { fs::permissions(f, fs::perms::none); }, true},
    };
    for (const FileFault& fault : faults) {
        SCOPED_TRACE(fault.what);
        const fs::path file = scratchFile("play.wav");
        fs::copy_file(VELTRONA_FIXTURE_DIR "/tone_stereo16.wav", file,
                      fs::copy_options::overwrite_existing);
        WindowHarness harness;
        harness.load(QString::fromStdString(file.string()));
        ASSERT_TRUE(harness.messages.empty());
        fault.apply(file);
        if (fault.needsUnprivileged && std::ifstream(file).is_open()) {
            // Root reads whatever the permissions say.
            fs::remove_all(file);
            continue;
        }

        const std::size_t streams = engine::engineStreamCount();
        harness.window().button2().click();
        ASSERT_EQ(harness.messages.size(), 1u);
        EXPECT_TRUE(harness.messages[0].contains(QString::fromStdString(file.filename().string())));
        EXPECT_EQ(engine::engineStreamCount(), streams);
        MainWindow& window = harness.window();
        EXPECT_EQ(window.timer1().period(), 0);
        EXPECT_EQ(window.timer2().period(), 0);
        EXPECT_EQ(harness.state().playheadX, 0);
        EXPECT_EQ(window.shapeBox2().x(), 24);
        EXPECT_EQ(window.label3().text(), "00:00:00");
        // Play and Stop stay usable; Stop at rest changes nothing.
        EXPECT_TRUE(window.button2().isEnabled());
        window.button3().click();
        EXPECT_EQ(window.timer1().period(), 0);
        fs::remove_all(file);
    }
}

}  // namespace
}  // namespace veltrona::test

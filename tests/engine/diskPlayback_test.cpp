// What a playing stream sends to the device, through SDL's disk driver, which
// writes every device buffer to a file in real time.

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "engineTestFiles.h"

namespace veltrona::enginetest {
namespace {

struct DiskCase {
    const char* file;
    float volume;
    int tolerance;  // per sample
};

// The device frames (16-bit stereo at 44.1 kHz) a case's file should give.
std::vector<std::int16_t> expectedFrames(const DiskCase& c) {
    const Bytes data = wavData(fixture(c.file));
    std::vector<std::int16_t> out;
    if (std::string(c.file).find("mono8") != std::string::npos) {
        for (const std::uint8_t s : data) {
            const auto wide = static_cast<std::int16_t>((s - 128) * 256);
            out.push_back(wide);
            out.push_back(wide);
        }
    } else {
        out = asS16(data);
    }
    for (std::int16_t& s : out) s = static_cast<std::int16_t>(std::lrint(s * c.volume));
    return out;
}

// Plays one file with the disk driver writing to `path`; returns the samples
// the device was given, from engineInit to engineFree.
std::vector<std::int16_t> playToDisk(const DiskCase& c, const std::string& path) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    EXPECT_TRUE(engine::engineInit(-1, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(engine::engineUsesSilentOutput());
    const Bytes bytes = readFile(fixture(c.file));
    const engine::Handle h = engine::streamCreateFile(true, bytes.data(), 0, bytes.size(), 0);
    EXPECT_NE(h, 0u);
    // As Play does: the level is set before the start.
    EXPECT_TRUE(engine::channelSetAttribute(h, engine::kAttribVolume, c.volume));
    EXPECT_TRUE(engine::channelPlay(h, true));
    EXPECT_TRUE(waitUntil([&] { return engine::channelIsActive(h) == 0; }, 30.0));
    // Some silence after the end, then the device closes and the file is whole.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    engine::engineFree();
    return asS16(readFile(path));
}

bool matchesAt(const std::vector<std::int16_t>& out, std::size_t start,
               const std::vector<std::int16_t>& expected, int tolerance) {
    if (start + expected.size() > out.size()) return false;
    for (std::size_t i = 0; i < start; ++i) {
        if (out[i] != 0) return false;
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (std::abs(out[start + i] - expected[i]) > tolerance) return false;
    }
    return true;
}

TEST(DiskPlayback, DeviceGetsTheFilesSamples) {
    const DiskCase cases[] = {
        {"tone_stereo16.wav", 1.0f, 0},
        {"tone_stereo16.wav", 0.5f, 1},
        {"tone_mono8.wav", 1.0f, 0},
    };
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("veltrona_engine_disk_" + std::to_string(getpid()) + ".raw"))
                                 .string();
    for (const DiskCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at volume " + std::to_string(c.volume));
        const std::vector<std::int16_t> out = playToDisk(c, path);
        const std::vector<std::int16_t> expected = expectedFrames(c);
        ASSERT_GT(out.size(), expected.size());

        // The device plays silence until the stream starts, so the stream
        // starts at a frame no later than the first sounding one.
        std::size_t firstSound = 0;
        while (firstSound < out.size() && out[firstSound] == 0) ++firstSound;
        ASSERT_LT(firstSound, out.size()) << "no sound reached the device";
        bool found = false;
        std::size_t start = 0;
        for (std::size_t frame = 0; frame * 2 <= firstSound && !found; ++frame) {
            if (matchesAt(out, frame * 2, expected, c.tolerance)) {
                found = true;
                start = frame * 2;
            }
        }
        ASSERT_TRUE(found) << "the device did not get the file's samples";
        for (std::size_t i = start + expected.size(); i < out.size(); ++i) {
            ASSERT_EQ(out[i], 0) << "sound after the end, sample " << i;
        }
    }
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace veltrona::enginetest

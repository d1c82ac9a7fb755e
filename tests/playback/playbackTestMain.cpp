// Runs the playback tests against the real engine, with the device output
// going to a file through SDL's disk driver.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "PlaybackHarness.h"
#include "engine/engine.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const veltrona::test::TempDir output;
    const std::string file = (output.path() / "device.raw").string();
    // Before engineInit, which opens the device.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    veltrona::engine::engineInit(-1, 44100, 0, nullptr, nullptr);
    const int result = RUN_ALL_TESTS();
    veltrona::engine::engineFree();
    return result;
}

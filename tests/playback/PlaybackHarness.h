#pragma once

// What the playback tests share: the controls Play, Stop and the ticks move,
// built as real widgets; WAV files written for a test; the sound the engine
// sent to SDL's disk driver; and waiting with events running.

#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "display/DrawPanel.h"
#include "playback/PlaybackControls.h"
#include "playback/Timer.h"

namespace veltrona::test {

// The window's playback controls at their places and sizes in the window.
struct PlaybackWindow {
    PlaybackWindow();

    QWidget window;
    QWidget shapeBox2;
    QLabel label4;
    QLabel label3;
    Timer timer1;
    Timer timer2;
    DrawPanel drawPanel2;
    PlaybackControls controls;
};

// Runs pending events and sleeps briefly until `done` or `seconds` pass.
bool waitUntil(const std::function<bool()>& done, double seconds);

// A fresh folder for one test's files, removed with it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Interleaved 16-bit stereo at 44.1 kHz: pseudo-random samples whose size
// is 1000 to 20000, so no stretch of the file repeats and every sample stays
// non-zero when scaled by 0.1.
std::vector<std::int16_t> noiseSamples(int frames);
// A canonical 44-byte-header WAV file of those samples.
void writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples);
// The samples of a canonical 16-bit stereo WAV file (after its 44 bytes).
std::vector<std::int16_t> readWavSamples(const std::filesystem::path& path);

// The device output (16-bit stereo) the disk driver writes to
// SDL_DISKAUDIOFILE, from the moment the tracker was made.
class DiskOutput {
  public:
    DiskOutput();
    // Interleaved samples written since the tracker was made.
    std::vector<std::int16_t> samples() const;
    std::size_t frames() const { return samples().size() / 2; }

  private:
    std::uintmax_t startBytes_ = 0;
};

// The first frame of `samples` with a non-zero sample, if any.
std::optional<std::size_t> firstSoundingFrame(const std::vector<std::int16_t>& samples);

// True when `frames` frames of `out` from frame `outFrame` equal those of
// `source` from `sourceFrame` scaled by `gain`, each within `tolerance`.
bool framesMatch(const std::vector<std::int16_t>& out, std::size_t outFrame,
                 const std::vector<std::int16_t>& source, std::size_t sourceFrame,
                 std::size_t frames, double gain, int tolerance);

// Every frame of `out` at which the first `frames` frames of `source` start
// (gain 1, within 1).
std::vector<std::size_t> startsOf(const std::vector<std::int16_t>& out,
                                  const std::vector<std::int16_t>& source, std::size_t frames);

// The fixture path.
std::filesystem::path fixture(const std::string& name);

}  // namespace veltrona::test

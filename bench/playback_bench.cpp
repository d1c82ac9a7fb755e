// Playback figures, printed as text:
//  - the CPU the process uses while a file plays for 10 s with Timer1 at 1 ms
//    and Timer2 at 400 ms driving the playhead and the clock;
//  - the time from Play to the first samples reaching the device, for a
//    10-minute 16-bit stereo WAV read from the file cache.
// Run headless; SDL_AUDIODRIVER defaults to the silent "dummy" driver.

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "display/DrawPanel.h"
#include "engine/engine.h"
#include "import/openAudioFile.h"
#include "playback/PlaybackControls.h"
#include "playback/Timer.h"
#include "playback/onClockTick.h"
#include "playback/onPlayheadTick.h"
#include "playback/play.h"
#include "playback/readFileInto.h"
#include "playback/stop.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using veltrona::AppState;

constexpr int kRate = 44100;
constexpr int kByteRate = kRate * 4;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A canonical WAV file of a 440 Hz stereo tone lasting `seconds`.
void writeToneWav(const fs::path& path, int seconds) {
    const std::uint32_t frames = static_cast<std::uint32_t>(seconds) * kRate;
    const std::uint32_t dataBytes = frames * 4;
    std::vector<std::uint8_t> bytes(44 + static_cast<std::size_t>(dataBytes));
    auto put = [&](std::size_t at, std::uint32_t value, int width) {
        for (int i = 0; i < width; ++i) bytes[at + i] = (value >> (8 * i)) & 0xFF;
    };
    std::memcpy(&bytes[0], "RIFF", 4);
    put(4, 36 + dataBytes, 4);
    std::memcpy(&bytes[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, 2, 2);
    put(24, kRate, 4);
    put(28, kByteRate, 4);
    put(32, 4, 2);
    put(34, 16, 2);
    std::memcpy(&bytes[36], "data", 4);
    put(40, dataBytes, 4);
    for (std::uint32_t f = 0; f < frames; ++f) {
        const auto s = static_cast<std::int16_t>(
            8000 * std::sin(2 * std::numbers::pi * 440.0 * (f % kRate) / kRate));
        put(44 + f * 4, static_cast<std::uint16_t>(s), 2);
        put(46 + f * 4, static_cast<std::uint16_t>(s), 2);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

struct Controls {
    QWidget window;
    QWidget shapeBox2{&window};
    QLabel label4{&window};
    QLabel label3{&window};
    veltrona::Timer timer1{&window, "Timer1"};
    veltrona::Timer timer2{&window, "Timer2"};
    veltrona::DrawPanel drawPanel2{&window,
                                   "DrawPanel2",
                                   QRect(25, 57, 887, 256),
                                   {QColor(0, 0, 136), 2, QColor(0, 0, 0), QColor(0, 0, 0)}};
    veltrona::PlaybackControls refs{shapeBox2, label4, label3, timer1, timer2, drawPanel2};

    Controls() {
        shapeBox2.setGeometry(24, 56, 1, 255);
        label4.setGeometry(20, 339, 10, 10);
        label3.setGeometry(552, 8, 192, 40);
        window.show();
    }
};

void load(AppState& state, const fs::path& path, int seconds) {
    state.filePath = path.string();
    state.byteRate = kByteRate;
    state.duration = static_cast<float>(seconds);
    state.pixelsPerMs = 887 / (seconds * 1000.0);
    state.volume = 1.0f;
}

// Play to a position above 0, `runs` times; prints the figures.
void measureStartLatency(AppState& state, Controls& ui) {
    constexpr int kRuns = 15;
    std::vector<double> total;
    std::vector<double> inPlay;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        const auto played = veltrona::play(state, ui.refs);
        inPlay.push_back(msSince(start));
        if (!played.ok()) {
            std::printf("play failed: %s\n", played.error().cause.c_str());
            return;
        }
        for (;;) {
            const auto position = veltrona::engine::channelGetPosition(state.streamHandle,
                                                                       veltrona::engine::kPosByte);
            if (position != veltrona::engine::kPositionError && position > 0) break;
            if (msSince(start) > 5000) break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        total.push_back(msSince(start));
        veltrona::stop(state, ui.refs);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // The first Play gets fresh memory for the buffer; later ones reuse it.
    const double firstTotal = total.front();
    const double firstInPlay = inPlay.front();
    total.erase(total.begin());
    inPlay.erase(inPlay.begin());
    std::sort(total.begin(), total.end());
    std::sort(inPlay.begin(), inPlay.end());
    const std::size_t mid = total.size() / 2;
    std::printf("play to first samples at the device, 10-minute WAV (target <= 30 ms):\n");
    std::printf("  first Play of the run: %.1f ms (%.1f ms inside play())\n", firstTotal,
                firstInPlay);
    std::printf("  later Plays (%zu): median %.1f ms, min %.1f ms, max %.1f ms\n", total.size(),
                total[mid], total.front(), total.back());
    std::printf("    of which inside play() (read + stream start): median %.1f ms, max %.1f ms\n",
                inPlay[mid], inPlay.back());

    // The read alone, into a buffer whose memory is already in use.
    std::vector<double> reads;
    std::vector<std::uint8_t> buffer;
    for (int run = 0; run < 6; ++run) {
        const auto start = Clock::now();
        (void)veltrona::readFileInto(state.filePath, buffer);
        if (run > 0) reads.push_back(msSince(start));
    }
    std::sort(reads.begin(), reads.end());
    std::printf("    reading the file alone (reused buffer): median %.1f ms\n",
                reads[reads.size() / 2]);
}

// Plays for `seconds` with both timers driving the tracking; prints the CPU.
void measurePlayingCpu(AppState& state, Controls& ui, int seconds) {
    long ticks1 = 0;
    long ticks2 = 0;
    QObject::connect(&ui.timer1, &veltrona::Timer::tick, [&] {
        ++ticks1;
        veltrona::onPlayheadTick(state, ui.refs);
    });
    QObject::connect(&ui.timer2, &veltrona::Timer::tick, [&] {
        ++ticks2;
        veltrona::onClockTick(state, ui.refs);
    });
    const auto played = veltrona::play(state, ui.refs);
    if (!played.ok()) {
        std::printf("play failed: %s\n", played.error().cause.c_str());
        return;
    }
    const double cpuStart = cpuSeconds();
    const auto start = Clock::now();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = msSince(start) / 1000.0;
    const double cpu = cpuSeconds() - cpuStart;
    std::printf("CPU while playing %d s with Timer1 at 1 ms:\n", seconds);
    std::printf("  %.2f %% of one core (%.3f s CPU in %.3f s; target <= 4 %%)\n",
                100.0 * cpu / wall, cpu, wall);
    std::printf("  Timer1 ticks %ld (%.0f per second), Timer2 ticks %ld, playhead x %d, clock %s\n",
                ticks1, ticks1 / wall, ticks2, state.playheadX,
                ui.label3.text().toStdString().c_str());
    veltrona::stop(state, ui.refs);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const fs::path dir = fs::temp_directory_path() / ("veltrona-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path tenMinutes = dir / "ten-minutes.wav";
    writeToneWav(tenMinutes, 600);
    // Read once so the measured Plays find it in the file cache.
    (void)veltrona::readWholeFile(tenMinutes.string());

    veltrona::engine::engineInit(-1, kRate, 0, nullptr, nullptr);
    std::printf("audio driver %s%s\n", std::getenv("SDL_AUDIODRIVER"),
                veltrona::engine::engineUsesSilentOutput() ? " (silent output)" : "");
    {
        Controls ui;
        AppState state;
        load(state, tenMinutes, 600);
        measureStartLatency(state, ui);
        measurePlayingCpu(state, ui, 10);
    }
    veltrona::engine::engineFree();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return 0;
}

// Times the waveform renderer and the time ruler as the first load runs them:
// DrawPanel1 visible in a shown window, pending events processed after every
// column. Run on the offscreen platform (the default here) or under Xvfb with
// QT_QPA_PLATFORM=xcb. Prints the median, fastest and slowest of the runs.
//   display_bench [runs]

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "display/DrawPanel.h"
#include "display/drawTimeRuler.h"
#include "display/drawWaveform.h"

namespace {

using veltrona::DrawPanel;

// Ten seconds of 44.1 kHz stereo 16-bit: a 440 Hz tone left, 660 Hz right.
veltrona::LoadedAudio toneAudio() {
    constexpr int frames = 441000;
    std::vector<std::uint8_t> pcm(frames * 4);
    for (int k = 0; k < frames; ++k) {
        const double t = k / 44100.0;
        const auto left = static_cast<std::int16_t>(20000 * std::sin(2 * M_PI * 440 * t));
        const auto right = static_cast<std::int16_t>(20000 * std::sin(2 * M_PI * 660 * t));
        pcm[4 * k] = static_cast<std::uint8_t>(left & 0xff);
        pcm[4 * k + 1] = static_cast<std::uint8_t>((left >> 8) & 0xff);
        pcm[4 * k + 2] = static_cast<std::uint8_t>(right & 0xff);
        pcm[4 * k + 3] = static_cast<std::uint8_t>((right >> 8) & 0xff);
    }
    veltrona::WavHeader header;
    header.fmt.formatTag = 1;
    header.fmt.channels = 2;
    header.fmt.bitsPerSample = 16;
    header.fmt.blockAlign = 4;
    header.fmt.byteRate = 176400;
    return veltrona::LoadedAudio::fromPcm(header, std::move(pcm), frames * 4, 4, 10.0f);
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %8.3f ms   min %8.3f   max %8.3f   (%zu runs)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
}

template <typename F>
std::vector<double> time(int runs, F&& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        ms.push_back(clock.nsecsElapsed() / 1e6);
        // Let the coalesced repaints of this run happen outside the timing.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 40) QCoreApplication::processEvents();
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    QWidget window;
    window.resize(976, 396);
    auto* panel2 = new DrawPanel(&window, QStringLiteral("DrawPanel2"), QRect(25, 57, 887, 256),
                                 {QColor(0, 0, 136), 2, QColor(Qt::black), QColor(Qt::black)});
    auto* panel1 = new DrawPanel(&window, QStringLiteral("DrawPanel1"), QRect(25, 57, 900, 256),
                                 {QColor(0, 0, 136), 0, QColor(Qt::black), QColor(Qt::black)});
    auto* panel3 = new DrawPanel(&window, QStringLiteral("DrawPanel3"), QRect(25, 313, 900, 24),
                                 {QColor(0, 128, 128), 1, QColor(255, 0, 255), QColor(Qt::white)});
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200) QCoreApplication::processEvents();
    std::printf("platform %s, DrawPanel1 %s\n", qPrintable(QGuiApplication::platformName()),
                panel1->isVisible() ? "visible" : "hidden");

    const veltrona::LoadedAudio audio = toneAudio();
    const veltrona::EventPump pump = [] {
        DrawPanel::processPendingEvents();
        return true;
    };
    const veltrona::EventPump noPump = [] { return true; };

    report("drawWaveform, events after every column",
           time(runs, [&] { veltrona::drawWaveform(audio, *panel1, *panel2, pump); }));
    report("drawWaveform, strokes only (no events)",
           time(runs, [&] { veltrona::drawWaveform(audio, *panel1, *panel2, noPump); }));
    report("21,150 x processPendingEvents, idle", time(runs, [] {
               for (int j = 0; j < 21150; ++j) DrawPanel::processPendingEvents();
           }));
    veltrona::AppState state;
    for (float duration : {10.0f, 100.0f, 3600.0f}) {
        state.duration = duration;
        char what[64];
        std::snprintf(what, sizeof what, "drawTimeRuler, %.0f s", duration);
        report(what, time(runs, [&] { veltrona::drawTimeRuler(state, *panel2, *panel3); }));
    }
    return 0;
}

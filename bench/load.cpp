// One load, timed step by step, as the load command runs it on the window's
// own panels: import, drawWaveform (events after every column), the events
// after it, drawTimeRuler, and the snapshot moved into DrawPanel2 as its back
// picture. Prints one JSON line:
//   {"file":..., "kind":"mp3", "decoded_bytes":..., "import_ms":...,
//    "render_ms":..., "ruler_ms":..., "picture_ms":..., "total_ms":...,
//    "idle_rss_mb":..., "peak_rss_mb":...}
// decoded_bytes is the sample data the display uses (dataLength). idle RSS is
// the shown window before the load; peak RSS is the highest resident size
// during the load (the kernel's high-water mark, reset once idle).
//   load FILE
// Headless: QT_QPA_PLATFORM defaults to offscreen, SDL_AUDIODRIVER to dummy.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/prepareApplication.h"
#include "display/DrawPanel.h"
#include "display/drawTimeRuler.h"
#include "display/drawWaveform.h"
#include "import/AudioKind.h"
#include "import/importAudio.h"
#include "import/openAudioFile.h"

namespace {

using veltrona::DrawPanel;

// A field of /proc/self/status in MiB, e.g. "VmRSS:" or "VmHWM:".
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = field;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + key.size()) / 1024.0;
    }
    return -1.0;
}

// Starts the kernel's peak-RSS count afresh from the current size.
void resetPeakRss() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The file name with JSON's specials escaped.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* kindName(veltrona::AudioKind kind) {
    switch (kind) {
        case veltrona::AudioKind::Mp3:
            return "mp3";
        case veltrona::AudioKind::Wma:
            return "wma";
        case veltrona::AudioKind::Wav:
            break;
    }
    return "wav";
}

double msOf(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Runs events for `ms` milliseconds, so the shown window settles.
void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: load FILE\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication application(argc, argv);
    veltrona::prepareApplication();

    veltrona::AppState state;
    veltrona::MainWindow window(state);
    window.onWindowCreated();
    window.show();
    settle(200);

    const std::string path = argv[1];
    const double idleRss = statusMiB("VmRSS:");
    resetPeakRss();

    DrawPanel& panel1 = window.drawPanel1();
    DrawPanel& panel2 = window.drawPanel2();
    DrawPanel& panel3 = window.drawPanel3();
    const veltrona::EventPump pump = [] {
        DrawPanel::processPendingEvents();
        return true;
    };

    QElapsedTimer total;
    total.start();
    QElapsedTimer step;
    step.start();
    veltrona::Result<std::ifstream> file = veltrona::openAudioFile(path);
    veltrona::Result<veltrona::LoadedAudio> audio = veltrona::importAudio(path, file, state, pump);
    const double importMs = msOf(step);
    if (!audio.ok()) {
        std::printf("{\"file\":%s,\"error\":%s}\n", jsonString(path).c_str(),
                    jsonString(audio.error().cause).c_str());
        return 1;
    }

    step.restart();
    veltrona::drawWaveform(audio.value(), panel1, panel2, pump);
    DrawPanel::processPendingEvents();
    const double renderMs = msOf(step);

    // The samples are needed by the drawing alone; released before the
    // picture is taken, as the load command does.
    const std::int64_t decodedBytes = audio.value().dataLength;
    { const veltrona::LoadedAudio released = std::move(audio).value(); }

    step.restart();
    veltrona::drawTimeRuler(state, panel2, panel3);
    const double rulerMs = msOf(step);

    step.restart();
    const QByteArray picture = panel1.snapshot(panel1.width(), panel1.height());
    panel2.setBackPicture(picture);
    panel1.hide();
    const double pictureMs = msOf(step);

    // Step 18: the file is closed.
    file = veltrona::Error{""};
    const double totalMs = msOf(total);
    const double peakRss = statusMiB("VmHWM:");

    std::printf(
        "{\"file\":%s,\"kind\":\"%s\",\"decoded_bytes\":%lld,\"import_ms\":%.1f,"
        "\"render_ms\":%.1f,\"ruler_ms\":%.2f,\"picture_ms\":%.2f,\"total_ms\":%.1f,"
        "\"idle_rss_mb\":%.1f,\"peak_rss_mb\":%.1f}\n",
        jsonString(path).c_str(), kindName(veltrona::audioKindOf(path)),
        static_cast<long long>(decodedBytes), importMs, renderMs, rulerMs, pictureMs, totalMs,
        idleRss, peakRss);
    return 0;
}

// The WAV import over arbitrary file bytes, then the waveform renderer's
// sample reads and strokes over the result and the time ruler, drawn into the
// real drawing panels in memory (offscreen Qt). An import either fails with a cause or
// gives audio whose sample view lies inside its bytes and whose format passed
// the checks; drawing never stops early.

#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/AppState.h"
#include "display/DrawPanel.h"
#include "display/drawTimeRuler.h"
#include "display/drawWaveform.h"
#include "import/importAudio.h"

namespace {

using namespace veltrona;

void check(bool holds) {
    if (!holds) std::abort();
}

// Function-local statics are destroyed in the reverse order of their
// completed construction, so the panels go first, then the application, then
// what Qt made while starting up.
QApplication& application() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // QApplication keeps references to its arguments for its whole life.
    static int argc = 1;
    static char name[] = "wavImport_fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// DrawPanel1, DrawPanel2 and DrawPanel3 with their settings in the window.
struct Panels {
    DrawPanel panel1{nullptr, "DrawPanel1", QRect(1, 1, 900, 256),
                     DrawPanel::Settings{QColor(0, 0, 136), 0, Qt::black, Qt::black}};
    DrawPanel panel2{nullptr, "DrawPanel2", QRect(1, 1, 887, 256),
                     DrawPanel::Settings{QColor(0, 0, 136), 2, Qt::black, Qt::black}};
    DrawPanel panel3{nullptr, "DrawPanel3", QRect(25, 313, 900, 24),
                     DrawPanel::Settings{QColor(0, 128, 128), 1, QColor(255, 0, 255), Qt::white}};
};

Panels& panels() {
    application();
    static Panels p;
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    panels();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AppState state;
    Result<LoadedAudio> audio = importWavBytes(std::vector<std::uint8_t>(data, data + size), state);
    if (!audio.ok()) {
        check(!audio.error().cause.empty());
        check(state.byteRate == 0 && state.duration == 0.0f);
        return 0;
    }
    const LoadedAudio& loaded = audio.value();
    check(loaded.bytes.size() == size);
    check(loaded.pcmOffset <= size && loaded.pcmLength <= size - loaded.pcmOffset);
    check(loaded.blockAlign > 0 && state.byteRate > 0);
    check(state.byteRate == loaded.header.fmt.byteRate);

    Panels& p = panels();
    check(drawWaveform(loaded, p.panel1, p.panel2, nullptr));
    drawTimeRuler(state, p.panel2, p.panel3);
    return 0;
}

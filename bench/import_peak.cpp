// Peak memory of importing one compressed file: the decoder should stay near
// the decoded PCM size plus the engine's fixed overhead.
//
//   cmake --build <build> --target import_peak import_peak_input
//   /usr/bin/time -v <build>/bench/import_peak <build>/bench/tone_10min.mp3
//
// Prints the decoded size, the image size and the process's peak resident
// size (VmHWM) before and after the import.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/AppState.h"
#include "engine/engine.h"
#include "import/importAudio.h"
#include "import/openAudioFile.h"

namespace {

// Peak resident size of this process so far, in bytes.
long long peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
    }
    return -1;
}

double mib(long long bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: import_peak FILE.mp3|FILE.wma\n");
        return 2;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!veltrona::engine::engineInit(-1, 44100, 0, nullptr, nullptr)) {
        std::fprintf(stderr, "engine did not start\n");
        return 1;
    }
    const long long before = peakResidentBytes();

    const std::string path = argv[1];
    veltrona::AppState state;
    veltrona::Result<std::ifstream> file = veltrona::openAudioFile(path);
    int blocks = 0;
    veltrona::Result<veltrona::LoadedAudio> audio =
        veltrona::importAudio(path, file, state, [&blocks] { return ++blocks > 0; });
    if (!audio) {
        std::fprintf(stderr, "import failed: %s\n", audio.error().cause.c_str());
        return 1;
    }
    const long long after = peakResidentBytes();
    const long long decoded = audio.value().header.riff.chunkSize;
    const long long image = static_cast<long long>(audio.value().bytes.size());

    std::printf("blocks            %d\n", blocks);
    std::printf("decoded PCM       %lld bytes (%.1f MiB), %.1f s\n", decoded, mib(decoded),
                static_cast<double>(state.duration));
    std::printf("image             %lld bytes (%.1f MiB)\n", image, mib(image));
    std::printf("peak RSS before   %.1f MiB (engine started)\n", mib(before));
    std::printf("peak RSS after    %.1f MiB\n", mib(after));
    std::printf("growth / decoded  %.3f\n", static_cast<double>(after - before) / decoded);
    std::printf("peak / decoded    %.3f\n", static_cast<double>(after) / decoded);
    veltrona::engine::engineFree();
    return 0;
}

// veltrona-play PATH [VOLUME]: plays a file through the engine, from memory as
// the program does, and prints the heard position until it ends. For checking
// the engine by ear.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine.h"

namespace engine = veltrona::engine;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: veltrona-play PATH [VOLUME 0..1]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "veltrona-play: cannot open %s\n", argv[1]);
        return 1;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    const float volume = argc > 2 ? std::strtof(argv[2], nullptr) : 1.0f;

    engine::engineInit(-1, 44100, 0, nullptr, nullptr);
    if (engine::engineUsesSilentOutput()) {
        std::printf("no sound device: playing into silent output\n");
    }
    const engine::Handle stream = engine::streamCreateFile(true, bytes.data(), 0, bytes.size(), 0);
    if (stream == 0) {
        std::fprintf(stderr, "veltrona-play: the engine cannot play %s (error %d)\n", argv[1],
                     static_cast<int>(engine::engineLastError()));
        engine::engineFree();
        return 1;
    }
    engine::ChannelInfo info{};
    engine::channelGetInfo(stream, &info);
    std::printf("%u Hz, %u channel(s), %u-bit%s\n", info.freq, info.chans, info.bitsPerSample,
                info.isFloat != 0 ? " float" : "");

    engine::channelSetAttribute(stream, engine::kAttribVolume, volume);
    engine::channelPlay(stream, true);
    while (engine::channelIsActive(stream) != 0) {
        const std::uint64_t position = engine::channelGetPosition(stream, engine::kPosByte);
        std::printf("\r%12llu bytes  %8.2f s", static_cast<unsigned long long>(position),
                    engine::channelBytes2Seconds(stream, position));
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::uint64_t position = engine::channelGetPosition(stream, engine::kPosByte);
    std::printf("\r%12llu bytes  %8.2f s  (end)\n", static_cast<unsigned long long>(position),
                engine::channelBytes2Seconds(stream, position));
    engine::streamFree(stream);
    engine::engineFree();
    return 0;
}

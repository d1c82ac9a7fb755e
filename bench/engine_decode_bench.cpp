// engine_decode_bench [FILE.mp3] [ROUNDS]: decodes FILE through the engine as
// the import does (decode stream, mixer, 4,000,000-byte pulls until the mixer
// ends) and, in alternate rounds, with
//   ffmpeg -threads 1 -i FILE -f s16le -y /dev/null
// and prints both times and their ratio. Without FILE it makes (once) a
// ten-minute 128 kbps stereo MP3 of a tone over pink noise beside itself.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace engine = veltrona::engine;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kBlockBytes = 4000000;

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool makeInput(const std::string& path) {
    const std::string graph =
        "sine=frequency=440:sample_rate=44100:duration=600,volume=0.5[a];"
        "anoisesrc=color=pink:sample_rate=44100:duration=600:amplitude=0.2[n];"
        "[a][n]amix=inputs=2:normalize=0,aformat=channel_layouts=stereo";
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -filter_complex " +
                                quoted(graph) + " -c:a libmp3lame -b:a 128k " + quoted(path);
    std::printf("making %s ...\n", path.c_str());
    return std::system(command.c_str()) == 0;
}

// Seconds to decode the file through the engine; `bytes` gets the PCM count.
double engineSeconds(const std::string& path, std::vector<std::uint8_t>& block,
                     std::uint64_t& bytes) {
    const Clock::time_point start = Clock::now();
    const engine::Handle source =
        engine::streamCreateFile(false, path.c_str(), 0, 0, engine::kStreamDecode);
    engine::ChannelInfo info{};
    engine::channelGetInfo(source, &info);
    const engine::Handle mixer =
        engine::mixerStreamCreate(info.freq, info.chans, engine::kDecodeMixerFlags);
    engine::mixerStreamAddChannel(mixer, source, 0);
    do {
        engine::channelGetData(mixer, block.data(), kBlockBytes);
        bytes = engine::channelGetPosition(mixer, engine::kPosByte);
    } while (engine::channelIsActive(mixer) != 0);
    engine::streamFree(mixer);
    engine::streamFree(source);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ffmpegSeconds(const std::string& path) {
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -threads 1 -i " +
                                quoted(path) + " -f s16le -y /dev/null";
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) return -1.0;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : "";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (path.empty()) {
        path = std::string(VELTRONA_BENCH_DIR) + "/engine_decode_10min.mp3";
        if (!std::filesystem::exists(path) && !makeInput(path)) {
            std::fprintf(stderr, "engine_decode_bench: cannot make %s\n", path.c_str());
            return 1;
        }
    }

    std::vector<std::uint8_t> block(kBlockBytes);
    std::vector<double> ours;
    std::vector<double> theirs;
    std::uint64_t bytes = 0;
    // One warm-up of each, so the file sits in the page cache for both.
    engineSeconds(path, block, bytes);
    ffmpegSeconds(path);
    for (int round = 0; round < rounds; ++round) {
        ours.push_back(engineSeconds(path, block, bytes));
        const double ff = ffmpegSeconds(path);
        if (ff < 0) {
            std::fprintf(stderr, "engine_decode_bench: ffmpeg failed\n");
            return 1;
        }
        theirs.push_back(ff);
        std::printf("round %d: engine %.3f s, ffmpeg %.3f s\n", round + 1, ours.back(), ff);
    }
    const double oursMedian = median(ours);
    const double theirsMedian = median(theirs);
    const double oursBest = *std::min_element(ours.begin(), ours.end());
    const double theirsBest = *std::min_element(theirs.begin(), theirs.end());
    std::printf("file: %s\ndecoded: %llu bytes\n", path.c_str(),
                static_cast<unsigned long long>(bytes));
    std::printf("median: engine %.3f s, ffmpeg %.3f s, ratio %.3f\n", oursMedian, theirsMedian,
                oursMedian / theirsMedian);
    std::printf("best:   engine %.3f s, ffmpeg %.3f s, ratio %.3f (target <= 1.05)\n", oursBest,
                theirsBest, oursBest / theirsBest);
    return 0;
}

// The engine's memory streams over arbitrary bytes: create a decode stream
// (MP3 or WMA opener, chosen by the first byte), query it, feed it through a
// decoding mixer as the import does and pull a bounded amount of PCM, then
// release everything. Every stream made is released again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/engine.h"

namespace {

using namespace veltrona::engine;

// At most this much PCM is pulled from one input, in 64 KiB pulls.
constexpr std::uint32_t kPullBytes = 64 * 1024;
constexpr int kMaxPulls = 64;

void check(bool holds) {
    if (!holds) std::abort();
}

void pullThroughMixer(Handle source, const ChannelInfo& info, std::vector<std::uint8_t>& block) {
    const Handle mixer = mixerStreamCreate(info.freq, info.chans, kDecodeMixerFlags);
    if (mixer == 0) return;
    if (mixerStreamAddChannel(mixer, source, 0)) {
        std::uint64_t total = 0;
        for (int pull = 0; pull < kMaxPulls && channelIsActive(mixer) != 0; ++pull) {
            const std::uint32_t got = channelGetData(mixer, block.data(), kPullBytes);
            if (got == kDataError) break;
            check(got <= kPullBytes);
            total += got;
            check(channelGetPosition(mixer, kPosByte) == total);
        }
    }
    check(streamFree(mixer));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool wma = (data[0] & 1) != 0;
    // The stream reads only these bytes, kept alive until it is released.
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    const std::size_t baseline = engineStreamCount();
    const auto create = wma ? wmaStreamCreateFile : streamCreateFile;
    const Handle source = create(true, bytes.data(), 0, bytes.size(), kStreamDecode);
    if (source == 0) {
        check(engineStreamCount() == baseline);
        return 0;
    }
    ChannelInfo info{};
    check(channelGetInfo(source, &info));
    channelBytes2Seconds(source, 1000);
    std::vector<std::uint8_t> block(kPullBytes);
    if ((data[0] & 2) != 0) {
        // Straight pulls from the decode stream.
        for (int pull = 0; pull < kMaxPulls && channelIsActive(source) != 0; ++pull) {
            const std::uint32_t got = channelGetData(source, block.data(), kPullBytes);
            if (got == kDataError) break;
            check(got <= kPullBytes);
        }
    } else {
        pullThroughMixer(source, info, block);
    }
    check(streamFree(source));
    check(engineStreamCount() == baseline);
    return 0;
}

#include "display/readSample.h"

namespace veltrona {
namespace {

bool inside(std::span<const std::uint8_t> pcm, std::int64_t offset) {
    return offset >= 0 && static_cast<std::uint64_t>(offset) < pcm.size();
}

}  // namespace

int readSample8(std::span<const std::uint8_t> pcm, std::int64_t offset) {
    if (offset < 0) offset = 0;
    return inside(pcm, offset) ? pcm[static_cast<std::size_t>(offset)] : 0;
}

int readSample16(std::span<const std::uint8_t> pcm, std::int64_t offset) {
    if (offset < 0) offset = 0;
    if (!inside(pcm, offset)) return 0;
    const int low = pcm[static_cast<std::size_t>(offset)];
    if (!inside(pcm, offset + 1)) return low;
    const int high = pcm[static_cast<std::size_t>(offset + 1)];
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

}  // namespace veltrona

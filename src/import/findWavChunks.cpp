#include "import/findWavChunks.h"

#include "import/WavHeader.h"
#include "import/littleEndian.h"

namespace veltrona {

WavChunks findWavChunks(std::span<const std::uint8_t> file) {
    WavChunks found;
    std::size_t offset = 12;
    // Each step moves forward by at least 8 bytes, so the walk ends.
    while (offset <= file.size() && file.size() - offset >= 8) {
        const std::uint32_t id = readU32le(file, offset);
        const std::uint32_t size = readU32le(file, offset + 4);
        const ChunkLocation here{offset, static_cast<std::int32_t>(size)};
        if (id == kDataId) {
            // The data size is often wrong or a placeholder, so nothing after
            // it is trusted.
            found.data = here;
            break;
        }
        if (id == kFmtId && !found.fmt) found.fmt = here;
        const std::uint64_t next = std::uint64_t{offset} + 8 + size + (size & 1u);
        if (next > file.size()) break;
        offset = static_cast<std::size_t>(next);
    }
    return found;
}

}  // namespace veltrona

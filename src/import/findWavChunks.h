#pragma once

// The RIFF chunk walk of a WAV file: from offset 12, chunk after chunk, each
// an 8-byte header (id, little-endian size) and a body padded to an even
// size, up to the end of the bytes. Any thread.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace veltrona {

struct ChunkLocation {
    std::size_t offset = 0;         // bytes from the file start to the chunk header
    std::int32_t declaredSize = 0;  // the size field, bytes, read as signed
    std::size_t bodyOffset() const { return offset + 8; }
};

struct WavChunks {
    std::optional<ChunkLocation> fmt;   // the first "fmt " chunk
    std::optional<ChunkLocation> data;  // the first "data" chunk; the walk ends there
};

WavChunks findWavChunks(std::span<const std::uint8_t> file);

}  // namespace veltrona

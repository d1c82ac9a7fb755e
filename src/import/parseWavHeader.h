#pragma once

// Reading the canonical 44-byte WAV header. The readers check nothing: a
// source that is not a WAV file yields whatever its first 44 bytes hold, and
// bytes missing from a shorter source read as zero. Any thread.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>

#include "import/WavHeader.h"

namespace veltrona {

// The header from bytes 0 to 43 of `bytes`; later bytes are not read.
WavHeader parseWavHeader(std::span<const std::uint8_t> bytes);

// The header from the first 44 bytes of `file`, whatever its position was.
// Afterwards the position is 44 (the end, for a shorter file) and the
// stream's error flags are clear.
WavHeader readWavHeader(std::istream& file);

// A "fmt " chunk whose 8-byte chunk header starts at `offset` in `bytes`.
FmtChunk readFmtChunk(std::span<const std::uint8_t> bytes, std::size_t offset);

}  // namespace veltrona

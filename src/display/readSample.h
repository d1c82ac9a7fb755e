#pragma once

// Sample reads by byte offset that never leave the sample bytes. Bytes beyond
// the end count as 0, so a 16-bit value whose high byte lies beyond the end is
// its low byte alone (0 to 255); an offset below 0 reads from offset 0. Pure;
// any thread.

#include <cstdint>
#include <span>

namespace veltrona {

// Unsigned 8-bit value at byte `offset`, 0 to 255.
int readSample8(std::span<const std::uint8_t> pcm, std::int64_t offset);

// Signed little-endian 16-bit value at byte `offset`, -32,768 to 32,767.
int readSample16(std::span<const std::uint8_t> pcm, std::int64_t offset);

}  // namespace veltrona

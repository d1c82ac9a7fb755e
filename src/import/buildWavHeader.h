#pragma once

// Building the 44-byte header that goes in front of decoded 16-bit PCM.
// Any thread.

#include <array>
#include <cstdint>

#include "import/WavHeader.h"

namespace veltrona {

using WavHeaderBytes = std::array<std::uint8_t, kWavHeaderBytes>;

// The header for 16-bit integer PCM: `channels` (its low 16 bits kept),
// `sampleRate` in Hz, and `size` as the RIFF size; the data size is
// size - 36. Block align and byte rate follow from those, keeping the low
// 16 and 32 bits of values too wide for their fields. Nothing is checked.
WavHeader makeWavHeader(std::int32_t channels, std::int32_t sampleRate, std::int32_t size);

// The 44-byte little-endian form of `header`, fields packed in order.
WavHeaderBytes packWavHeader(const WavHeader& header);

// packWavHeader(makeWavHeader(channels, sampleRate, size)).
WavHeaderBytes buildWavHeader(std::int32_t channels, std::int32_t sampleRate, std::int32_t size);

}  // namespace veltrona

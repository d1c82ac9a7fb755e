#pragma once

// The canonical 44-byte WAV header: RIFF, a 16-byte "fmt " chunk, then the
// "data" chunk header. All fields little-endian in the byte form.

#include <cstddef>
#include <cstdint>

namespace veltrona {

inline constexpr std::uint32_t kRiffId = 0x46464952;  // "RIFF"
inline constexpr std::uint32_t kWaveId = 0x45564157;  // "WAVE"
inline constexpr std::uint32_t kFmtId = 0x20746D66;   // "fmt "
inline constexpr std::uint32_t kDataId = 0x61746164;  // "data"
inline constexpr std::size_t kWavHeaderBytes = 44;

struct RiffChunk {
    std::uint32_t chunkId = 0;
    std::int32_t chunkSize = 0;
    std::uint32_t formType = 0;
};

struct FmtChunk {
    std::uint32_t chunkId = 0;
    std::int32_t chunkSize = 0;
    std::int16_t formatTag = 0;  // 1 = integer PCM
    std::int16_t channels = 0;
    std::int32_t sampleRate = 0;  // frames per second
    std::int32_t byteRate = 0;    // bytes per second
    std::int16_t blockAlign = 0;  // bytes per frame
    std::int16_t bitsPerSample = 0;
};

struct DataChunk {
    std::uint32_t chunkId = 0;
    std::int32_t chunkSize = 0;  // bytes
};

struct WavHeader {
    RiffChunk riff;
    FmtChunk fmt;
    DataChunk data;
};

}  // namespace veltrona

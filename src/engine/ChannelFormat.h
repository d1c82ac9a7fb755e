#pragma once

// The byte format of a channel: what its data and byte positions count in.

#include <cstddef>
#include <cstdint>

namespace veltrona::engine {

// Interleaved sample layouts a channel can carry. S24 is packed, three bytes
// little-endian per sample, as in a 24-bit WAV file.
enum class SampleFormat { U8, S16, S24, S32, F32 };

struct ChannelFormat {
    int rate = 0;      // frames per second
    int channels = 0;  // samples per frame
    SampleFormat sample = SampleFormat::S16;

    // Width of one sample, in bytes.
    int bytesPerSample() const;
    // Bytes per frame (the WAV block align).
    int blockAlign() const { return bytesPerSample() * channels; }
    std::uint64_t bytesPerSecond() const {
        return static_cast<std::uint64_t>(blockAlign()) * static_cast<std::uint64_t>(rate);
    }
    bool operator==(const ChannelFormat&) const = default;
};

// The 16-bit signed layout at the given rate and channel count.
inline ChannelFormat s16Format(int rate, int channels) {
    return ChannelFormat{rate, channels, SampleFormat::S16};
}

// Widens `samples` packed 24-bit samples to 32-bit ones (the low byte zero),
// the layout the resampler takes.
void expandS24(const std::uint8_t* in, std::size_t samples, std::int32_t* out);

}  // namespace veltrona::engine

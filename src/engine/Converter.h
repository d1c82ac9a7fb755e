#pragma once

// Converts a channel's bytes to interleaved signed 16-bit PCM at another rate
// and channel count with libswresample, or passes them through unchanged when
// the formats already agree. One thread at a time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/ChannelFormat.h"
#include "engine/ffmpegTypes.h"

namespace veltrona::engine {

// A resampler from the given input to signed 16-bit interleaved output. A mono
// input into stereo output goes to both sides at full level. Null when
// libswresample refuses the formats.
SwrContextPtr makeResampler(AVSampleFormat inFormat, const AVChannelLayout& inLayout, int inRate,
                            int outChannels, int outRate);

class Converter {
    struct Key {};

  public:
    // Null when the conversion cannot be set up.
    static std::unique_ptr<Converter> create(const ChannelFormat& from, int rate, int channels);
    Converter(Key, const ChannelFormat& from, const ChannelFormat& to);

    // True when the bytes pass unchanged.
    bool copies() const { return !resampler_; }
    const ChannelFormat& output() const { return to_; }

    // Appends the conversion of `bytes` bytes (whole frames of the input
    // format) to `out`.
    void push(const std::uint8_t* in, std::size_t bytes, std::vector<std::uint8_t>& out);
    // Appends what the resampler still holds back, at the end of the input.
    void flush(std::vector<std::uint8_t>& out);

  private:
    ChannelFormat from_;
    ChannelFormat to_;
    SwrContextPtr resampler_;
    std::vector<std::int32_t> widened_;  // 24-bit input widened to 32 bits
};

}  // namespace veltrona::engine

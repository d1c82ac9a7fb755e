#pragma once

// A decode-only mixer: pulls its source's channel bytes and hands them out as
// interleaved signed 16-bit PCM at its own rate and channel count. When the
// source already has that format its bytes are decoded straight into the
// caller's buffer. Window thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/ChannelFormat.h"
#include "engine/Converter.h"
#include "engine/Decoder.h"
#include "engine/engine.h"

namespace veltrona::engine {

class Mixer {
  public:
    Mixer(const ChannelFormat& output, std::uint32_t flags);

    const ChannelFormat& format() const { return output_; }
    std::uint32_t flags() const { return flags_; }

    // Feeds `source` (the stream `handle`) into the mixer. False when the
    // mixer already has a source or the formats cannot be converted.
    bool attach(Handle handle, std::shared_ptr<Decoder> source);
    // The source's stream was released: the mixer takes nothing more from it.
    void detach();
    Handle sourceHandle() const { return sourceHandle_; }

    // Writes up to `length` bytes at `out` and returns the count.
    std::size_t pull(std::uint8_t* out, std::size_t length);
    // False once the mixer has ended (its source exhausted, with kMixerEnd).
    bool active() const { return !ended_; }
    // Bytes handed out so far.
    std::uint64_t delivered() const { return delivered_; }

  private:
    std::size_t pullConverted(std::uint8_t* out, std::size_t length);
    void noteSourceDone();

    ChannelFormat output_;
    std::uint32_t flags_;
    Handle sourceHandle_ = 0;
    std::shared_ptr<Decoder> source_;
    std::unique_ptr<Converter> converter_;
    std::vector<std::uint8_t> input_;    // source bytes awaiting conversion
    std::vector<std::uint8_t> pending_;  // converted, not yet handed out
    std::size_t pendingPos_ = 0;
    bool sourceDone_ = false;
    bool ended_ = false;
    std::uint64_t delivered_ = 0;
};

}  // namespace veltrona::engine

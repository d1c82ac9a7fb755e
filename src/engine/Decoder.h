#pragma once

// Decodes one source (a path or a caller's memory) into the channel's bytes:
// a PCM or float WAV source gives its own sample bytes unchanged, any other
// source is decoded with libavcodec and given as interleaved signed 16-bit
// PCM at the source's own rate and channel count. One thread at a time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/ByteSource.h"
#include "engine/ChannelFormat.h"
#include "engine/Converter.h"
#include "engine/engine.h"
#include "engine/ffmpegTypes.h"

namespace veltrona::engine {

class Decoder {
    struct Key {};

  public:
    // Opens the source and decodes its first piece. Null, with `why` set,
    // when the bytes hold no audio FFmpeg recognises, or none decodes.
    static std::unique_ptr<Decoder> open(const SourceSpec& spec, EngineError& why);
    explicit Decoder(Key) {}

    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    const ChannelFormat& format() const { return format_; }

    // Writes up to `length` bytes of channel data at `out` and returns the
    // count; fewer than asked only once the source is exhausted.
    std::size_t read(std::uint8_t* out, std::size_t length);
    // True once the source is exhausted and every byte has been read.
    bool ended() const { return sourceDone_ && pending_.empty(); }
    // Bytes handed out by read so far.
    std::uint64_t delivered() const { return delivered_; }
    // The channel bytes the whole source should give, from the duration its
    // container declares; 0 when it declares none. Only an estimate.
    std::uint64_t expectedBytes() const;

  private:
    EngineError openInput(const SourceSpec& spec);
    // Moves the next piece of the source to `out` (up to `room` bytes) and the
    // rest of it to pending_. Returns the bytes written at `out`.
    std::size_t produce(std::uint8_t* out, std::size_t room);
    std::size_t produceRaw(std::uint8_t* out, std::size_t room);
    std::size_t produceDecoded(std::uint8_t* out, std::size_t room);
    std::size_t emitFrame(std::uint8_t* out, std::size_t room);
    std::size_t emitBytes(const std::uint8_t* bytes, std::size_t count, std::uint8_t* out,
                          std::size_t room);
    std::size_t flushResampler(std::uint8_t* out, std::size_t room);
    void noteFailure();
    std::size_t takePending(std::uint8_t* out, std::size_t room);

    // Declared first so that it outlives the format context that reads it.
    std::unique_ptr<ByteSource> bytes_;
    FormatContextPtr formatContext_;
    CodecContextPtr codec_;
    FramePtr frame_;
    PacketPtr packet_;
    SwrContextPtr resampler_;
    // The input the resampler was made for.
    AVSampleFormat resamplerFormat_ = AV_SAMPLE_FMT_NONE;
    int resamplerRate_ = 0;
    int resamplerChannels_ = 0;

    int streamIndex_ = -1;
    bool raw_ = false;  // PCM passed through from the packets
    ChannelFormat format_;
    std::vector<std::uint8_t> pending_;  // produced but not yet read
    std::size_t pendingPos_ = 0;
    bool inputEnded_ = false;  // demuxer exhausted, decoder being drained
    bool sourceDone_ = false;  // nothing more comes from the source
    bool sawFailure_ = false;
    int failuresInRow_ = 0;
    std::uint64_t delivered_ = 0;
};

}  // namespace veltrona::engine

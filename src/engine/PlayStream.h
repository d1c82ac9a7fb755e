#pragma once

// A stream that plays through the output device. Its own decode thread keeps
// a small ring of device-format frames (signed 16-bit stereo at the device's
// rate) filled ahead of the device; the device callback takes frames from the
// ring. The lock they share guards only the ring and a few counters.
//
// Heard position: the callback records, for each device buffer, how many of
// this stream's frames it handed over and when. The frames heard now are the
// frames handed over before the latest buffer, plus the part of the latest
// buffer that real time since that callback has played (never more than the
// buffer held). That is the frames consumed by the device less those still
// waiting in its buffer. Converted to the channel's bytes it is clamped to
// the bytes decoded so far; once the source is exhausted and its last frames
// have been played it rests at the channel's total length.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/ByteSource.h"
#include "engine/ChannelFormat.h"
#include "engine/Converter.h"
#include "engine/Decoder.h"
#include "engine/engine.h"

namespace veltrona::engine {

class PlayStream {
    struct Key {};

  public:
    using Clock = std::chrono::steady_clock;

    // Null, with `why` set, when the source cannot be converted for the device.
    static std::shared_ptr<PlayStream> create(const SourceSpec& spec,
                                              std::unique_ptr<Decoder> decoder, int deviceRate,
                                              EngineError& why);
    PlayStream(Key, const SourceSpec& spec, std::unique_ptr<Decoder> decoder,
               std::unique_ptr<Converter> converter, int deviceRate);
    ~PlayStream();

    PlayStream(const PlayStream&) = delete;
    PlayStream& operator=(const PlayStream&) = delete;

    // The channel's format (the source's), which positions count in.
    const ChannelFormat& format() const { return format_; }

    // Window thread, while the device callback does not see this stream.
    // Fills the ring and starts decoding ahead. From the start when `restart`
    // is true or the stream has played to its end; otherwise it resumes.
    bool start(bool restart, EngineError& why);
    // Window thread. Stops decoding ahead and holds the position where it is.
    void halt();

    // Window thread. The volume (0 to 1) of every frame handed to the device
    // from the next callback on.
    void setVolume(float volume);
    // Window thread. The heard position in the channel's bytes; see above.
    std::uint64_t heardBytes();
    // Window thread. True while playing and not yet played to its end.
    bool active();

    // Audio thread. Writes up to `frames` device frames at `out`, scaled by
    // the volume, and returns how many it wrote.
    std::size_t render(std::int16_t* out, std::size_t frames, Clock::time_point now);

  private:
    void decodeAhead();
    // Moves decoded frames into the ring until the source is exhausted, or the
    // ring is full (waiting for room if `wait`), or halt asks to stop.
    void fill(bool wait);
    // Decodes and converts the next piece of the source into staged_.
    void refill();
    bool reopen(EngineError& why);
    // With mutex_ held.
    std::uint64_t heardFramesLocked(Clock::time_point now) const;
    bool playedOutLocked(Clock::time_point now) const;

    const SourceSpec spec_;
    const ChannelFormat format_;
    const int deviceRate_;

    // Owned by the decode thread while it runs, else by the window thread.
    std::unique_ptr<Decoder> decoder_;
    std::unique_ptr<Converter> converter_;
    std::vector<std::uint8_t> input_;   // channel bytes of one piece
    std::vector<std::uint8_t> staged_;  // device frames not yet in the ring
    std::size_t stagedPos_ = 0;
    std::uint64_t decodedBytes_ = 0;  // channel bytes taken from the decoder
    bool more_ = true;                // the decoder has more to give
    bool pristine_ = true;            // nothing taken from the decoder yet

    // Shared with the device callback and the decode thread.
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::vector<std::int16_t> ring_;
    std::size_t ringRead_ = 0;   // frame index
    std::size_t ringCount_ = 0;  // frames held
    bool sourceDone_ = false;    // every frame of the source is in the ring
    bool finished_ = false;      // ... and the callback has taken them all
    bool playing_ = false;
    bool stopDecoding_ = false;
    std::uint64_t queuedBytes_ = 0;   // channel bytes decoded so far
    std::uint64_t totalBytes_ = 0;    // channel bytes of the whole source
    std::uint64_t framesBefore_ = 0;  // device frames handed over before the last callback
    std::uint64_t framesLast_ = 0;    // device frames handed over in the last callback
    Clock::time_point lastCallback_{};
    std::uint64_t heldFrames_ = 0;  // heard device frames while halted
    float volume_ = 1.0f;

    // Window thread only.
    std::uint64_t lastReported_ = 0;
    std::thread thread_;
};

}  // namespace veltrona::engine

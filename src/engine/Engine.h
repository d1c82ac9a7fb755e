#pragma once

// The engine's one piece of global state: the handle table, the output device
// and the last error. Window thread only (the device callback and the decode
// threads see only the PlayStreams and the Output's list).

#include <cstdint>
#include <map>
#include <memory>

#include "engine/ChannelFormat.h"
#include "engine/Decoder.h"
#include "engine/Mixer.h"
#include "engine/Output.h"
#include "engine/PlayStream.h"
#include "engine/engine.h"

namespace veltrona::engine {

enum class StreamKind { Decode, Mixer, Play };

// One live handle.
struct Stream {
    StreamKind kind = StreamKind::Decode;
    std::uint32_t flags = 0;
    std::shared_ptr<Decoder> decoder;  // Decode
    Handle feeds = 0;                  // Decode: the mixer it feeds, if any
    std::unique_ptr<Mixer> mixer;      // Mixer
    std::shared_ptr<PlayStream> play;  // Play

    const ChannelFormat& format() const;
};

class Engine {
  public:
    static Engine& instance();
    ~Engine();

    // The live stream named by `handle`, or null (noting BadHandle).
    Stream* find(Handle handle);
    // Takes `stream` into the table under a new handle; 0 when handles have
    // run out.
    Handle add(std::unique_ptr<Stream> stream);
    // Stops and releases one stream, unhooking it from its mixer or source.
    void release(Handle handle);
    // Stops and releases every stream.
    void releaseAll();
    std::size_t count() const { return streams_.size(); }

    // Notes the cause of a failure for engineLastError.
    void fail(EngineError error) { lastError_ = error; }
    EngineError lastError() const { return lastError_; }

    Output& output() { return output_; }
    bool initialised() const { return initialised_; }
    void setInitialised(bool initialised) { initialised_ = initialised; }

  private:
    Engine() = default;

    std::map<Handle, std::unique_ptr<Stream>> streams_;
    Handle lastHandle_ = 0;  // handles count up and are never reused
    EngineError lastError_ = EngineError::None;
    bool initialised_ = false;
    // Declared last: closed first, before the streams it plays go.
    Output output_;
};

}  // namespace veltrona::engine

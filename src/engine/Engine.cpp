#include "engine/Engine.h"

#include <limits>

namespace veltrona::engine {

const ChannelFormat& Stream::format() const {
    switch (kind) {
        case StreamKind::Decode:
            return decoder->format();
        case StreamKind::Mixer:
            return mixer->format();
        case StreamKind::Play:
            return play->format();
    }
    return decoder->format();
}

Engine& Engine::instance() {
    static Engine engine;
    return engine;
}

Engine::~Engine() {
    releaseAll();
    output_.close();
}

Stream* Engine::find(Handle handle) {
    const auto found = streams_.find(handle);
    if (found == streams_.end()) {
        fail(EngineError::BadHandle);
        return nullptr;
    }
    return found->second.get();
}

Handle Engine::add(std::unique_ptr<Stream> stream) {
    if (lastHandle_ == std::numeric_limits<Handle>::max()) {
        fail(EngineError::Memory);
        return 0;
    }
    const Handle handle = ++lastHandle_;
    streams_.emplace(handle, std::move(stream));
    return handle;
}

void Engine::release(Handle handle) {
    const auto found = streams_.find(handle);
    if (found == streams_.end()) return;
    Stream& stream = *found->second;
    if (stream.kind == StreamKind::Play) {
        output_.remove(stream.play.get());
        stream.play->halt();
    } else if (stream.kind == StreamKind::Decode && stream.feeds != 0) {
        const auto mixer = streams_.find(stream.feeds);
        if (mixer != streams_.end()) mixer->second->mixer->detach();
    } else if (stream.kind == StreamKind::Mixer && stream.mixer->sourceHandle() != 0) {
        const auto source = streams_.find(stream.mixer->sourceHandle());
        if (source != streams_.end()) source->second->feeds = 0;
    }
    streams_.erase(found);
}

void Engine::releaseAll() {
    for (auto& [handle, stream] : streams_) {
        if (stream->kind == StreamKind::Play) {
            output_.remove(stream->play.get());
            stream->play->halt();
        }
    }
    streams_.clear();
}

}  // namespace veltrona::engine

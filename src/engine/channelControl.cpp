#include <cmath>

#include "engine/Engine.h"
#include "engine/engine.h"

namespace veltrona::engine {
namespace {

// The playing stream named by `handle`, or null with the cause noted.
PlayStream* playable(Handle handle) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return nullptr;
    if (stream->kind != StreamKind::Play) {
        engine.fail(EngineError::BadArgument);
        return nullptr;
    }
    return stream->play.get();
}

}  // namespace

bool channelPlay(Handle handle, bool restart) {
    Engine& engine = Engine::instance();
    PlayStream* play = playable(handle);
    if (play == nullptr) return false;
    Output& output = engine.output();
    output.checkLost();
    if (!restart && play->active()) return true;

    output.remove(play);
    play->halt();
    EngineError why = EngineError::None;
    if (!play->start(restart, why)) {
        engine.fail(why);
        return false;
    }
    output.add(engine.find(handle)->play);
    return true;
}

bool channelStop(Handle handle) {
    Engine& engine = Engine::instance();
    PlayStream* play = playable(handle);
    if (play == nullptr) return false;
    engine.output().remove(play);
    play->halt();
    return true;
}

bool streamFree(Handle handle) {
    Engine& engine = Engine::instance();
    if (engine.find(handle) == nullptr) return false;
    engine.release(handle);
    return true;
}

bool channelSetAttribute(Handle handle, std::uint32_t attrib, float value) {
    Engine& engine = Engine::instance();
    PlayStream* play = playable(handle);
    if (play == nullptr) return false;
    if (attrib != kAttribVolume || std::isnan(value)) {
        engine.fail(EngineError::BadArgument);
        return false;
    }
    play->setVolume(std::fmin(std::fmax(value, 0.0f), 1.0f));
    return true;
}

}  // namespace veltrona::engine

#include "engine/Engine.h"
#include "engine/Mixer.h"
#include "engine/engine.h"

namespace veltrona::engine {

Handle mixerStreamCreate(std::uint32_t freq, std::uint32_t chans, std::uint32_t flags) {
    Engine& engine = Engine::instance();
    // As signed 32-bit values, which is how callers hold them.
    const auto rate = static_cast<std::int32_t>(freq);
    const auto channels = static_cast<std::int32_t>(chans);
    if (rate <= 0 || channels <= 0 || rate > 384000 || channels > 32) {
        engine.fail(EngineError::BadArgument);
        return 0;
    }
    if ((flags & kStreamDecode) == 0) {
        // Only decoding mixers are offered.
        engine.fail(EngineError::BadArgument);
        return 0;
    }
    auto stream = std::make_unique<Stream>();
    stream->kind = StreamKind::Mixer;
    stream->flags = flags;
    stream->mixer = std::make_unique<Mixer>(s16Format(rate, channels), flags);
    return engine.add(std::move(stream));
}

bool mixerStreamAddChannel(Handle mixer, Handle channel, std::uint32_t) {
    Engine& engine = Engine::instance();
    Stream* target = engine.find(mixer);
    Stream* source = engine.find(channel);
    if (target == nullptr || source == nullptr) return false;
    if (target->kind != StreamKind::Mixer || source->kind != StreamKind::Decode ||
        source->feeds != 0) {
        engine.fail(EngineError::BadArgument);
        return false;
    }
    if (!target->mixer->attach(channel, source->decoder)) {
        engine.fail(EngineError::BadArgument);
        return false;
    }
    source->feeds = mixer;
    return true;
}

}  // namespace veltrona::engine

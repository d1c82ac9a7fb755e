#include <cstring>
#include <limits>

#include "engine/ByteSource.h"
#include "engine/Decoder.h"
#include "engine/Engine.h"
#include "engine/PlayStream.h"
#include "engine/engine.h"

namespace veltrona::engine {
namespace {

Handle createStream(bool fromMemory, const void* file, std::uint64_t offset, std::uint64_t length,
                    std::uint32_t flags) {
    Engine& engine = Engine::instance();
    const bool decodeOnly = (flags & kStreamDecode) != 0;
    if (!decodeOnly && !engine.initialised()) {
        engine.fail(EngineError::NotInitialised);
        return 0;
    }
    if (file == nullptr && (!fromMemory || length != 0)) {
        engine.fail(EngineError::BadArgument);
        return 0;
    }
    if (fromMemory &&
        length > static_cast<std::uint64_t>(std::numeric_limits<std::intptr_t>::max())) {
        engine.fail(EngineError::BadArgument);
        return 0;
    }

    SourceSpec spec;
    spec.fromMemory = fromMemory;
    spec.offset = offset;
    spec.length = length;
    if (fromMemory) {
        spec.memory = static_cast<const std::uint8_t*>(file);
    } else {
        spec.path = static_cast<const char*>(file);
    }

    EngineError why = EngineError::None;
    std::unique_ptr<Decoder> decoder = Decoder::open(spec, why);
    if (!decoder) {
        engine.fail(why);
        return 0;
    }

    auto stream = std::make_unique<Stream>();
    stream->flags = flags;
    if (decodeOnly) {
        stream->kind = StreamKind::Decode;
        stream->decoder = std::move(decoder);
    } else {
        stream->kind = StreamKind::Play;
        stream->play = PlayStream::create(spec, std::move(decoder), engine.output().rate(), why);
        if (!stream->play) {
            engine.fail(why);
            return 0;
        }
    }
    return engine.add(std::move(stream));
}

}  // namespace

Handle streamCreateFile(bool fromMemory, const void* file, std::uint64_t offset,
                        std::uint64_t length, std::uint32_t flags) {
    return createStream(fromMemory, file, offset, length, flags);
}

Handle wmaStreamCreateFile(bool fromMemory, const void* file, std::uint64_t offset,
                           std::uint64_t length, std::uint32_t flags) {
    return createStream(fromMemory, file, offset, length, flags);
}

}  // namespace veltrona::engine

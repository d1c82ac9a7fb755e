#include <cstring>

#include "engine/Engine.h"
#include "engine/engine.h"

namespace veltrona::engine {

bool channelGetInfo(Handle handle, ChannelInfo* info) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return false;
    if (info == nullptr) {
        engine.fail(EngineError::BadArgument);
        return false;
    }
    const ChannelFormat& format = stream->format();
    *info = ChannelInfo{};
    info->freq = static_cast<std::uint32_t>(format.rate);
    info->chans = static_cast<std::uint32_t>(format.channels);
    info->flags = stream->flags;
    info->bitsPerSample = static_cast<std::uint32_t>(format.bytesPerSample() * 8);
    info->isFloat = format.sample == SampleFormat::F32 ? 1 : 0;
    return true;
}

std::uint32_t channelGetData(Handle handle, void* buffer, std::uint32_t length) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return kDataError;
    if (buffer == nullptr || stream->kind == StreamKind::Play) {
        engine.fail(EngineError::BadArgument);
        return kDataError;
    }
    // Whole frames only, so that every pull starts on a frame.
    const auto block = static_cast<std::uint32_t>(stream->format().blockAlign());
    const std::size_t wanted = length - length % block;
    auto* out = static_cast<std::uint8_t*>(buffer);
    const std::size_t written = stream->kind == StreamKind::Mixer
                                    ? stream->mixer->pull(out, wanted)
                                    : stream->decoder->read(out, wanted);
    return static_cast<std::uint32_t>(written);
}

std::uint64_t channelGetPosition(Handle handle, std::uint32_t mode) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return kPositionError;
    if (mode != kPosByte) {
        engine.fail(EngineError::BadArgument);
        return kPositionError;
    }
    switch (stream->kind) {
        case StreamKind::Decode:
            return stream->decoder->delivered();
        case StreamKind::Mixer:
            return stream->mixer->delivered();
        case StreamKind::Play:
            engine.output().checkLost();
            return stream->play->heardBytes();
    }
    return kPositionError;
}

std::uint64_t channelGetLength(Handle handle, std::uint32_t mode) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return kPositionError;
    if (mode != kPosByte || stream->kind != StreamKind::Decode) {
        engine.fail(EngineError::BadArgument);
        return kPositionError;
    }
    return stream->decoder->expectedBytes();
}

std::uint32_t channelIsActive(Handle handle) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return 0;
    switch (stream->kind) {
        case StreamKind::Decode:
            return stream->decoder->ended() ? 0 : 1;
        case StreamKind::Mixer:
            return stream->mixer->active() ? 1 : 0;
        case StreamKind::Play:
            engine.output().checkLost();
            return stream->play->active() ? 1 : 0;
    }
    return 0;
}

double channelBytes2Seconds(Handle handle, std::uint64_t position) {
    Engine& engine = Engine::instance();
    Stream* stream = engine.find(handle);
    if (stream == nullptr) return -1.0;
    // Taken as signed: a caller's -1 widened to 64 bits stays -1.
    return static_cast<double>(static_cast<std::int64_t>(position)) /
           static_cast<double>(stream->format().bytesPerSecond());
}

}  // namespace veltrona::engine

#include "playback/play.h"

#include <cstdint>
#include <span>

#include "engine/engine.h"
#include "import/AudioKind.h"
#include "import/engineErrorCause.h"
#include "playback/moveControlLeft.h"
#include "playback/playheadPlacement.h"
#include "playback/readFileInto.h"
#include "playback/restPlayback.h"

namespace veltrona {
namespace {

// Makes, starts and sets the volume of the playing stream over `bytes`,
// which the play buffer owns. The handle is stored whatever it is.
Result<void> startPlayStream(AppState& state, std::span<const std::uint8_t> bytes) {
    engine::channelStop(state.streamHandle);
    engine::streamFree(state.streamHandle);

    const bool wma = audioKindOf(state.filePath) == AudioKind::Wma;
    const auto create = wma ? engine::wmaStreamCreateFile : engine::streamCreateFile;
    state.streamHandle = create(true, bytes.data(), 0, bytes.size(), 0);
    if (state.streamHandle == 0) {
        return Error{"无法播放：" + engineErrorCause(engine::engineLastError()) + "。"};
    }

    // The level is also set before the start, so a low volume never lets the
    // first device buffer out at full level.
    engine::channelSetAttribute(state.streamHandle, engine::kAttribVolume, state.volume);
    if (!engine::channelPlay(state.streamHandle, true)) {
        const std::string cause = engineErrorCause(engine::engineLastError());
        engine::streamFree(state.streamHandle);
        return Error{"无法播放：" + cause + "。"};
    }
    engine::channelSetAttribute(state.streamHandle, engine::kAttribVolume, state.volume);
    return {};
}

// Reads the stored file into the play buffer and starts the stream from it.
// The stream that played from the old buffer is already released, so its
// memory may be reused.
Result<void> readPlayBuffer(AppState& state) {
    Result<void> read = readFileInto(state.filePath, state.playBuffer);
    if (!read) return read;
    if (state.playBuffer.empty()) return Error{"文件是空的，没有可以播放的声音。"};
    return startPlayStream(state, state.playBuffer);
}

}  // namespace

Result<void> play(AppState& state, PlaybackControls& controls) {
    engine::channelStop(state.streamHandle);
    engine::streamFree(state.streamHandle);
    moveControlLeft(controls.playheadLine, kPlayheadLineRestLeft);
    moveControlLeft(controls.marker, kMarkerRestLeft);
    controls.timer2.setPeriod(400);
    controls.timer1.setPeriod(1);

    Result<void> started = readPlayBuffer(state);
    if (!started) restPlayback(state, controls);
    return started;
}

bool silentOutputNoticeDue(bool toldBefore) {
    return !toldBefore && engine::engineUsesSilentOutput();
}

}  // namespace veltrona

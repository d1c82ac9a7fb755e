#include "playback/stop.h"

#include "engine/engine.h"
#include "playback/restPlayback.h"

namespace veltrona {

void stop(AppState& state, PlaybackControls& controls) {
    engine::channelStop(state.streamHandle);
    engine::streamFree(state.streamHandle);
    restPlayback(state, controls);
}

}  // namespace veltrona

#include "playback/changeVolume.h"

#include "engine/engine.h"
#include "playback/volumeForPosition.h"

namespace veltrona {

void changeVolume(AppState& state, int position) {
    state.volume = volumeForPosition(position);
    engine::channelSetAttribute(state.streamHandle, engine::kAttribVolume, state.volume);
}

}  // namespace veltrona

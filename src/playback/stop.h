#pragma once

#include "app/AppState.h"
#include "playback/PlaybackControls.h"

namespace veltrona {

// Stop (Button3): stops and releases the stored stream and puts the
// playhead, marker and clock at rest with both timers stopped. The stored
// handle keeps its released value and the play buffer stays. Running it
// again leaves the same state. Window thread only.
void stop(AppState& state, PlaybackControls& controls);

}  // namespace veltrona

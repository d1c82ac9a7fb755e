#pragma once

#include "app/AppState.h"
#include "playback/PlaybackControls.h"

namespace veltrona {

// Timer1 tick (every 1 ms while playing): one engine position query, then
// the playhead x is stored and the line and marker move only if it changed.
// When x is exactly 899 the line and marker go back to rest, the clock reads
// "00:00:00" and both timers stop; the stream plays on. Window thread only.
void onPlayheadTick(AppState& state, PlaybackControls& controls);

}  // namespace veltrona

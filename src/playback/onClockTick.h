#pragma once

#include "app/AppState.h"
#include "playback/PlaybackControls.h"

namespace veltrona {

// Timer2 tick (every 400 ms): asks the stored stream's position, converts it
// to seconds with the engine, and shows the whole seconds (toward zero) as
// clock text in Label3. Window thread only.
void onClockTick(AppState& state, PlaybackControls& controls);

}  // namespace veltrona

#pragma once

#include "app/AppState.h"
#include "playback/PlaybackControls.h"

namespace veltrona {

// The clock text at rest.
inline constexpr const char* kRestClockText = "00:00:00";

// Puts tracking at rest without touching the stream: both timers stopped,
// playhead x 0, the line at 24, the clock at "00:00:00", the marker at 19.
// Window thread only.
void restPlayback(AppState& state, PlaybackControls& controls);

}  // namespace veltrona

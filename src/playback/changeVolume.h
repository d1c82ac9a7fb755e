#pragma once

#include "app/AppState.h"

namespace veltrona {

// Volume bar moved to `position` (1 top to 100 bottom): stores the new level
// and applies it to the stored stream at once, playing or not; the next Play
// applies the stored level too. Window thread only.
void changeVolume(AppState& state, int position);

}  // namespace veltrona

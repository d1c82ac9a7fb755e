#pragma once

// Stores the two pixel scales of the loaded sound in `state` (from its
// duration and the width of panel2, DrawPanel2) and draws the ticks and
// labels on panel3 (DrawPanel3). Window thread.

#include "app/AppState.h"
#include "display/DrawPanel.h"

namespace veltrona {

void drawTimeRuler(AppState& state, const DrawPanel& panel2, DrawPanel& panel3);

}  // namespace veltrona

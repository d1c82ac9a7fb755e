#pragma once

// Draws the grid and traces of one loaded file into panel1 (DrawPanel1) and
// clears panel2 (DrawPanel2). `pump` runs after every column; when it returns
// false the drawing stops and false is returned. Window thread.

#include "display/DrawPanel.h"
#include "import/EventPump.h"
#include "import/LoadedAudio.h"

namespace veltrona {

bool drawWaveform(const LoadedAudio& audio, DrawPanel& panel1, DrawPanel& panel2,
                  const EventPump& pump);

}  // namespace veltrona

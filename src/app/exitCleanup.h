#pragma once

#include "app/AppState.h"

namespace veltrona {

// Releases the stored path and the play buffer at the program's end.
void exitCleanup(AppState& state);

}  // namespace veltrona

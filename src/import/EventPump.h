#pragma once

#include <functional>

namespace veltrona {

// Lets the window handle its pending events during long work (a decode block,
// a waveform column). Returns false when the work must stop at once, for
// example because the window is closing.
using EventPump = std::function<bool()>;

}  // namespace veltrona

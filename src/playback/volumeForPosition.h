#pragma once

#include <cstdint>

namespace veltrona {

// The engine volume for a position of the volume bar (1 at the top, the
// loudest, to 100 at the bottom): (101 - p) / 100 in double precision, kept
// in single precision. Positions outside 1 to 100 count as the nearer end.
float volumeForPosition(int position);

}  // namespace veltrona

#include "playback/volumeForPosition.h"

#include <algorithm>

namespace veltrona {

float volumeForPosition(int position) {
    const int p = std::clamp(position, 1, 100);
    return static_cast<float>((101 - p) / 100.0);
}

}  // namespace veltrona

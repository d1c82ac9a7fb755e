#include "playback/playheadPlacement.h"

#include <algorithm>
#include <cmath>

#include "import/integerPart.h"

namespace veltrona {
namespace {

// Far enough beyond the 982-pixel window that the control is out of sight.
constexpr std::int32_t kFarOffset = 100000;

}  // namespace

std::int32_t bytePosition(std::uint64_t enginePosition) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(enginePosition));
}

std::int32_t playheadMs(std::int32_t positionBytes, std::int32_t byteRate) {
    if (byteRate <= 0) return 0;
    return integerPart(positionBytes / (byteRate / 1000.0));
}

std::int32_t playheadX(std::int32_t ms, double pixelsPerMs) {
    if (!std::isfinite(pixelsPerMs)) return 0;
    return integerPart(ms * pixelsPerMs);
}

int playheadLeft(std::int32_t x, int restLeft) {
    return std::clamp(x, -kFarOffset, kFarOffset) + restLeft;
}

}  // namespace veltrona

#include "display/frameStep.h"

#include "import/integerPart.h"

namespace veltrona {

std::int32_t frameCountOf(std::int32_t dataLength, std::int32_t blockAlign) {
    if (blockAlign <= 0) return 0;
    return truncToInt32(static_cast<double>(dataLength) / static_cast<double>(blockAlign));
}

float frameStep(std::int32_t frameCount, std::int32_t columnCount) {
    if (columnCount <= 0) return 0.0f;
    return static_cast<float>(static_cast<double>(frameCount) / static_cast<double>(columnCount));
}

std::int32_t framePosition(std::int32_t column, float step) {
    return integerPart(static_cast<double>(column) * static_cast<double>(step));
}

}  // namespace veltrona

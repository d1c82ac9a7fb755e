#include "display/clockText.h"

#include <cstdio>

namespace veltrona {

std::string clockText(std::int32_t seconds) {
    if (seconds <= 0) return "00:00:00";
    const std::int32_t hours = seconds / 3600;
    const std::int32_t minutes = (seconds % 3600) / 60;
    const std::int32_t secs = seconds % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(hours),
                  static_cast<int>(minutes), static_cast<int>(secs));
    return text;
}

}  // namespace veltrona

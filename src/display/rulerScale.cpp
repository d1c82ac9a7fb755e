#include "display/rulerScale.h"

#include <cmath>

#include "import/integerPart.h"

namespace veltrona {
namespace {

double finiteOrZero(double v) {
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace

RulerScales rulerScales(float duration, int width) {
    const double ms = static_cast<double>(duration) * 1000.0;
    RulerScales scales;
    scales.pixelsPerMs = finiteOrZero(width / ms);
    scales.pixelsPerWholeMs = finiteOrZero(width / static_cast<double>(integerPart(ms)));
    return scales;
}

std::int32_t tickX(std::int64_t second, double pixelsPerWholeMs) {
    return truncToInt32(static_cast<double>(second) * (pixelsPerWholeMs * 1000.0));
}

int labelSpacing(std::int32_t wholeSeconds) {
    if (wholeSeconds < 15) return 1;
    if (wholeSeconds < 60) return 2;
    if (wholeSeconds < 120) return 5;
    if (wholeSeconds < 400) return 20;
    return 0;
}

bool isLabelSecond(std::int64_t second, int spacing) {
    if (spacing <= 0) return false;
    return std::fabs(std::fmod(static_cast<double>(second), static_cast<double>(spacing))) <=
           0.0000001;
}

}  // namespace veltrona

#pragma once

// Arithmetic of the time ruler: its two pixel scales, where each second's
// tick lies and which seconds get a label. Pure; any thread.

#include <cstdint>

namespace veltrona {

struct RulerScales {
    // Pixels per millisecond: width / (duration x 1000); 0 when not finite.
    double pixelsPerMs = 0.0;
    // Pixels per whole millisecond: width / integerPart(duration x 1000); 0
    // when not finite.
    double pixelsPerWholeMs = 0.0;
};

// `duration` in seconds, `width` in pixels.
RulerScales rulerScales(float duration, int width);

// Pixel x of the tick for second t: trunc(t x (pixelsPerWholeMs x 1000)).
std::int32_t tickX(std::int64_t second, double pixelsPerWholeMs);

// Label spacing in seconds for n whole seconds: 1 below 15, 2 from 15 to 59,
// 5 from 60 to 119, 20 from 120 to 399; 0 (no labels) from 400 on.
int labelSpacing(std::int32_t wholeSeconds);

// Whether second t is a multiple of `spacing` (remainder within 0.0000001);
// never for spacing 0.
bool isLabelSecond(std::int64_t second, int spacing);

}  // namespace veltrona

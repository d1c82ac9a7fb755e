#pragma once

// Frame arithmetic of the waveform renderer: how many frames the file holds
// and which frame each of the renderer's columns looks at. Pure; any thread.

#include <cstdint>

namespace veltrona {

// trunc(dataLength / blockAlign) frames; 0 when blockAlign (bytes per frame)
// is 0 or less, which has no meaningful frame count.
std::int32_t frameCountOf(std::int32_t dataLength, std::int32_t blockAlign);

// Frames per column, divided in double precision and kept in single
// precision; 0 when there are no columns.
float frameStep(std::int32_t frameCount, std::int32_t columnCount);

// The frame column j (1-based) looks at: integerPart(j x step), in double.
std::int32_t framePosition(std::int32_t column, float step);

}  // namespace veltrona

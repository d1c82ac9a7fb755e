#pragma once

// The arithmetic that places the playhead from the playing stream's byte
// position. Pure functions, any thread.

#include <cstdint>

namespace veltrona {

// Window x of the playhead line and of the marker when the playhead is at 0.
inline constexpr int kPlayheadLineRestLeft = 24;
inline constexpr int kMarkerRestLeft = 19;
// The playhead offset (pixels) at which tracking stops.
inline constexpr std::int32_t kPlayheadEndColumn = 899;

// The engine's 64-bit byte position as the tracking uses it: its low 32
// bits, signed. The engine's failure value gives -1.
std::int32_t bytePosition(std::uint64_t enginePosition);

// Whole milliseconds played: integerPart(position / (byteRate / 1000)).
// A byte rate of zero or less has no meaningful answer and gives 0.
std::int32_t playheadMs(std::int32_t positionBytes, std::int32_t byteRate);

// Playhead offset in pixels: integerPart(ms * pixelsPerMs). A scale that is
// not finite gives 0; the result is clamped to the int32 range.
std::int32_t playheadX(std::int32_t ms, double pixelsPerMs);

// Window x of a control that stands at `restLeft` when the playhead is at 0.
// Offsets far outside the window are bounded so the sum cannot overflow.
int playheadLeft(std::int32_t x, int restLeft);

}  // namespace veltrona

#pragma once

// The program-wide state, shared by reference with the layers below the
// window. Everything starts zero or empty. Window thread only.

#include <cstdint>
#include <string>
#include <vector>

namespace veltrona {

struct AppState {
    // The playing stream made by the last Play. Never cleared: after Stop or
    // a load it still holds the released handle.
    std::uint32_t streamHandle = 0;
    // Offset of the playhead from the waveform's left edge, in pixels.
    std::int32_t playheadX = 0;
    // Full path (UTF-8) of the file chosen by the last load.
    std::string filePath;
    // Length of the loaded sound, in seconds.
    float duration = 0.0f;
    // Bytes per second of the loaded sound.
    std::int32_t byteRate = 0;
    // Horizontal scale of the loaded sound: pixels per millisecond.
    double pixelsPerMs = 0.0;
    // The ruler's scale: pixels per whole millisecond.
    double pixelsPerWholeMs = 0.0;
    // The ruler's working value: the second of the last tick drawn.
    std::int32_t labelSecond = 0;
    // Engine volume for every stream, 0.01 to 1.0.
    float volume = 0.0f;
    // The whole file as read by the last Play; the playing stream reads from
    // it, so it is replaced only after that stream is released.
    std::vector<std::uint8_t> playBuffer;
};

}  // namespace veltrona

#pragma once

// The four waveform layouts (mono or stereo, 8 or 16 bits), each with its own
// grid, byte offsets and strokes. Pure; any thread.

#include <cstdint>
#include <optional>
#include <vector>

namespace veltrona {

enum class WaveformLayout { Mono8, Mono16, Stereo8, Stereo16 };

// The layout for an exact channel count and sample width; none otherwise.
std::optional<WaveformLayout> waveformLayoutOf(std::int16_t channels, std::int16_t bitsPerSample);

// One grid line, in pixels: from (x1, y1) to (x2, y2) with pen width `width`.
struct GridLine {
    int x1, y1, x2, y2;
    int width;
    bool operator==(const GridLine&) const = default;
};

// The grid lines of a layout in drawing order, for a panel of width x height
// pixels. The grid colour is kGridColour.
std::vector<GridLine> gridLinesOf(WaveformLayout layout, int width, int height);

inline constexpr std::uint32_t kGridColour = 0xff696969;  // (105, 105, 105)

// One stroke of a column: colour (0xffRRGGBB) and vertical ends in fine units.
struct Stroke {
    std::uint32_t colour;
    std::int32_t y1, y2;
    bool operator==(const Stroke&) const = default;
};

// The values a column reads: a and b for mono (frames k and k + 1), a, b, c,
// d for stereo (left and right of frame k, then of frame k + 1).
struct ColumnValues {
    int a = 0, b = 0, c = 0, d = 0;
};

// Bytes per frame as the layout reads them (1, 2, 2 or 4).
int frameBytesOf(WaveformLayout layout);

// Reads the column's values for frame k from the sample bytes.
ColumnValues columnValuesAt(WaveformLayout layout, const std::uint8_t* pcm, std::size_t size,
                            std::int32_t frame);

// The strokes of one column in drawing order (2 for mono, 4 for stereo);
// returns how many were written to `out`.
int strokesOf(WaveformLayout layout, const ColumnValues& v, Stroke out[4]);

}  // namespace veltrona

#include "display/WaveformLayout.h"

#include <cmath>
#include <span>

#include "display/readSample.h"
#include "import/integerPart.h"

namespace veltrona {
namespace {

constexpr std::uint32_t kGreen = 0xff00ff00;      // (0, 255, 0)
constexpr std::uint32_t kDarkGreen = 0xff00ec00;  // (0, 236, 0)
constexpr std::uint32_t kRed = 0xffff0000;        // (255, 0, 0)
constexpr std::uint32_t kDarkRed = 0xffe80000;    // (232, 0, 0)

constexpr double kMonoCentre = 3008.0;
constexpr double kUpperCentre = 1500.0;
constexpr double kLowerCentre = 4512.0;
constexpr double kZero8 = 128.0;

struct GridSpec {
    int count;
    double xStep;
    double yStep;
    bool stereo;
};

GridSpec gridSpecOf(WaveformLayout layout) {
    switch (layout) {
        case WaveformLayout::Mono8:
        case WaveformLayout::Mono16:
            return {28, 32.0, 21.5, false};
        case WaveformLayout::Stereo8:
            return {16, 56.0, 32.0, true};
        case WaveformLayout::Stereo16:
            break;
    }
    return {28, 32.0, 32.0, true};
}

// An 8-bit stroke: centre mirrored by the first value, centre plus the second.
Stroke stroke8(std::uint32_t colour, double centre, int first, int second, double scale) {
    return {colour, integerPart(centre - (first - kZero8) * scale),
            integerPart(centre + (second - kZero8) * scale)};
}

Stroke stroke16(std::uint32_t colour, double centre, int first, int second, double divisor) {
    return {colour, integerPart(centre - first / divisor), integerPart(centre + second / divisor)};
}

}  // namespace

std::optional<WaveformLayout> waveformLayoutOf(std::int16_t channels, std::int16_t bitsPerSample) {
    if (channels == 1 && bitsPerSample == 8) return WaveformLayout::Mono8;
    if (channels == 1 && bitsPerSample == 16) return WaveformLayout::Mono16;
    if (channels == 2 && bitsPerSample == 8) return WaveformLayout::Stereo8;
    if (channels == 2 && bitsPerSample == 16) return WaveformLayout::Stereo16;
    return std::nullopt;
}

std::vector<GridLine> gridLinesOf(WaveformLayout layout, int width, int height) {
    const GridSpec spec = gridSpecOf(layout);
    std::vector<GridLine> lines;
    for (int i = 1; i <= spec.count; ++i) {
        const int x = truncToInt32(spec.xStep * i);
        lines.push_back({x, 0, x, height, 0});
        if (spec.yStep * i - 256.0 <= 0.0000001) {
            const bool thick = spec.stereo && std::fabs(32.0 * i - 128.0) <= 0.0000001;
            const int y = truncToInt32(spec.yStep * i);
            lines.push_back({0, y, width, y, thick ? 4 : 0});
        }
    }
    return lines;
}

int frameBytesOf(WaveformLayout layout) {
    switch (layout) {
        case WaveformLayout::Mono8:
            return 1;
        case WaveformLayout::Mono16:
        case WaveformLayout::Stereo8:
            return 2;
        case WaveformLayout::Stereo16:
            break;
    }
    return 4;
}

ColumnValues columnValuesAt(WaveformLayout layout, const std::uint8_t* pcm, std::size_t size,
                            std::int32_t frame) {
    const std::span<const std::uint8_t> bytes(pcm, size);
    const std::int64_t o = static_cast<std::int64_t>(frame) * frameBytesOf(layout);
    ColumnValues v;
    switch (layout) {
        case WaveformLayout::Mono8:
            v.a = readSample8(bytes, o);
            v.b = readSample8(bytes, o + 1);
            break;
        case WaveformLayout::Mono16:
            v.a = readSample16(bytes, o);
            v.b = readSample16(bytes, o + 2);
            break;
        case WaveformLayout::Stereo8:
            v.a = readSample8(bytes, o);
            v.b = readSample8(bytes, o + 1);
            v.c = readSample8(bytes, o + 2);
            v.d = readSample8(bytes, o + 3);
            break;
        case WaveformLayout::Stereo16:
            v.a = readSample16(bytes, o);
            v.b = readSample16(bytes, o + 2);
            v.c = readSample16(bytes, o + 4);
            v.d = readSample16(bytes, o + 6);
            break;
    }
    return v;
}

int strokesOf(WaveformLayout layout, const ColumnValues& v, Stroke out[4]) {
    switch (layout) {
        case WaveformLayout::Mono8:
            out[0] = stroke8(kGreen, kMonoCentre, v.a, v.b, 26.0);
            out[1] = stroke8(kDarkGreen, kMonoCentre, v.a, v.b, 12.0);
            return 2;
        case WaveformLayout::Mono16:
            out[0] = stroke16(kGreen, kMonoCentre, v.a, v.b, 10.0);
            out[1] = stroke16(kDarkGreen, kMonoCentre, v.a, v.b, 24.0);
            return 2;
        case WaveformLayout::Stereo8:
            out[0] = stroke8(kGreen, kUpperCentre, v.a, v.b, 11.0);
            out[1] = stroke8(kDarkGreen, kUpperCentre, v.a, v.b, 6.0);
            out[2] = stroke8(kRed, kLowerCentre, v.c, v.d, 11.0);
            out[3] = stroke8(kDarkRed, kLowerCentre, v.c, v.d, 6.0);
            return 4;
        case WaveformLayout::Stereo16:
            break;
    }
    out[0] = stroke16(kGreen, kUpperCentre, v.a, v.b, 22.0);
    out[1] = stroke16(kDarkGreen, kUpperCentre, v.a, v.b, 45.0);
    out[2] = stroke16(kRed, kLowerCentre, v.c, v.d, 22.0);
    out[3] = stroke16(kDarkRed, kLowerCentre, v.c, v.d, 45.0);
    return 4;
}

}  // namespace veltrona

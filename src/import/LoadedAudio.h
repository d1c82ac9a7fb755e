#pragma once

// The result of one import. Owns the bytes it was read from (the whole WAV
// file, or the decoded WAV image); pcmData() is a view into them, so the
// sample bytes are never copied again. Move-only, so the view stays valid.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "import/WavHeader.h"

namespace veltrona {

struct LoadedAudio {
    WavHeader header;
    // Sample bytes the display uses; may differ from pcmData().size() both ways.
    std::int32_t dataLength = 0;
    // header.fmt.blockAlign widened with its sign, bytes per frame.
    std::int32_t blockAlign = 0;
    // dataLength / byteRate, seconds.
    float duration = 0.0f;

    // The owning bytes and where the sample bytes lie in them.
    std::vector<std::uint8_t> bytes;
    std::size_t pcmOffset = 0;
    std::size_t pcmLength = 0;

    std::span<const std::uint8_t> pcmData() const {
        return std::span<const std::uint8_t>(bytes).subspan(pcmOffset, pcmLength);
    }

    // For tests and tools: audio whose sample bytes are exactly `pcm`.
    static LoadedAudio fromPcm(const WavHeader& header, std::vector<std::uint8_t> pcm,
                               std::int32_t dataLength, std::int32_t blockAlign, float duration) {
        LoadedAudio audio;
        audio.header = header;
        audio.dataLength = dataLength;
        audio.blockAlign = blockAlign;
        audio.duration = duration;
        audio.pcmLength = pcm.size();
        audio.bytes = std::move(pcm);
        return audio;
    }

    LoadedAudio() = default;
    LoadedAudio(LoadedAudio&&) = default;
    LoadedAudio& operator=(LoadedAudio&&) = default;
    LoadedAudio(const LoadedAudio&) = delete;
    LoadedAudio& operator=(const LoadedAudio&) = delete;
};

}  // namespace veltrona

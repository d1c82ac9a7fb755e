#include "import/buildWavHeader.h"

#include <cmath>
#include <span>

#include "import/littleEndian.h"

namespace veltrona {
namespace {

// A whole-valued double well inside the int64 range, cut to its low 32 bits.
std::int32_t low32(double whole) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)));
}

}  // namespace

WavHeader makeWavHeader(std::int32_t channels, std::int32_t sampleRate, std::int32_t size) {
    WavHeader header;
    header.riff = {kRiffId, size, kWaveId};

    FmtChunk& fmt = header.fmt;
    fmt.chunkId = kFmtId;
    fmt.chunkSize = 16;
    fmt.formatTag = 1;
    fmt.channels = static_cast<std::int16_t>(channels);
    fmt.bitsPerSample = 16;
    // Products of 16- and 32-bit values stay exact in double precision.
    fmt.blockAlign = static_cast<std::int16_t>(low32(std::trunc(
        static_cast<double>(fmt.channels) * static_cast<double>(fmt.bitsPerSample) / 8.0)));
    fmt.sampleRate = sampleRate;
    fmt.byteRate = low32(
        std::trunc(static_cast<double>(fmt.sampleRate) * static_cast<double>(fmt.blockAlign)));

    header.data = {kDataId, low32(std::trunc(static_cast<double>(size) - 36.0))};
    return header;
}

WavHeaderBytes packWavHeader(const WavHeader& header) {
    WavHeaderBytes image{};
    const std::span<std::uint8_t> out(image);
    const auto u16 = [](std::int16_t v) { return static_cast<std::uint16_t>(v); };
    const auto u32 = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    writeU32le(out, 0, header.riff.chunkId);
    writeU32le(out, 4, u32(header.riff.chunkSize));
    writeU32le(out, 8, header.riff.formType);
    writeU32le(out, 12, header.fmt.chunkId);
    writeU32le(out, 16, u32(header.fmt.chunkSize));
    writeU16le(out, 20, u16(header.fmt.formatTag));
    writeU16le(out, 22, u16(header.fmt.channels));
    writeU32le(out, 24, u32(header.fmt.sampleRate));
    writeU32le(out, 28, u32(header.fmt.byteRate));
    writeU16le(out, 32, u16(header.fmt.blockAlign));
    writeU16le(out, 34, u16(header.fmt.bitsPerSample));
    writeU32le(out, 36, header.data.chunkId);
    writeU32le(out, 40, u32(header.data.chunkSize));
    return image;
}

WavHeaderBytes buildWavHeader(std::int32_t channels, std::int32_t sampleRate, std::int32_t size) {
    return packWavHeader(makeWavHeader(channels, sampleRate, size));
}

}  // namespace veltrona

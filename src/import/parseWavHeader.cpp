#include "import/parseWavHeader.h"

#include <array>

#include "import/littleEndian.h"

namespace veltrona {

FmtChunk readFmtChunk(std::span<const std::uint8_t> bytes, std::size_t offset) {
    FmtChunk fmt;
    fmt.chunkId = readU32le(bytes, offset);
    fmt.chunkSize = readI32le(bytes, offset + 4);
    fmt.formatTag = readI16le(bytes, offset + 8);
    fmt.channels = readI16le(bytes, offset + 10);
    fmt.sampleRate = readI32le(bytes, offset + 12);
    fmt.byteRate = readI32le(bytes, offset + 16);
    fmt.blockAlign = readI16le(bytes, offset + 20);
    fmt.bitsPerSample = readI16le(bytes, offset + 22);
    return fmt;
}

WavHeader parseWavHeader(std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> head = byteRange(bytes, 0, kWavHeaderBytes);
    WavHeader header;
    header.riff.chunkId = readU32le(head, 0);
    header.riff.chunkSize = readI32le(head, 4);
    header.riff.formType = readU32le(head, 8);
    header.fmt = readFmtChunk(head, 12);
    header.data.chunkId = readU32le(head, 36);
    header.data.chunkSize = readI32le(head, 40);
    return header;
}

WavHeader readWavHeader(std::istream& file) {
    std::array<std::uint8_t, kWavHeaderBytes> head{};
    file.clear();
    file.seekg(0, std::ios::beg);
    file.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto got = static_cast<std::size_t>(file.gcount());
    file.clear();
    return parseWavHeader(std::span<const std::uint8_t>(head).first(got));
}

}  // namespace veltrona

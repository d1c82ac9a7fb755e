// buildWavHeader and parseWavHeader round trips, and the chunk walk, over
// arbitrary bytes. Any disagreement aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <sstream>
#include <string>

#include "import/buildWavHeader.h"
#include "import/findWavChunks.h"
#include "import/littleEndian.h"
#include "import/parseWavHeader.h"

namespace {

using namespace veltrona;

void check(bool holds) {
    if (!holds) std::abort();
}

bool sameHeader(const WavHeader& a, const WavHeader& b) {
    return packWavHeader(a) == packWavHeader(b);
}

// The three arguments from the first 12 bytes: build, parse back, compare.
void buildThenParse(std::span<const std::uint8_t> bytes) {
    const std::int32_t channels = readI32le(bytes, 0);
    const std::int32_t rate = readI32le(bytes, 4);
    const std::int32_t size = readI32le(bytes, 8);
    const WavHeaderBytes built = buildWavHeader(channels, rate, size);
    const WavHeader parsed = parseWavHeader(built);
    check(sameHeader(parsed, makeWavHeader(channels, rate, size)));
    check(parsed.riff.chunkId == kRiffId && parsed.riff.formType == kWaveId);
    check(parsed.fmt.chunkId == kFmtId && parsed.data.chunkId == kDataId);
    check(parsed.riff.chunkSize == size);
    check(parsed.fmt.channels == static_cast<std::int16_t>(channels));
    check(parsed.fmt.sampleRate == rate);
    check(parsed.fmt.bitsPerSample == 16);
    check(parsed.data.chunkSize == static_cast<std::int32_t>(static_cast<std::int64_t>(size) - 36));
}

// Any bytes parse to a header that packs back to their first 44 bytes, with
// missing bytes as zero; the stream reader agrees and leaves the position at
// the end of what it read.
void parseThenPack(std::span<const std::uint8_t> bytes) {
    const WavHeader parsed = parseWavHeader(bytes);
    WavHeaderBytes expected{};
    std::memcpy(expected.data(), bytes.data(), std::min(bytes.size(), expected.size()));
    check(packWavHeader(parsed) == expected);

    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    stream.seekg(static_cast<std::streamoff>(bytes.size() / 2));
    check(sameHeader(readWavHeader(stream), parsed));
    check(!stream.fail());
    check(stream.tellg() == static_cast<std::streamoff>(std::min<std::size_t>(bytes.size(), 44)));
}

// Found chunks lie inside the bytes, the fmt chunk before the data chunk.
void walkChunks(std::span<const std::uint8_t> bytes) {
    const WavChunks chunks = findWavChunks(bytes);
    for (const auto& chunk : {chunks.fmt, chunks.data}) {
        if (!chunk) continue;
        check(chunk->offset >= 12 && chunk->offset + 8 <= bytes.size());
        check(readI32le(bytes, chunk->offset + 4) == chunk->declaredSize);
    }
    if (chunks.fmt && chunks.data) check(chunks.fmt->offset < chunks.data->offset);
    if (chunks.fmt) readFmtChunk(bytes, chunks.fmt->offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    buildThenParse(bytes);
    parseThenPack(bytes);
    walkChunks(bytes);
    return 0;
}

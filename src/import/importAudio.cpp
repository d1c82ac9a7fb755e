#include "import/importAudio.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "import/decodeToWavImage.h"
#include "import/findWavChunks.h"
#include "import/littleEndian.h"
#include "import/openAudioFile.h"
#include "import/parseWavHeader.h"

namespace veltrona {
namespace {

// Where the sample bytes lie in the owning bytes, and how many to display.
struct SampleLayout {
    std::int32_t dataLength = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// All bytes from offset 44 to the end, as the canonical layout reads them.
SampleLayout afterHeader(std::span<const std::uint8_t> bytes, std::int32_t dataLength) {
    const std::size_t offset = std::min(kWavHeaderBytes, bytes.size());
    return {dataLength, offset, bytes.size() - offset};
}

// The declared size read at `chunkOffset + 4`, and that many bytes of the
// body (none for a size of 0 or less), cut at the end of the file.
SampleLayout chunkBody(std::span<const std::uint8_t> bytes, std::size_t chunkOffset) {
    const std::int32_t declared = readI32le(bytes, chunkOffset + 4);
    const std::size_t offset = std::min(chunkOffset + 8, bytes.size());
    const std::size_t wanted = declared > 0 ? static_cast<std::size_t>(declared) : 0;
    return {declared, offset, byteRange(bytes, offset, wanted).size()};
}

// Finds the data chunk by walking the RIFF chunks. The canonical layout
// (data at 36) and the 18-byte fmt layout (data at 38) come out as they
// always did; a file whose walk finds no data chunk is read as the latter.
SampleLayout locateSamples(std::span<const std::uint8_t> bytes, WavHeader& header) {
    const WavChunks chunks = findWavChunks(bytes);
    if (chunks.fmt) header.fmt = readFmtChunk(bytes, chunks.fmt->offset);

    const bool canonical = chunks.data ? chunks.data->offset == 36 : header.data.chunkId == kDataId;
    if (canonical) return afterHeader(bytes, header.data.chunkSize);

    constexpr std::size_t kShiftedDataOffset = 38;
    const std::size_t dataOffset = chunks.data ? chunks.data->offset : kShiftedDataOffset;
    const SampleLayout layout = chunkBody(bytes, dataOffset);
    // Other layouts describe the chunk that was found; the 18-byte layout
    // keeps the canonical reading of the header.
    if (chunks.data && dataOffset != kShiftedDataOffset) {
        header.data = {kDataId, layout.dataLength};
    }
    return layout;
}

Result<void> checkFormat(const FmtChunk& fmt) {
    if (fmt.byteRate <= 0) return Error{"字节率无效"};
    if (fmt.blockAlign <= 0) return Error{"块对齐无效"};
    return {};
}

Result<LoadedAudio> finish(const WavHeader& header, std::vector<std::uint8_t> bytes,
                           const SampleLayout& layout, AppState& state) {
    if (Result<void> format = checkFormat(header.fmt); !format) return format.error();

    LoadedAudio audio;
    audio.header = header;
    audio.dataLength = layout.dataLength;
    audio.blockAlign = header.fmt.blockAlign;
    audio.duration =
        static_cast<float>(static_cast<double>(layout.dataLength) / header.fmt.byteRate);
    audio.bytes = std::move(bytes);
    audio.pcmOffset = layout.offset;
    audio.pcmLength = layout.length;

    state.duration = audio.duration;
    state.byteRate = header.fmt.byteRate;
    return audio;
}

Result<LoadedAudio> importWav(std::istream& file, AppState& state) {
    Result<std::vector<std::uint8_t>> read = readWholeStream(file);
    if (!read) return read.error();
    return importWavBytes(std::move(read).value(), state);
}

Result<LoadedAudio> importCompressed(const std::string& path, AudioKind kind, AppState& state,
                                     const EventPump& pump) {
    Result<std::vector<std::uint8_t>> decoded = decodeToWavImage(path, kind, pump);
    if (!decoded) return decoded.error();
    std::vector<std::uint8_t> image = std::move(decoded).value();

    const WavHeader header = parseWavHeader(image);
    const SampleLayout layout = afterHeader(image, header.data.chunkSize);
    return finish(header, std::move(image), layout, state);
}

}  // namespace

Result<LoadedAudio> importWavBytes(std::vector<std::uint8_t> bytes, AppState& state) {
    if (bytes.size() < kWavHeaderBytes) return Error{"文件太短，不足 44 字节"};

    WavHeader header = parseWavHeader(bytes);
    if (header.riff.chunkId != kRiffId || header.riff.formType != kWaveId) {
        return Error{"不是 WAV 文件（缺少 RIFF/WAVE 标记）"};
    }
    const SampleLayout layout = locateSamples(bytes, header);
    return finish(header, std::move(bytes), layout, state);
}

Result<LoadedAudio> importAudio(const std::string& path, Result<std::ifstream>& file,
                                AppState& state, const EventPump& pump) {
    if (!file) return file.error();
    const AudioKind kind = audioKindOf(path);
    if (kind == AudioKind::Wav) return importWav(file.value(), state);
    return importCompressed(path, kind, state, pump);
}

}  // namespace veltrona

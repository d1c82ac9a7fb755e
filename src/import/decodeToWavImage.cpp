#include "import/decodeToWavImage.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>

#include "engine/engine.h"
#include "import/WavHeader.h"
#include "import/buildWavHeader.h"
#include "import/engineErrorCause.h"
#include "import/populatePages.h"

namespace veltrona {
namespace {

// Releases an engine stream when the decode ends, however it ends.
class StreamGuard {
  public:
    explicit StreamGuard(engine::Handle handle) : handle_(handle) {}
    ~StreamGuard() {
        if (handle_ != 0) engine::streamFree(handle_);
    }
    StreamGuard(const StreamGuard&) = delete;
    StreamGuard& operator=(const StreamGuard&) = delete;
    engine::Handle get() const { return handle_; }

  private:
    engine::Handle handle_;
};

Error failure(engine::EngineError error) {
    if (error == engine::EngineError::NotInitialised) return Error{engineErrorCause(error)};
    return Error{"无法解码该文件（" + engineErrorCause(error) + "）"};
}

// Room for the image the source's declared duration foretells, so that the
// image grows in place and peaks at its own size. The declaration is trusted
// only as far as the file's size makes it plausible (compressed audio decodes
// to far fewer than 256 bytes per byte), so a few bytes never reserve much.
// Without a declaration the image grows in the vector's steps.
std::size_t imageReserve(const std::string& path, engine::Handle source,
                         const engine::ChannelInfo& info, std::size_t maxBlocks) {
    const std::uint64_t declared = engine::channelGetLength(source, engine::kPosByte);
    const std::uint64_t sourceFrameBytes = std::uint64_t{info.bitsPerSample / 8} * info.chans;
    if (declared == engine::kPositionError || declared == 0 || sourceFrameBytes == 0) return 0;
    std::uint64_t estimate = declared / sourceFrameBytes * 2 * info.chans;
    std::error_code error;
    const std::uintmax_t fileBytes = std::filesystem::file_size(path, error);
    if (error) return 0;
    estimate = std::min<std::uint64_t>(estimate, std::uint64_t{fileBytes} * 256);
    // One block more than the estimate: the codec's padding, and the pass
    // that finds the mixer ended.
    const std::uint64_t blocks =
        std::min<std::uint64_t>(estimate / kDecodeBlockBytes + 2, maxBlocks);
    return kWavHeaderBytes + static_cast<std::size_t>(blocks) * kDecodeBlockBytes;
}

Error engineFailure() {
    return failure(engine::engineLastError());
}
Error tooLong() {
    return Error{"解码后的数据超过 2 GB"};
}

}  // namespace

Result<std::vector<std::uint8_t>> decodeToWavImage(const std::string& path, AudioKind kind,
                                                   const EventPump& pump,
                                                   std::int64_t maxDecodedBytes) {
    const auto open =
        kind == AudioKind::Wma ? engine::wmaStreamCreateFile : engine::streamCreateFile;
    const StreamGuard source(open(false, path.c_str(), 0, 0, engine::kStreamDecode));
    if (source.get() == 0) return engineFailure();

    engine::ChannelInfo info{};
    if (!engine::channelGetInfo(source.get(), &info)) return engineFailure();
    if (info.freq == 0 || info.chans == 0) {
        return Error{"无法解码该文件（采样率或声道数为 0）"};
    }

    const StreamGuard mixer(
        engine::mixerStreamCreate(info.freq, info.chans, engine::kDecodeMixerFlags));
    if (mixer.get() == 0) return engineFailure();
    if (!engine::mixerStreamAddChannel(mixer.get(), source.get(), 0)) return engineFailure();

    const std::uint64_t limit =
        maxDecodedBytes < 0 ? 0 : static_cast<std::uint64_t>(maxDecodedBytes);
    // An image whose decoded bytes stay within the limit has at most this
    // many blocks.
    const std::size_t maxBlocks = static_cast<std::size_t>(limit / kDecodeBlockBytes) + 1;

    std::vector<std::uint8_t> image;
    std::int32_t position = 0;
    try {
        image.reserve(imageReserve(path, source.get(), info, maxBlocks));
        image.resize(kWavHeaderBytes);

        int emptyPasses = 0;
        for (std::size_t pass = 0;; ++pass) {
            if (pass == maxBlocks) return tooLong();
            const std::size_t blockStart = image.size();
            if (image.capacity() >= blockStart + kDecodeBlockBytes) {
                populatePages(image.data() + blockStart, kDecodeBlockBytes);
            }
            image.resize(blockStart + kDecodeBlockBytes);
            std::uint8_t* block = image.data() + blockStart;

            const std::uint32_t got = engine::channelGetData(mixer.get(), block, kDecodeBlockBytes);
            // Each pass sees the single reused block: what the fetch left
            // alone still holds the previous pass's bytes (zeros on the
            // first). The fetch writes only its first `got` bytes.
            if (pass > 0) {
                const std::size_t fetched =
                    got == engine::kDataError ? 0 : std::min<std::size_t>(got, kDecodeBlockBytes);
                std::memcpy(block + fetched, block + fetched - kDecodeBlockBytes,
                            kDecodeBlockBytes - fetched);
            }
            if (got == engine::kDataError) {
                const engine::EngineError error = engine::engineLastError();
                // A mixer that ran dry exactly at a block's end may only say
                // so on the next fetch; that pass still counts, as one that
                // fetched nothing.
                if (pass == 0 || engine::channelIsActive(mixer.get()) != 0) return failure(error);
            }

            if (pump && !pump()) return Error{"已取消", true};

            const std::uint64_t bytes = engine::channelGetPosition(mixer.get(), engine::kPosByte);
            if (bytes == engine::kPositionError) return engineFailure();
            if (bytes > limit) return tooLong();
            position = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes));

            if (engine::channelIsActive(mixer.get()) == 0) break;
            // A mixer that stays active but delivers nothing would never end.
            emptyPasses = got == 0 ? emptyPasses + 1 : 0;
            if (emptyPasses == 2) return Error{"无法解码该文件（解码没有进展）"};
        }
    } catch (const std::bad_alloc&) {
        return Error{"内存不足，无法容纳解码后的数据"};
    }
    if (position == 0) return Error{"无法解码该文件（没有解码出声音）"};

    const WavHeaderBytes header = buildWavHeader(static_cast<std::int32_t>(info.chans),
                                                 static_cast<std::int32_t>(info.freq), position);
    std::memcpy(image.data(), header.data(), header.size());
    return image;
}

}  // namespace veltrona

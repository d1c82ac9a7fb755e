#include "engine/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace veltrona::engine {
namespace {

constexpr int kIoBufferBytes = 64 * 1024;

}  // namespace

std::unique_ptr<ByteSource> ByteSource::open(const SourceSpec& spec, EngineError& why) {
    auto source = std::make_unique<ByteSource>(Key{});
    if (spec.fromMemory) {
        const std::uint64_t skip = std::min(spec.offset, spec.length);
        source->memory_ = spec.memory + skip;
        source->size_ = spec.length - skip;
    } else {
        source->file_.reset(std::fopen(spec.path.c_str(), "rb"));
        if (!source->file_ || fseeko(source->file_.get(), 0, SEEK_END) != 0) {
            why = EngineError::FileOpen;
            return nullptr;
        }
        const off_t end = ftello(source->file_.get());
        if (end < 0) {
            why = EngineError::FileOpen;
            return nullptr;
        }
        const auto fileSize = static_cast<std::uint64_t>(end);
        source->begin_ = std::min(spec.offset, fileSize);
        source->size_ = fileSize - source->begin_;
        if (spec.length != 0) source->size_ = std::min(source->size_, spec.length);
    }
    if (source->size_ == 0) {
        why = EngineError::NoAudio;
        return nullptr;
    }

    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferBytes));
    if (buffer == nullptr) {
        why = EngineError::Memory;
        return nullptr;
    }
    source->io_.reset(avio_alloc_context(buffer, kIoBufferBytes, 0, source.get(),
                                         &ByteSource::readPacket, nullptr, &ByteSource::seek));
    if (!source->io_) {
        av_free(buffer);
        why = EngineError::Memory;
        return nullptr;
    }
    return source;
}

int ByteSource::readPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto& self = *static_cast<ByteSource*>(opaque);
    const std::uint64_t left = self.size_ - self.pos_;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, size));
    if (count == 0) return AVERROR_EOF;
    if (self.memory_ != nullptr) {
        std::memcpy(buffer, self.memory_ + self.pos_, count);
        self.pos_ += count;
        return static_cast<int>(count);
    }
    if (!self.fileAtPos_) {
        if (fseeko(self.file_.get(), static_cast<off_t>(self.begin_ + self.pos_), SEEK_SET) != 0) {
            return AVERROR(EIO);
        }
        self.fileAtPos_ = true;
    }
    const std::size_t got = std::fread(buffer, 1, count, self.file_.get());
    self.pos_ += got;
    if (got == 0) return std::ferror(self.file_.get()) ? AVERROR(EIO) : AVERROR_EOF;
    return static_cast<int>(got);
}

std::int64_t ByteSource::seek(void* opaque, std::int64_t offset, int whence) {
    auto& self = *static_cast<ByteSource*>(opaque);
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE) return static_cast<std::int64_t>(self.size_);
    std::int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<std::int64_t>(self.pos_);
    } else if (whence == SEEK_END) {
        base = static_cast<std::int64_t>(self.size_);
    } else if (whence != SEEK_SET) {
        return AVERROR(EINVAL);
    }
    const std::int64_t target = base + offset;
    if (target < 0 || static_cast<std::uint64_t>(target) > self.size_) return AVERROR(EINVAL);
    self.pos_ = static_cast<std::uint64_t>(target);
    self.fileAtPos_ = false;
    return target;
}

}  // namespace veltrona::engine

#pragma once

// The bytes a stream decodes: a caller's memory, read in place, or a byte
// range of a file. Offers them to FFmpeg as an I/O context with read and seek
// callbacks, so FFmpeg never reads outside the range.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/engine.h"
#include "engine/ffmpegTypes.h"

namespace veltrona::engine {

// What streamCreateFile was given, kept so that a stream can be opened again.
struct SourceSpec {
    bool fromMemory = false;
    const std::uint8_t* memory = nullptr;  // fromMemory: the caller's bytes
    std::string path;                      // otherwise: a UTF-8 path
    std::uint64_t offset = 0;              // bytes skipped at the start
    // Memory: the buffer's length, offset included. Path: the bytes taken
    // after the offset, 0 for all of them.
    std::uint64_t length = 0;
};

class ByteSource {
    struct Key {};

  public:
    explicit ByteSource(Key) {}
    // Null, with `why` set, when the path cannot be opened or the range is empty.
    static std::unique_ptr<ByteSource> open(const SourceSpec& spec, EngineError& why);

    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // The I/O context for avformat_open_input; owned by this object.
    AVIOContext* io() const { return io_.get(); }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    static int readPacket(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);

    const std::uint8_t* memory_ = nullptr;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::uint64_t begin_ = 0;  // start of the range in the file
    std::uint64_t size_ = 0;   // bytes in the range
    std::uint64_t pos_ = 0;    // read position within the range
    bool fileAtPos_ = false;   // the file's own offset equals begin_ + pos_
    IoContextPtr io_;
};

}  // namespace veltrona::engine

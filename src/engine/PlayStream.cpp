#include "engine/PlayStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace veltrona::engine {
namespace {

constexpr int kDeviceChannels = 2;
constexpr std::size_t kDeviceFrameBytes = kDeviceChannels * sizeof(std::int16_t);
// About three quarters of a second at 44.1 kHz.
constexpr std::size_t kRingFrames = 32768;
// Source frames decoded per piece.
constexpr std::size_t kPieceFrames = 4096;

}  // namespace

std::shared_ptr<PlayStream> PlayStream::create(const SourceSpec& spec,
                                               std::unique_ptr<Decoder> decoder, int deviceRate,
                                               EngineError& why) {
    auto converter = Converter::create(decoder->format(), deviceRate, kDeviceChannels);
    if (!converter) {
        why = EngineError::Codec;
        return nullptr;
    }
    return std::make_shared<PlayStream>(Key{}, spec, std::move(decoder), std::move(converter),
                                        deviceRate);
}

PlayStream::PlayStream(Key, const SourceSpec& spec, std::unique_ptr<Decoder> decoder,
                       std::unique_ptr<Converter> converter, int deviceRate)
    : spec_(spec),
      format_(decoder->format()),
      deviceRate_(deviceRate),
      decoder_(std::move(decoder)),
      converter_(std::move(converter)),
      ring_(kRingFrames * kDeviceChannels) {}

PlayStream::~PlayStream() {
    halt();
}

bool PlayStream::reopen(EngineError& why) {
    auto decoder = Decoder::open(spec_, why);
    if (!decoder) return false;
    auto converter = Converter::create(decoder->format(), deviceRate_, kDeviceChannels);
    if (!converter) {
        why = EngineError::Codec;
        return false;
    }
    decoder_ = std::move(decoder);
    converter_ = std::move(converter);
    staged_.clear();
    stagedPos_ = 0;
    decodedBytes_ = 0;
    more_ = true;
    pristine_ = true;
    return true;
}

bool PlayStream::start(bool restart, EngineError& why) {
    bool fromStart = restart;
    {
        const std::lock_guard lock(mutex_);
        fromStart = fromStart || finished_;
    }
    if (fromStart) {
        if (!pristine_ && !reopen(why)) return false;
        const std::lock_guard lock(mutex_);
        ringRead_ = 0;
        ringCount_ = 0;
        sourceDone_ = false;
        finished_ = false;
        queuedBytes_ = 0;
        totalBytes_ = 0;
        framesBefore_ = 0;
        framesLast_ = 0;
        heldFrames_ = 0;
        lastReported_ = 0;
    }
    fill(false);
    {
        const std::lock_guard lock(mutex_);
        framesBefore_ = heldFrames_;
        framesLast_ = 0;
        lastCallback_ = Clock::now();
        stopDecoding_ = false;
        playing_ = true;
    }
    thread_ = std::thread(&PlayStream::decodeAhead, this);
    return true;
}

void PlayStream::halt() {
    {
        const std::lock_guard lock(mutex_);
        if (playing_) heldFrames_ = heardFramesLocked(Clock::now());
        playing_ = false;
        stopDecoding_ = true;
    }
    room_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void PlayStream::decodeAhead() {
    fill(true);
}

void PlayStream::refill() {
    staged_.clear();
    stagedPos_ = 0;
    input_.resize(kPieceFrames * static_cast<std::size_t>(format_.blockAlign()));
    const std::size_t got = decoder_->read(input_.data(), input_.size());
    pristine_ = false;
    converter_->push(input_.data(), got, staged_);
    if (decoder_->ended()) {
        converter_->flush(staged_);
        more_ = false;
    }
    decodedBytes_ = decoder_->delivered();
}

void PlayStream::fill(bool wait) {
    for (;;) {
        if (stagedPos_ == staged_.size() && more_) refill();
        std::unique_lock lock(mutex_);
        queuedBytes_ = decodedBytes_;
        if (stagedPos_ == staged_.size() && !more_) {
            sourceDone_ = true;
            totalBytes_ = decodedBytes_;
            return;
        }
        if (ringCount_ == kRingFrames) {
            if (!wait) return;
            room_.wait(lock, [this] { return stopDecoding_ || ringCount_ < kRingFrames; });
        }
        if (stopDecoding_) return;

        // The converter gives whole frames only.
        const std::size_t stagedFrames = (staged_.size() - stagedPos_) / kDeviceFrameBytes;
        std::size_t frames = std::min(kRingFrames - ringCount_, stagedFrames);
        std::size_t write = (ringRead_ + ringCount_) % kRingFrames;
        const std::uint8_t* from = staged_.data() + stagedPos_;
        stagedPos_ += frames * kDeviceFrameBytes;
        ringCount_ += frames;
        while (frames > 0) {
            const std::size_t run = std::min(frames, kRingFrames - write);
            std::memcpy(ring_.data() + write * kDeviceChannels, from, run * kDeviceFrameBytes);
            from += run * kDeviceFrameBytes;
            frames -= run;
            write = 0;
        }
    }
}

std::size_t PlayStream::render(std::int16_t* out, std::size_t frames, Clock::time_point now) {
    float volume = 1.0f;
    std::size_t count = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!playing_) return 0;
        count = std::min(frames, ringCount_);
        std::size_t read = ringRead_;
        std::size_t left = count;
        std::int16_t* to = out;
        while (left > 0) {
            const std::size_t run = std::min(left, kRingFrames - read);
            std::memcpy(to, ring_.data() + read * kDeviceChannels, run * kDeviceFrameBytes);
            to += run * kDeviceChannels;
            left -= run;
            read = (read + run) % kRingFrames;
        }
        ringRead_ = read;
        ringCount_ -= count;
        framesBefore_ += framesLast_;
        framesLast_ = count;
        lastCallback_ = now;
        if (ringCount_ == 0 && sourceDone_) finished_ = true;
        volume = volume_;
    }
    room_.notify_one();
    if (volume != 1.0f) {
        for (std::size_t i = 0; i < count * kDeviceChannels; ++i) {
            out[i] = static_cast<std::int16_t>(std::lrint(static_cast<float>(out[i]) * volume));
        }
    }
    return count;
}

void PlayStream::setVolume(float volume) {
    const std::lock_guard lock(mutex_);
    volume_ = volume;
}

std::uint64_t PlayStream::heardFramesLocked(Clock::time_point now) const {
    if (!playing_) return heldFrames_;
    const double seconds = std::chrono::duration<double>(now - lastCallback_).count();
    const double played = std::max(0.0, seconds * deviceRate_);
    const auto playedFrames = played >= static_cast<double>(framesLast_)
                                  ? framesLast_
                                  : static_cast<std::uint64_t>(played);
    return framesBefore_ + playedFrames;
}

bool PlayStream::playedOutLocked(Clock::time_point now) const {
    return finished_ && heardFramesLocked(now) >= framesBefore_ + framesLast_;
}

std::uint64_t PlayStream::heardBytes() {
    std::uint64_t bytes = 0;
    {
        const std::lock_guard lock(mutex_);
        const Clock::time_point now = Clock::now();
        if (playedOutLocked(now)) {
            bytes = totalBytes_;
        } else {
            const std::uint64_t frames = heardFramesLocked(now);
            const std::uint64_t sourceFrames = frames * static_cast<std::uint64_t>(format_.rate) /
                                               static_cast<std::uint64_t>(deviceRate_);
            bytes = std::min(sourceFrames * static_cast<std::uint64_t>(format_.blockAlign()),
                             queuedBytes_);
        }
    }
    lastReported_ = std::max(lastReported_, bytes);
    return lastReported_;
}

bool PlayStream::active() {
    const std::lock_guard lock(mutex_);
    return playing_ && !playedOutLocked(Clock::now());
}

}  // namespace veltrona::engine

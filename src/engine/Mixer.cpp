#include "engine/Mixer.h"

#include <algorithm>
#include <cstring>

namespace veltrona::engine {
namespace {

// Source frames read per conversion step.
constexpr std::size_t kInputFrames = 16384;

}  // namespace

Mixer::Mixer(const ChannelFormat& output, std::uint32_t flags) : output_(output), flags_(flags) {}

bool Mixer::attach(Handle handle, std::shared_ptr<Decoder> source) {
    if (source_ || sourceDone_) return false;
    converter_ = Converter::create(source->format(), output_.rate, output_.channels);
    if (!converter_) return false;
    sourceHandle_ = handle;
    source_ = std::move(source);
    return true;
}

void Mixer::detach() {
    source_.reset();
    sourceHandle_ = 0;
    pending_.clear();
    pendingPos_ = 0;
    noteSourceDone();
}

void Mixer::noteSourceDone() {
    sourceDone_ = true;
    if ((flags_ & kMixerEnd) != 0 && pendingPos_ == pending_.size()) ended_ = true;
}

std::size_t Mixer::pull(std::uint8_t* out, std::size_t length) {
    if (ended_) return 0;
    if (!source_) {
        // No source yet (or it was released): nothing to mix.
        if (sourceDone_ || (flags_ & kMixerEnd) != 0) noteSourceDone();
        return 0;
    }
    std::size_t done = 0;
    if (converter_->copies()) {
        done = source_->read(out, length);
        if (source_->ended()) noteSourceDone();
    } else {
        done = pullConverted(out, length);
    }
    delivered_ += done;
    return done;
}

std::size_t Mixer::pullConverted(std::uint8_t* out, std::size_t length) {
    const auto inBlock = static_cast<std::size_t>(source_->format().blockAlign());
    std::size_t done = 0;
    for (;;) {
        const std::size_t take = std::min(length - done, pending_.size() - pendingPos_);
        if (take > 0) std::memcpy(out + done, pending_.data() + pendingPos_, take);
        pendingPos_ += take;
        done += take;
        if (pendingPos_ == pending_.size()) {
            pending_.clear();
            pendingPos_ = 0;
        }
        if (done == length) break;
        if (sourceDone_) break;
        input_.resize(kInputFrames * inBlock);
        const std::size_t got = source_->read(input_.data(), input_.size());
        converter_->push(input_.data(), got, pending_);
        if (source_->ended()) {
            converter_->flush(pending_);
            sourceDone_ = true;
        }
    }
    if (sourceDone_) noteSourceDone();
    return done;
}

}  // namespace veltrona::engine

#include "engine/Decoder.h"

#include <algorithm>
#include <cstring>

namespace veltrona::engine {
namespace {

// Failed packets or frames in a row after which a source counts as ended.
constexpr int kMaxFailuresInRow = 1000;

// Refuses every further file or URL a demuxer asks for. The source is the one
// file the user chose; a playlist or concat list disguised as audio must not
// make the engine read other files or reach the network.
int refuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}
// No protocol has this name. Demuxers that open inputs of their own (concat)
// copy the list to them, so those opens fail too.
constexpr const char* kNoProtocols = "none";

// The sample layout of PCM codecs whose packets already hold the channel's
// bytes, or false for codecs that must be decoded.
bool rawSampleFormat(AVCodecID codec, SampleFormat& format) {
    switch (codec) {
        case AV_CODEC_ID_PCM_U8:
            format = SampleFormat::U8;
            return true;
        case AV_CODEC_ID_PCM_S16LE:
            format = SampleFormat::S16;
            return true;
        case AV_CODEC_ID_PCM_S24LE:
            format = SampleFormat::S24;
            return true;
        case AV_CODEC_ID_PCM_S32LE:
            format = SampleFormat::S32;
            return true;
        case AV_CODEC_ID_PCM_F32LE:
            format = SampleFormat::F32;
            return true;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<Decoder> Decoder::open(const SourceSpec& spec, EngineError& why) {
    auto decoder = std::make_unique<Decoder>(Key{});
    const EngineError opened = decoder->openInput(spec);
    if (opened != EngineError::None) {
        why = opened;
        return nullptr;
    }
    // Decode the first piece now, so that a source that yields nothing is
    // refused here and a compressed source's format is known.
    while (decoder->pending_.empty() && !decoder->sourceDone_) decoder->produce(nullptr, 0);
    if (decoder->pending_.empty() || decoder->format_.rate <= 0 || decoder->format_.channels <= 0) {
        why = decoder->sawFailure_ ? EngineError::Decode : EngineError::NoAudio;
        return nullptr;
    }
    return decoder;
}

EngineError Decoder::openInput(const SourceSpec& spec) {
    EngineError why = EngineError::None;
    bytes_ = ByteSource::open(spec, why);
    if (!bytes_) return why;

    AVFormatContext* context = avformat_alloc_context();
    if (context == nullptr) return EngineError::Memory;
    context->pb = bytes_->io();
    context->flags |= AVFMT_FLAG_CUSTOM_IO;
    context->io_open = &refuseNestedOpen;
    context->protocol_whitelist = av_strdup(kNoProtocols);
    if (context->protocol_whitelist == nullptr) {
        avformat_free_context(context);
        return EngineError::Memory;
    }
    // On failure FFmpeg frees the context itself.
    if (avformat_open_input(&context, nullptr, nullptr, nullptr) < 0) return EngineError::NoAudio;
    formatContext_.reset(context);
    if (avformat_find_stream_info(context, nullptr) < 0) return EngineError::NoAudio;

    streamIndex_ = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (streamIndex_ < 0) return EngineError::NoAudio;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex_) context->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVStream* stream = context->streams[streamIndex_];
    const AVCodecParameters* parameters = stream->codecpar;

    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!frame_ || !packet_) return EngineError::Memory;

    SampleFormat sample = SampleFormat::S16;
    if (rawSampleFormat(parameters->codec_id, sample)) {
        raw_ = true;
        format_ = ChannelFormat{parameters->sample_rate, parameters->ch_layout.nb_channels, sample};
        if (format_.rate <= 0 || format_.channels <= 0) return EngineError::NoAudio;
        return EngineError::None;
    }

    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (codec == nullptr) return EngineError::Codec;
    codec_.reset(avcodec_alloc_context3(codec));
    if (!codec_) return EngineError::Memory;
    if (avcodec_parameters_to_context(codec_.get(), parameters) < 0) return EngineError::Codec;
    codec_->pkt_timebase = stream->time_base;
    codec_->thread_count = 1;
    if (avcodec_open2(codec_.get(), codec, nullptr) < 0) return EngineError::Codec;
    return EngineError::None;
}

std::size_t Decoder::read(std::uint8_t* out, std::size_t length) {
    std::size_t done = takePending(out, length);
    while (done < length && !sourceDone_) done += produce(out + done, length - done);
    delivered_ += done;
    return done;
}

std::size_t Decoder::takePending(std::uint8_t* out, std::size_t room) {
    const std::size_t count = std::min(room, pending_.size() - pendingPos_);
    if (count > 0) std::memcpy(out, pending_.data() + pendingPos_, count);
    pendingPos_ += count;
    if (pendingPos_ == pending_.size()) {
        pending_.clear();
        pendingPos_ = 0;
    }
    return count;
}

std::size_t Decoder::produce(std::uint8_t* out, std::size_t room) {
    return raw_ ? produceRaw(out, room) : produceDecoded(out, room);
}

std::size_t Decoder::produceRaw(std::uint8_t* out, std::size_t room) {
    if (av_read_frame(formatContext_.get(), packet_.get()) < 0) {
        sourceDone_ = true;
        return 0;
    }
    std::size_t written = 0;
    if (packet_->stream_index == streamIndex_) {
        // Whole frames only: a file cut inside a frame loses the part frame.
        const auto size = static_cast<std::size_t>(packet_->size);
        const std::size_t whole = size - size % static_cast<std::size_t>(format_.blockAlign());
        written = emitBytes(packet_->data, whole, out, room);
    }
    av_packet_unref(packet_.get());
    return written;
}

// The send/receive loop of FFmpeg's decoding examples, one step per call.
std::size_t Decoder::produceDecoded(std::uint8_t* out, std::size_t room) {
    const int received = avcodec_receive_frame(codec_.get(), frame_.get());
    if (received == 0) {
        failuresInRow_ = 0;
        const std::size_t written = emitFrame(out, room);
        av_frame_unref(frame_.get());
        return written;
    }
    if (received == AVERROR(EAGAIN)) {
        if (inputEnded_) {
            sourceDone_ = true;
            return 0;
        }
        if (av_read_frame(formatContext_.get(), packet_.get()) < 0) {
            // End of input (or a read error): drain what the decoder holds.
            inputEnded_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            return 0;
        }
        if (packet_->stream_index == streamIndex_) {
            const int sent = avcodec_send_packet(codec_.get(), packet_.get());
            if (sent < 0 && sent != AVERROR(EAGAIN)) noteFailure();
        }
        av_packet_unref(packet_.get());
        return 0;
    }
    if (received == AVERROR_EOF) {
        std::size_t written = 0;
        if (resampler_ && resamplerRate_ != format_.rate) written = flushResampler(out, room);
        sourceDone_ = true;
        return written;
    }
    noteFailure();
    return 0;
}

void Decoder::noteFailure() {
    sawFailure_ = true;
    if (++failuresInRow_ >= kMaxFailuresInRow) sourceDone_ = true;
}

std::size_t Decoder::emitFrame(std::uint8_t* out, std::size_t room) {
    const AVFrame& frame = *frame_;
    if (format_.rate == 0) {
        // The first frame fixes the channel's format for the whole stream.
        if (frame.sample_rate <= 0 || frame.ch_layout.nb_channels <= 0) return 0;
        format_ = s16Format(frame.sample_rate, frame.ch_layout.nb_channels);
    }
    const auto block = static_cast<std::size_t>(format_.blockAlign());
    const auto samples = static_cast<std::size_t>(frame.nb_samples);
    if (frame.format == AV_SAMPLE_FMT_S16 && frame.sample_rate == format_.rate &&
        frame.ch_layout.nb_channels == format_.channels) {
        return emitBytes(frame.data[0], samples * block, out, room);
    }

    if (!resampler_ || frame.format != resamplerFormat_ || frame.sample_rate != resamplerRate_ ||
        frame.ch_layout.nb_channels != resamplerChannels_) {
        resampler_ = makeResampler(static_cast<AVSampleFormat>(frame.format), frame.ch_layout,
                                   frame.sample_rate, format_.channels, format_.rate);
        resamplerFormat_ = static_cast<AVSampleFormat>(frame.format);
        resamplerRate_ = frame.sample_rate;
        resamplerChannels_ = frame.ch_layout.nb_channels;
        if (!resampler_) {
            noteFailure();
            return 0;
        }
    }
    const int capacity = swr_get_out_samples(resampler_.get(), frame.nb_samples);
    if (capacity <= 0) return 0;
    const auto input = const_cast<const std::uint8_t**>(frame.extended_data);
    if (static_cast<std::size_t>(capacity) * block <= room) {
        // Straight into the caller's buffer.
        std::uint8_t* target = out;
        const int made = swr_convert(resampler_.get(), &target, capacity, input, frame.nb_samples);
        return made > 0 ? static_cast<std::size_t>(made) * block : 0;
    }
    pending_.resize(static_cast<std::size_t>(capacity) * block);
    std::uint8_t* target = pending_.data();
    const int made = swr_convert(resampler_.get(), &target, capacity, input, frame.nb_samples);
    pending_.resize(made > 0 ? static_cast<std::size_t>(made) * block : 0);
    return takePending(out, room);
}

std::size_t Decoder::flushResampler(std::uint8_t* out, std::size_t room) {
    const int capacity = swr_get_out_samples(resampler_.get(), 0);
    if (capacity <= 0) return 0;
    const auto block = static_cast<std::size_t>(format_.blockAlign());
    pending_.resize(static_cast<std::size_t>(capacity) * block);
    std::uint8_t* target = pending_.data();
    const int made = swr_convert(resampler_.get(), &target, capacity, nullptr, 0);
    pending_.resize(made > 0 ? static_cast<std::size_t>(made) * block : 0);
    return takePending(out, room);
}

std::size_t Decoder::emitBytes(const std::uint8_t* bytes, std::size_t count, std::uint8_t* out,
                               std::size_t room) {
    const std::size_t now = std::min(count, room);
    if (now > 0) std::memcpy(out, bytes, now);
    // produce runs only once pending_ is drained, so the rest starts it anew.
    pending_.assign(bytes + now, bytes + count);
    pendingPos_ = 0;
    return now;
}

std::uint64_t Decoder::expectedBytes() const {
    if (!formatContext_ || streamIndex_ < 0 || format_.rate <= 0) return 0;
    const AVStream* stream = formatContext_->streams[streamIndex_];
    std::int64_t frames = 0;
    if (stream->duration > 0 && stream->time_base.num > 0 && stream->time_base.den > 0) {
        frames = av_rescale_q(stream->duration, stream->time_base, AVRational{1, format_.rate});
    } else if (formatContext_->duration > 0) {
        frames = av_rescale(formatContext_->duration, format_.rate, AV_TIME_BASE);
    }
    if (frames <= 0) return 0;
    return static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(format_.blockAlign());
}

}  // namespace veltrona::engine

#pragma once

// The FFmpeg headers and one owning pointer per FFmpeg type. Engine-internal.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <memory>

namespace veltrona::engine {

struct FormatContextDeleter {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;

struct CodecContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;

struct SwrContextDeleter {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextDeleter>;

// Frees the context together with its I/O buffer (which FFmpeg may have
// replaced since it was allocated).
struct IoContextDeleter {
    void operator()(AVIOContext* context) const {
        if (context != nullptr) av_freep(&context->buffer);
        avio_context_free(&context);
    }
};
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;

}  // namespace veltrona::engine

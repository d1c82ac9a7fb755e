#include "engine/Converter.h"

#include <array>

namespace veltrona::engine {
namespace {

AVSampleFormat resamplerInput(SampleFormat format) {
    switch (format) {
        case SampleFormat::U8:
            return AV_SAMPLE_FMT_U8;
        case SampleFormat::S16:
            return AV_SAMPLE_FMT_S16;
        case SampleFormat::S24:
        case SampleFormat::S32:
            return AV_SAMPLE_FMT_S32;
        case SampleFormat::F32:
            return AV_SAMPLE_FMT_FLT;
    }
    return AV_SAMPLE_FMT_S16;
}

}  // namespace

SwrContextPtr makeResampler(AVSampleFormat inFormat, const AVChannelLayout& inLayout, int inRate,
                            int outChannels, int outRate) {
    AVChannelLayout in{};
    if (inLayout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&in, inLayout.nb_channels);
    } else if (av_channel_layout_copy(&in, &inLayout) < 0) {
        return nullptr;
    }
    AVChannelLayout out{};
    av_channel_layout_default(&out, outChannels);

    SwrContext* raw = nullptr;
    const int made = swr_alloc_set_opts2(&raw, &out, AV_SAMPLE_FMT_S16, outRate, &in, inFormat,
                                         inRate, 0, nullptr);
    SwrContextPtr resampler(raw);
    const int inChannels = in.nb_channels;
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    if (made < 0 || !resampler) return nullptr;

    if (inChannels == 1 && outChannels == 2) {
        // The default matrix lowers a centre channel by 3 dB on each side.
        const std::array<double, 2> bothSides{1.0, 1.0};
        if (swr_set_matrix(resampler.get(), bothSides.data(), 1) < 0) return nullptr;
    }
    if (swr_init(resampler.get()) < 0) return nullptr;
    return resampler;
}

std::unique_ptr<Converter> Converter::create(const ChannelFormat& from, int rate, int channels) {
    const ChannelFormat to = s16Format(rate, channels);
    auto converter = std::make_unique<Converter>(Key{}, from, to);
    if (from == to) return converter;
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, from.channels);
    converter->resampler_ =
        makeResampler(resamplerInput(from.sample), layout, from.rate, channels, rate);
    av_channel_layout_uninit(&layout);
    if (!converter->resampler_) return nullptr;
    return converter;
}

Converter::Converter(Key, const ChannelFormat& from, const ChannelFormat& to)
    : from_(from), to_(to) {}

void Converter::push(const std::uint8_t* in, std::size_t bytes, std::vector<std::uint8_t>& out) {
    if (!resampler_) {
        out.insert(out.end(), in, in + bytes);
        return;
    }
    const std::size_t frames = bytes / static_cast<std::size_t>(from_.blockAlign());
    if (frames == 0) return;
    const std::uint8_t* input = in;
    if (from_.sample == SampleFormat::S24) {
        widened_.resize(frames * static_cast<std::size_t>(from_.channels));
        expandS24(in, widened_.size(), widened_.data());
        input = reinterpret_cast<const std::uint8_t*>(widened_.data());
    }
    const int room = swr_get_out_samples(resampler_.get(), static_cast<int>(frames));
    if (room <= 0) return;
    const std::size_t start = out.size();
    const auto outBlock = static_cast<std::size_t>(to_.blockAlign());
    out.resize(start + static_cast<std::size_t>(room) * outBlock);
    std::uint8_t* target = out.data() + start;
    const int made = swr_convert(resampler_.get(), &target, room, &input, static_cast<int>(frames));
    out.resize(start + static_cast<std::size_t>(made > 0 ? made : 0) * outBlock);
}

void Converter::flush(std::vector<std::uint8_t>& out) {
    if (!resampler_) return;
    const int room = swr_get_out_samples(resampler_.get(), 0);
    if (room <= 0) return;
    const std::size_t start = out.size();
    const auto outBlock = static_cast<std::size_t>(to_.blockAlign());
    out.resize(start + static_cast<std::size_t>(room) * outBlock);
    std::uint8_t* target = out.data() + start;
    const int made = swr_convert(resampler_.get(), &target, room, nullptr, 0);
    out.resize(start + static_cast<std::size_t>(made > 0 ? made : 0) * outBlock);
}

}  // namespace veltrona::engine

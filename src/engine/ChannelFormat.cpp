#include "engine/ChannelFormat.h"

namespace veltrona::engine {

int ChannelFormat::bytesPerSample() const {
    switch (sample) {
        case SampleFormat::U8:
            return 1;
        case SampleFormat::S16:
            return 2;
        case SampleFormat::S24:
            return 3;
        case SampleFormat::S32:
        case SampleFormat::F32:
            return 4;
    }
    return 2;
}

void expandS24(const std::uint8_t* in, std::size_t samples, std::int32_t* out) {
    for (std::size_t i = 0; i < samples; ++i, in += 3) {
        const std::uint32_t value = (std::uint32_t{in[0]} << 8) | (std::uint32_t{in[1]} << 16) |
                                    (std::uint32_t{in[2]} << 24);
        out[i] = static_cast<std::int32_t>(value);
    }
}

}  // namespace veltrona::engine

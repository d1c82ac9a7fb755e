#pragma once

// Helpers for the engine tests: fixture bytes, the samples of a canonical WAV
// file, decoding through the mixer as the import does, and tone checks.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine.h"

namespace veltrona::enginetest {

using Bytes = std::vector<std::uint8_t>;
namespace engine = veltrona::engine;

inline constexpr std::uint32_t kBlockBytes = 4000000;

inline std::string fixture(const std::string& name) {
    return std::string(VELTRONA_FIXTURE_DIR) + "/" + name;
}

inline Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The sample bytes of a WAV file: the body of its "data" chunk.
inline Bytes wavData(const std::string& path) {
    const Bytes bytes = readFile(path);
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::uint32_t size = 0;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            const std::size_t end = std::min(bytes.size(), at + 8 + std::size_t{size});
            return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                         bytes.begin() + static_cast<std::ptrdiff_t>(end));
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

inline std::vector<std::int16_t> asS16(const Bytes& bytes) {
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Everything a mixer gives in 4,000,000-byte pulls until it ends, checking
// after every pull that the position equals the bytes delivered so far.
inline Bytes pullAll(engine::Handle mixer) {
    Bytes all;
    std::vector<std::uint8_t> block(kBlockBytes);
    for (int pass = 0; pass < 1000; ++pass) {
        const std::uint32_t got = engine::channelGetData(mixer, block.data(), kBlockBytes);
        EXPECT_NE(got, engine::kDataError);
        if (got == engine::kDataError) break;
        all.insert(all.end(), block.begin(), block.begin() + got);
        EXPECT_EQ(engine::channelGetPosition(mixer, engine::kPosByte), all.size());
        if (engine::channelIsActive(mixer) == 0) break;
    }
    return all;
}

// Decodes a file as the import does: decode stream, mixer of the same rate
// and channels, pulls until the mixer ends. Both streams are released.
inline Bytes decodeThroughMixer(const std::string& path, engine::ChannelInfo& info) {
    const engine::Handle source =
        engine::streamCreateFile(false, path.c_str(), 0, 0, engine::kStreamDecode);
    EXPECT_NE(source, 0u) << path;
    info = engine::ChannelInfo{};
    EXPECT_TRUE(engine::channelGetInfo(source, &info));
    const engine::Handle mixer =
        engine::mixerStreamCreate(info.freq, info.chans, engine::kDecodeMixerFlags);
    EXPECT_NE(mixer, 0u);
    EXPECT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
    Bytes pcm = pullAll(mixer);
    EXPECT_TRUE(engine::streamFree(source));
    EXPECT_TRUE(engine::streamFree(mixer));
    return pcm;
}

// Sign changes of one channel of interleaved 16-bit samples.
inline int zeroCrossings(const std::vector<std::int16_t>& samples, int channels, int channel) {
    int crossings = 0;
    bool wasNegative = false;
    bool first = true;
    for (std::size_t i = static_cast<std::size_t>(channel); i < samples.size();
         i += static_cast<std::size_t>(channels)) {
        if (samples[i] == 0) continue;
        const bool negative = samples[i] < 0;
        if (!first && negative != wasNegative) ++crossings;
        wasNegative = negative;
        first = false;
    }
    return crossings;
}

// Waits, polling, until `done` answers true or `seconds` pass.
inline bool waitUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

// Initialises the engine for each test and checks that engineFree leaves no
// stream behind.
class EngineTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(engine::engineInit(-1, 44100, 0, nullptr, nullptr)); }
    void TearDown() override {
        engine::engineFree();
        EXPECT_EQ(engine::engineStreamCount(), 0u);
    }
};

}  // namespace veltrona::enginetest

// Every operation given a handle that names no live stream is harmless and
// answers its failure value.

#include <cmath>

#include "engineTestFiles.h"

namespace veltrona::enginetest {
namespace {

class InvalidHandles : public EngineTest {};

struct Operation {
    const char* name;
    // True when the operation answered its failure value for `handle`.
    std::function<bool(engine::Handle handle)> fails;
};

std::vector<Operation> operations(engine::Handle liveMixer, engine::Handle liveSource) {
    return {
        {"channelGetInfo",
         [](engine::Handle h) {
             engine::ChannelInfo info{};
             return !engine::channelGetInfo(h, &info) && info.freq == 0 && info.chans == 0;
         }},
        {"channelGetData",
         [](engine::Handle h) {
             std::vector<std::uint8_t> block(4096, 0x5A);
             return engine::channelGetData(h, block.data(), 4096) == engine::kDataError &&
                    block[0] == 0x5A;
         }},
        {"channelGetPosition",
         [](engine::Handle h) {
             return engine::channelGetPosition(h, engine::kPosByte) == engine::kPositionError;
         }},
        {"channelIsActive", [](engine::Handle h) { return engine::channelIsActive(h) == 0; }},
        {"channelBytes2Seconds",
         [](engine::Handle h) { return engine::channelBytes2Seconds(h, 176400) < 0; }},
        {"channelPlay", [](engine::Handle h) { return !engine::channelPlay(h, true); }},
        {"channelStop", [](engine::Handle h) { return !engine::channelStop(h); }},
        {"channelSetAttribute",
         [](engine::Handle h) {
             return !engine::channelSetAttribute(h, engine::kAttribVolume, 0.5f);
         }},
        {"streamFree", [](engine::Handle h) { return !engine::streamFree(h); }},
        {"mixerStreamAddChannel as mixer",
         [liveSource](engine::Handle h) {
             return !engine::mixerStreamAddChannel(h, liveSource, 0);
         }},
        {"mixerStreamAddChannel as source",
         [liveMixer](engine::Handle h) { return !engine::mixerStreamAddChannel(liveMixer, h, 0); }},
    };
}

TEST_F(InvalidHandles, EveryOperationFailsHarmlessly) {
    const Bytes wav = readFile(fixture("tone_stereo16.wav"));
    const auto released = [&](std::uint32_t flags, bool memory) {
        const engine::Handle h =
            memory ? engine::streamCreateFile(true, wav.data(), 0, wav.size(), flags)
                   : engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
        EXPECT_NE(h, 0u);
        if (flags == 0) {
            EXPECT_TRUE(engine::channelPlay(h, true));
        }
        EXPECT_TRUE(engine::streamFree(h));
        return h;
    };
    const struct {
        const char* name;
        engine::Handle handle;
    } handles[] = {
        {"zero", 0},
        {"released decode stream", released(engine::kStreamDecode, true)},
        {"released playing stream", released(0, true)},
        {"released mixer", released(engine::kDecodeMixerFlags, false)},
        {"never issued", 0x7FFFFFF0u},
    };

    // Live streams to pair the bad handle with; they must survive it all.
    const engine::Handle mixer = engine::mixerStreamCreate(44100, 2, engine::kDecodeMixerFlags);
    const engine::Handle source =
        engine::streamCreateFile(true, wav.data(), 0, wav.size(), engine::kStreamDecode);
    const std::size_t live = engine::engineStreamCount();
    for (const auto& handle : handles) {
        for (const Operation& op : operations(mixer, source)) {
            SCOPED_TRACE(std::string(op.name) + " on " + handle.name);
            EXPECT_TRUE(op.fails(handle.handle));
            EXPECT_EQ(engine::engineLastError(), engine::EngineError::BadHandle);
        }
    }
    EXPECT_EQ(engine::engineStreamCount(), live);
    EXPECT_TRUE(engine::mixerStreamAddChannel(mixer, source, 0));
    EXPECT_EQ(pullAll(mixer), wavData(fixture("tone_stereo16.wav")));
}

TEST_F(InvalidHandles, HandlesAreNeverReused) {
    const Bytes wav = readFile(fixture("tone_mono8.wav"));
    std::vector<engine::Handle> seen;
    for (int i = 0; i < 20; ++i) {
        const engine::Handle h =
            i % 2 == 0
                ? engine::streamCreateFile(true, wav.data(), 0, wav.size(), engine::kStreamDecode)
                : engine::mixerStreamCreate(8000, 1, engine::kDecodeMixerFlags);
        ASSERT_NE(h, 0u);
        for (const engine::Handle old : seen) ASSERT_NE(h, old);
        seen.push_back(h);
        EXPECT_TRUE(engine::streamFree(h));
        EXPECT_FALSE(engine::streamFree(h)) << "a second release";
    }
}

TEST(InvalidHandlesAfterFree, OldHandlesStayHarmless) {
    ASSERT_TRUE(engine::engineInit(-1, 44100, 0, nullptr, nullptr));
    const Bytes wav = readFile(fixture("tone_stereo16.wav"));
    const engine::Handle playing = engine::streamCreateFile(true, wav.data(), 0, wav.size(), 0);
    ASSERT_TRUE(engine::channelPlay(playing, true));
    const engine::Handle decoding =
        engine::streamCreateFile(true, wav.data(), 0, wav.size(), engine::kStreamDecode);
    EXPECT_TRUE(engine::engineFree());
    EXPECT_EQ(engine::engineStreamCount(), 0u);
    for (const engine::Handle h : {playing, decoding}) {
        EXPECT_EQ(engine::channelGetPosition(h, engine::kPosByte), engine::kPositionError);
        EXPECT_FALSE(engine::channelPlay(h, true));
        EXPECT_FALSE(engine::streamFree(h));
    }
    // A playing stream needs an initialised engine; a second free is harmless.
    EXPECT_EQ(engine::streamCreateFile(true, wav.data(), 0, wav.size(), 0), 0u);
    EXPECT_EQ(engine::engineLastError(), engine::EngineError::NotInitialised);
    EXPECT_FALSE(engine::engineFree());
}

}  // namespace
}  // namespace veltrona::enginetest

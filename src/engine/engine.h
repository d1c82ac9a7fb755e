#pragma once

// The audio engine: decoding (FFmpeg) and output (SDL2) behind a table of
// 32-bit handles. Every FFmpeg and SDL call of the program lives behind this
// header.
//
// Threads: every function here is called from the window thread only. The
// engine plays on SDL's audio thread (and its own decode-ahead threads) and
// shares a few fields with them under a short lock.
//
// Handles are non-zero for a live stream and never reused within a run; 0
// means creation failed. Every operation given 0 or a released handle is
// harmless and answers its failure value.

#include <cstdint>
#include <string>

namespace veltrona::engine {

using Handle = std::uint32_t;

// Stream flag: decode only; the data is pulled with channelGetData and never
// played.
inline constexpr std::uint32_t kStreamDecode = 0x200000;
// Mixer flag: the mixer ends once its sources are exhausted.
inline constexpr std::uint32_t kMixerEnd = 0x10000;
// The flags the decoder passes to mixerStreamCreate.
inline constexpr std::uint32_t kDecodeMixerFlags = 0x212002;
// channelSetAttribute: the volume attribute (0.0 to 1.0).
inline constexpr std::uint32_t kAttribVolume = 2;
// channelGetPosition: position in bytes.
inline constexpr std::uint32_t kPosByte = 0;
// Failure value of channelGetPosition (all 64 bits set).
inline constexpr std::uint64_t kPositionError = ~std::uint64_t{0};
// Failure value of channelGetData.
inline constexpr std::uint32_t kDataError = 0xFFFFFFFFu;

// Channel information record, 32 bytes. The first two fields are the ones the
// decoder relies on.
struct ChannelInfo {
    std::uint32_t freq;           // sample rate in Hz
    std::uint32_t chans;          // channel count
    std::uint32_t flags;          // the flags the stream was made with
    std::uint32_t bitsPerSample;  // width of one sample in the channel's bytes
    std::uint32_t isFloat;        // 1 when samples are 32-bit float
    std::uint32_t reserved[3];
};
static_assert(sizeof(ChannelInfo) == 32);

// Why the last failed call failed, for the window's error text.
enum class EngineError {
    None,
    NotInitialised,   // no engineInit, or after engineFree
    BadHandle,        // 0 or released handle
    BadArgument,      // null address with a length, rate or channels <= 0, ...
    FileOpen,         // the path cannot be opened or read
    NoAudio,          // the source holds no audio stream FFmpeg recognises
    Codec,            // the codec is missing or failed to open
    Decode,           // decoding failed
    Memory,           // out of memory
    Device,           // no output device could be opened
};

// Opens SDL audio and the output device (device -1 = default), signed 16-bit
// stereo at `freq`. Falls back to SDL's silent "dummy" output when no device
// opens. An SDL_AUDIODRIVER set in the environment is honoured.
bool engineInit(int device, std::uint32_t freq, std::uint32_t flags, void* window,
                const void* guid);
// Stops and releases every stream and closes the device.
bool engineFree();
// True when engineInit found no real device and plays into silent output, or
// the device was lost during playback.
bool engineUsesSilentOutput();
// The number of live streams (decode, mixer and playing), for leak checks.
std::size_t engineStreamCount();
// The cause of the last failed call on the window thread.
EngineError engineLastError();

// Makes a stream. fromMemory false: `file` is a UTF-8 path (NUL-terminated);
// offset and length 0 take the whole file. fromMemory true: `file` points at
// `length` bytes that the caller keeps alive while the stream lives.
// flags kStreamDecode makes a decode-only stream; flags 0 a playing stream.
// Returns 0 when nothing FFmpeg recognises as audio is found.
Handle streamCreateFile(bool fromMemory, const void* file, std::uint64_t offset,
                        std::uint64_t length, std::uint32_t flags);
// The same, for WMA sources (the same FFmpeg path serves both).
Handle wmaStreamCreateFile(bool fromMemory, const void* file, std::uint64_t offset,
                           std::uint64_t length, std::uint32_t flags);

// Fills the record with the channel's format. False for a bad handle.
bool channelGetInfo(Handle handle, ChannelInfo* info);

// A decode-only mixer whose output is interleaved signed 16-bit PCM at `freq`
// and `chans`. Returns 0 for a rate or channel count of 0 or less.
Handle mixerStreamCreate(std::uint32_t freq, std::uint32_t chans, std::uint32_t flags);
// Feeds a decoding stream into the mixer, converted when formats differ.
bool mixerStreamAddChannel(Handle mixer, Handle channel, std::uint32_t flags);

// Writes up to `length` bytes of the channel's data from the start of
// `buffer` and returns the count written (kDataError on failure).
std::uint32_t channelGetData(Handle handle, void* buffer, std::uint32_t length);
// Position in the channel's bytes (mode kPosByte). Decode-only channels: the
// bytes delivered so far. Playing streams: the position being heard now.
// kPositionError on failure.
std::uint64_t channelGetPosition(Handle handle, std::uint32_t mode);
// Non-zero while the channel is playing, or, for a decode channel, while it
// still has data. 0 once it has ended or for a bad handle.
std::uint32_t channelIsActive(Handle handle);
// Converts a byte position of the channel to seconds; negative on failure.
double channelBytes2Seconds(Handle handle, std::uint64_t position);

// Starts a playing stream; restart true plays from the start.
bool channelPlay(Handle handle, bool restart);
bool channelStop(Handle handle);
bool streamFree(Handle handle);
// attrib kAttribVolume: the level 0.0 to 1.0, applied within one device buffer.
bool channelSetAttribute(Handle handle, std::uint32_t attrib, float value);

}  // namespace veltrona::engine

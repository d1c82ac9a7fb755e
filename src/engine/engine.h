#pragma once

// The audio engine: decoding (FFmpeg) and output (SDL2) behind a table of
// 32-bit handles. Every FFmpeg and SDL call of the program lives behind this
// header.
//
// Threads: every function here is called from the window thread only. The
// engine plays on SDL's audio thread and one decode-ahead thread per playing
// stream, and shares a few fields with them under a short lock; no call here
// decodes while a stream plays, except channelPlay, which fills the stream's
// small ring before it starts.
//
// Handles are non-zero for a live stream and never reused within a run; 0
// means creation failed. Every operation given 0 or a released handle is
// harmless and answers its failure value: position kPositionError, seconds
// negative, active 0, data kDataError, false from the rest.
//
// Byte positions and data count in the channel's format: for PCM or float WAV
// sources the file's own sample width (so positions match its byte rate), for
// every other source signed 16-bit; always at the source's rate and channel
// count. Mixers give signed 16-bit at their own rate and channel count.

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
    NotInitialised,  // no engineInit, or after engineFree
    BadHandle,       // 0 or released handle
    BadArgument,     // null address with a length, rate or channels <= 0, ...
    FileOpen,        // the path cannot be opened or read
    NoAudio,         // the source holds no audio stream FFmpeg recognises
    Codec,           // the codec is missing or failed to open
    Decode,          // decoding failed
    Memory,          // out of memory
    Device,          // no output device could be opened
};

// Opens SDL audio and the output device (device -1 = default, 0 = silent
// output, n >= 1 = the n-th device SDL lists), signed 16-bit stereo at `freq`
// Hz; streams of other formats are converted on their way to it. Falls back
// to SDL's silent "dummy" output, which keeps real time, when no device opens.
// An SDL_AUDIODRIVER set in the environment is honoured. `flags`, `window`
// and `guid` are not used. A second call while initialised changes nothing
// and answers true.
bool engineInit(int device, std::uint32_t freq, std::uint32_t flags, void* window,
                const void* guid);
// Stops and releases every stream and closes the device. Old handles stay
// harmless. Decode-only streams and mixers also work without engineInit; this
// releases them too.
bool engineFree();
// True when engineInit found no real device and plays into silent output, or
// the device was lost during playback and the silent output took its place
// (positions keep advancing).
bool engineUsesSilentOutput();
// The number of live streams (decode, mixer and playing), for leak checks.
std::size_t engineStreamCount();
// The cause of the last failed call (successful calls leave it as it is).
EngineError engineLastError();

// Makes a stream. fromMemory false: `file` is a UTF-8 path (NUL-terminated);
// the stream takes `length` bytes from `offset` (length 0: to the end).
// fromMemory true: `file` points at `length` bytes, which the caller keeps
// alive and unchanged while the stream lives; the stream starts `offset`
// bytes in and reads nothing outside them.
// flags kStreamDecode makes a decode-only stream, which works without
// engineInit; flags 0 a playing stream, which needs it.
// Returns 0 for a null address with a length, an empty or unreadable source,
// or bytes in which nothing decodes as audio.
Handle streamCreateFile(bool fromMemory, const void* file, std::uint64_t offset,
                        std::uint64_t length, std::uint32_t flags);
// The same, for WMA sources (the same FFmpeg path serves both).
Handle wmaStreamCreateFile(bool fromMemory, const void* file, std::uint64_t offset,
                           std::uint64_t length, std::uint32_t flags);

// Fills the record with the channel's format. False for a bad handle or a
// null record.
bool channelGetInfo(Handle handle, ChannelInfo* info);

// A decode-only mixer (flags must hold kStreamDecode) whose output is
// interleaved signed 16-bit PCM at `freq` Hz and `chans` channels. With
// kMixerEnd it ends once its source is exhausted. Returns 0 for a rate or
// channel count of 0 or less (as signed values).
Handle mixerStreamCreate(std::uint32_t freq, std::uint32_t chans, std::uint32_t flags);
// Feeds a decode-only stream into the mixer, converted with libswresample
// when the formats differ. A mixer takes one source; a source feeds one
// mixer. The two may be released in either order.
bool mixerStreamAddChannel(Handle mixer, Handle channel, std::uint32_t flags);

// Writes up to `length` bytes (rounded down to whole frames) of a decode-only
// stream's or a mixer's data from the start of `buffer` and returns the count
// written: fewer only when the source runs out, 0 once it has ended
// (kDataError on failure).
std::uint32_t channelGetData(Handle handle, void* buffer, std::uint32_t length);
// Position in the channel's bytes (mode kPosByte). Decode-only channels and
// mixers: the bytes delivered so far. Playing streams: the position being
// heard now (the device frames handed over less those still in the device's
// buffer, in the channel's bytes), never decreasing while playing and resting
// at the total length after the end. Cheap: no decoding, one short lock.
// kPositionError on failure.
std::uint64_t channelGetPosition(Handle handle, std::uint32_t mode);
// The bytes a decode-only stream should give in all (mode kPosByte), from the
// duration its container declares: an estimate for reserving memory, which
// the real count may pass or fall short of. 0 when nothing is declared;
// kPositionError for a bad handle or a stream that is not decode-only.
std::uint64_t channelGetLength(Handle handle, std::uint32_t mode);
// Non-zero while the channel is playing, or, for a decode channel, while it
// still has data. 0 once it has ended or for a bad handle.
std::uint32_t channelIsActive(Handle handle);
// Converts a byte position of the channel (taken as signed) to seconds by the
// channel's bytes per second; negative on failure.
double channelBytes2Seconds(Handle handle, std::uint64_t position);

// Starts a playing stream; restart true plays from the start, false resumes
// (a stream that has played to its end starts again).
bool channelPlay(Handle handle, bool restart);
bool channelStop(Handle handle);
bool streamFree(Handle handle);
// attrib kAttribVolume: the level 0.0 to 1.0 (clamped), applied from the next
// device buffer on. 1.0 leaves the samples bit-exact.
bool channelSetAttribute(Handle handle, std::uint32_t attrib, float value);

}  // namespace veltrona::engine

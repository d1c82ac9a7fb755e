// Placeholder until the FFmpeg/SDL engine lands: every call fails harmlessly.
#include "engine/engine.h"

namespace veltrona::engine {

bool engineInit(int, std::uint32_t, std::uint32_t, void*, const void*) { return false; }
bool engineFree() { return false; }
bool engineUsesSilentOutput() { return true; }
std::size_t engineStreamCount() { return 0; }
EngineError engineLastError() { return EngineError::NotInitialised; }
Handle streamCreateFile(bool, const void*, std::uint64_t, std::uint64_t, std::uint32_t) { return 0; }
Handle wmaStreamCreateFile(bool, const void*, std::uint64_t, std::uint64_t, std::uint32_t) { return 0; }
bool channelGetInfo(Handle, ChannelInfo*) { return false; }
Handle mixerStreamCreate(std::uint32_t, std::uint32_t, std::uint32_t) { return 0; }
bool mixerStreamAddChannel(Handle, Handle, std::uint32_t) { return false; }
std::uint32_t channelGetData(Handle, void*, std::uint32_t) { return kDataError; }
std::uint64_t channelGetPosition(Handle, std::uint32_t) { return kPositionError; }
std::uint32_t channelIsActive(Handle) { return 0; }
double channelBytes2Seconds(Handle, std::uint64_t) { return -1.0; }
bool channelPlay(Handle, bool) { return false; }
bool channelStop(Handle) { return false; }
bool streamFree(Handle) { return false; }
bool channelSetAttribute(Handle, std::uint32_t, float) { return false; }

}  // namespace veltrona::engine

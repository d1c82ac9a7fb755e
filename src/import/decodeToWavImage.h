#pragma once

// Decodes an MP3 or WMA file through the engine's mixer into a WAV image:
// the 44-byte header of buildWavHeader followed by whole 4,000,000-byte
// blocks of 16-bit PCM. The header's RIFF size is the mixer's final byte
// position, so its data size is that position - 36. Past the decoded bytes
// the last block holds what one reused block would: zeros after a single
// pass, otherwise the bytes left there by the pass before. Needs an
// initialised engine. Window thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Result.h"
#include "import/AudioKind.h"
#include "import/EventPump.h"

namespace veltrona {

// Bytes pulled from the mixer per pass.
inline constexpr std::uint32_t kDecodeBlockBytes = 4'000'000;
// The most decoded bytes an image may describe: positions are 32-bit signed.
inline constexpr std::int64_t kMaxDecodedBytes = 2'147'483'647;

// `kind` picks the engine's opener (Mp3 or Wma); the content is not
// inspected. `pump` runs once after every block; when it returns false the
// decode stops with a cancelled error. Fails, with both engine streams
// released, when the engine cannot decode the file, when nothing is decoded,
// or as soon as the decoded bytes pass `maxDecodedBytes` (lowered only by
// tests). The streams are released on success too.
Result<std::vector<std::uint8_t>> decodeToWavImage(const std::string& path, AudioKind kind,
                                                   const EventPump& pump,
                                                   std::int64_t maxDecodedBytes = kMaxDecodedBytes);

}  // namespace veltrona

#pragma once

// Turns the chosen file into a LoadedAudio. Paths ending in "mp3" or "wma"
// (ASCII case ignored) are decoded through the engine; everything else is
// read as a WAV file from `file`, the result of openAudioFile on the same
// path. A file that could not be opened is reported with that error, for
// every kind. WAV files are found by walking their RIFF chunks; canonical
// files take every byte after offset 44 as samples, others the data chunk's
// declared size, cut at the end of the file.
//
// Fails, with a cause the window shows, for a WAV-path file shorter than 44
// bytes or without the RIFF/WAVE marks, a byte rate or block align of 0 or
// less, or a decode that fails (see decodeToWavImage). On success the
// duration (seconds) and byte rate (bytes per second) are written to
// `state`; on failure nothing is. Window thread; `pump` runs after every
// decoded block.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "engine/Result.h"
#include "import/AudioKind.h"
#include "import/EventPump.h"
#include "import/LoadedAudio.h"

namespace veltrona {

Result<LoadedAudio> importAudio(const std::string& path, Result<std::ifstream>& file,
                                AppState& state, const EventPump& pump);

// The WAV reading of importAudio over a whole file already in memory, with
// the same results and errors. For tools and fuzzing.
Result<LoadedAudio> importWavBytes(std::vector<std::uint8_t> bytes, AppState& state);

}  // namespace veltrona

#pragma once

// Turns the chosen file into a LoadedAudio. "mp3" and "wma" endings (ASCII
// case ignored) are decoded through the engine; everything else is read as a
// WAV file from `file`, the result of openAudioFile on the same path; a file
// that could not be opened is reported with its cause. On success the duration and byte rate are written to
// `state`; on failure nothing is written. Window thread; `pump` runs after
// every decoded block.

#include <fstream>
#include <string>

#include "app/AppState.h"
#include "engine/Result.h"
#include "import/EventPump.h"
#include "import/LoadedAudio.h"

namespace veltrona {

enum class AudioKind { Wav, Mp3, Wma };

// The kind chosen by the last three characters of the path.
AudioKind audioKindOf(const std::string& path);

Result<LoadedAudio> importAudio(const std::string& path, Result<std::ifstream>& file, AppState& state,
                                const EventPump& pump);

}  // namespace veltrona

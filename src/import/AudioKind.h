#pragma once

// How a chosen file is read: as WAV, or decoded through the engine.

#include <string>

namespace veltrona {

enum class AudioKind { Wav, Mp3, Wma };

// The kind chosen by the last three bytes of the path, compared with "mp3"
// and then "wma" ignoring ASCII case; anything else, and a path shorter than
// three bytes, is Wav. Any thread.
AudioKind audioKindOf(const std::string& path);

}  // namespace veltrona

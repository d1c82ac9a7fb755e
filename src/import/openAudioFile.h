#pragma once

// Opens a chosen audio file for reading only, in binary mode. The one opening
// used by the load command and by Play. Window thread.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Result.h"

namespace veltrona {

// The error names the cause (missing, no permission, a folder, ...).
Result<std::ifstream> openAudioFile(const std::string& path);

// Reads the whole file at `path`; the error names the cause.
Result<std::vector<std::uint8_t>> readWholeFile(const std::string& path);

}  // namespace veltrona

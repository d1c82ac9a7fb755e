#pragma once

// Opens a chosen audio file for reading only, in binary mode, with no
// sharing restriction, so read-only and in-use files can be viewed. The one
// opening used by the load command and by Play. Window thread.

#include <cstdint>
#include <fstream>
#include <istream>
#include <string>
#include <vector>

#include "engine/Result.h"

namespace veltrona {

// The error names the cause (missing, no permission, a folder, ...).
Result<std::ifstream> openAudioFile(const std::string& path);

// Reads the whole file at `path`; the error names the cause.
Result<std::vector<std::uint8_t>> readWholeFile(const std::string& path);

// Every byte of an open file, read from offset 0 whatever its position.
Result<std::vector<std::uint8_t>> readWholeStream(std::istream& file);
// The same into `buffer`, reusing its memory when it is large enough and not
// far larger than needed, so a repeated read of a long file does not pay for
// fresh pages. Whatever `buffer` held is replaced; on failure it is empty.
Result<void> readWholeStreamInto(std::istream& file, std::vector<std::uint8_t>& buffer);

}  // namespace veltrona

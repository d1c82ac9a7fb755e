#pragma once

// Reads the whole file at `path`, opened read-only, into `buffer`, reusing
// the buffer's memory when it is large enough, so a repeated Play of a long
// file does not pay for fresh pages. Whatever `buffer` held is replaced, so
// nothing may still read from it. On failure `buffer` is left empty and the
// error names the cause. Window thread.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Result.h"

namespace veltrona {

Result<void> readFileInto(const std::string& path, std::vector<std::uint8_t>& buffer);

}  // namespace veltrona

#pragma once

// Maps the whole pages of `size` bytes at `data`, a buffer about to be
// written, in one call: far cheaper than the page fault per 4 KiB that the
// first writes would take. Does nothing for buffers under 1 MiB or where the
// kernel lacks the call. The bytes are left as they were. Any thread.

#include <cstddef>
#include <cstdint>

namespace veltrona {

void populatePages(std::uint8_t* data, std::size_t size);

}  // namespace veltrona

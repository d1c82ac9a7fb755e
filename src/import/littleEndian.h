#pragma once

// Little-endian numbers in byte buffers. Nothing here reads or writes outside
// the span it is given: a range that starts past the end is empty, a range
// that runs past the end is cut there, and a number read from fewer bytes
// than its width takes the missing high-order bytes as zero. Any thread.

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrona {

// Up to `count` bytes of `bytes` from `offset`, cut at the end.
std::span<const std::uint8_t> byteRange(std::span<const std::uint8_t> bytes, std::size_t offset,
                                        std::size_t count);

std::uint16_t readU16le(std::span<const std::uint8_t> bytes, std::size_t offset);
std::int16_t readI16le(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t readU32le(std::span<const std::uint8_t> bytes, std::size_t offset);
std::int32_t readI32le(std::span<const std::uint8_t> bytes, std::size_t offset);

// Writes the low 2 or 4 bytes of `value` at `offset`; bytes that would fall
// past the end are dropped.
void writeU16le(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value);
void writeU32le(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);

}  // namespace veltrona

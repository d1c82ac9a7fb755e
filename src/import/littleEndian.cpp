#include "import/littleEndian.h"

namespace veltrona {
namespace {

std::uint32_t readLe(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    const std::span<const std::uint8_t> range = byteRange(bytes, offset, width);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < range.size(); ++i) {
        value |= std::uint32_t{range[i]} << (8 * i);
    }
    return value;
}

void writeLe(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
             std::uint32_t value) {
    for (std::size_t i = 0; i < width && offset < bytes.size() && i < bytes.size() - offset; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

std::span<const std::uint8_t> byteRange(std::span<const std::uint8_t> bytes, std::size_t offset,
                                        std::size_t count) {
    if (offset >= bytes.size()) return {};
    const std::size_t available = bytes.size() - offset;
    return bytes.subspan(offset, count < available ? count : available);
}

std::uint16_t readU16le(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(readLe(bytes, offset, 2));
}

std::int16_t readI16le(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int16_t>(readU16le(bytes, offset));
}

std::uint32_t readU32le(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return readLe(bytes, offset, 4);
}

std::int32_t readI32le(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int32_t>(readU32le(bytes, offset));
}

void writeU16le(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    writeLe(bytes, offset, 2, value);
}

void writeU32le(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    writeLe(bytes, offset, 4, value);
}

}  // namespace veltrona

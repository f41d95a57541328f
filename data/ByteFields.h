#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian, unaligned fields of the files; the caller has checked that the field lies inside bytes.
inline std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// Whether a field of the given size at offset lies wholly inside a run of length bytes.
constexpr bool FieldFits(std::size_t length, std::size_t offset, std::size_t size) {
    return offset <= length && size <= length - offset;
}

#pragma once

#include <cstddef>
#include <cstdint>

// Advances the two running 16-bit sums over the bytes.
void UpdateChecksum(const std::uint8_t* bytes, std::size_t count, std::uint16_t& sumA, std::uint16_t& sumB);

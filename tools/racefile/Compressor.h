#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Compresses into the race files' scheme: groups of 8 items behind a control byte (low bit
// first), each a literal byte or a 16-bit token of length 3..10 and distance 1..8192.
std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> data);

// A stream that decompresses to at least outputSize bytes at the scheme's highest ratio: one
// literal, then only tokens of length 10 at distance 1.
std::vector<std::uint8_t> DecompressionBomb(std::size_t outputSize);

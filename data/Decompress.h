#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Decompresses source into destination (or only counts the output when destination is null).
// Returns the output length, or nothing when the stream refers back before the start of the output.
std::optional<std::size_t> Decompress(std::span<const std::uint8_t> source, std::uint8_t* destination);
// The same into a buffer of known size (the counting pass's result); nothing when the output would not
// fit. Faster than the unsized form because it may write ahead inside the buffer.
std::optional<std::size_t> DecompressInto(std::span<const std::uint8_t> source,
                                          std::span<std::uint8_t> destination);

// Which loop writes the output. By default the byte-shuffle loop runs where the processor has the
// instructions; tests force the portable loop so that it is checked on any machine.
enum class DecompressPath { kAuto, kPortable, kByteShuffle };
void SetDecompressPath(DecompressPath path);
// The loop the next call will run (never kAuto): a forced byte-shuffle loop falls back to the
// portable one where the processor lacks the instructions.
DecompressPath ActiveDecompressPath();

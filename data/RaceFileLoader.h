#pragma once

#include "RaceData.h"
#include "RaceFile.h"
#include "common/Prompt.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Loads one log file or race file into the race: 1 when a record stream was decoded and merged,
// 0 when the file was refused (with a message through prompt, or silently where that is the rule).
int LoadRaceFile(RaceData& race, IRaceFile& file, IPrompt& prompt);

// The two race-information readers; an empty name table means the file has none.
int ReadLogRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                    std::span<const std::uint8_t> block);
int ReadGameRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                     std::uint8_t sessionByte, std::span<const std::uint8_t> block);

// Advances the two running 16-bit sums over the bytes.
void UpdateChecksum(const std::uint8_t* bytes, std::size_t count, std::uint16_t& sumA, std::uint16_t& sumB);

// Decompresses source into destination (or only counts the output when destination is null).
// Returns the output length, or nothing when the stream refers back before the start of the output.
std::optional<std::size_t> Decompress(std::span<const std::uint8_t> source, std::uint8_t* destination);
// The same into a buffer of known size (the counting pass's result); nothing when the output would not
// fit. Faster than the unsized form because it may write ahead inside the buffer.
std::optional<std::size_t> DecompressInto(std::span<const std::uint8_t> source,
                                          std::span<std::uint8_t> destination);

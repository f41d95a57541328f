#pragma once

#include "RaceData.h"

#include <cstdint>
#include <span>

constexpr int kNameEntrySize = 24;

// Decode one record stream into new cars and merge them into the race; always 1.
// An empty name table (or a car number without an entry) gives the car an empty name.
int DecodeLogRecords(RaceData& race, std::span<const std::uint8_t> nameTable,
                     std::span<const std::uint8_t> stream);
int DecodeGameRecords(RaceData& race, std::span<const std::uint8_t> nameTable,
                      std::span<const std::uint8_t> stream);

#pragma once

#include "RaceData.h"
#include "RaceFile.h"
#include "common/Prompt.h"

#include <cstdint>
#include <span>

// Loads one log file or race file into the race: 1 when a record stream was decoded and merged,
// 0 when the file was refused (with a message through prompt, or silently where that is the rule).
int LoadRaceFile(RaceData& race, IRaceFile& file, IPrompt& prompt);

// The two race-information readers; an empty name table means the file has none.
int ReadLogRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                    std::span<const std::uint8_t> block);
int ReadGameRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                     std::uint8_t sessionByte, std::span<const std::uint8_t> block);

#pragma once

#include "RaceData.h"
#include "RaceFile.h"
#include "common/Prompt.h"

#include <cstdint>
#include <span>

// Where a log file's record stream ends. A finished log keeps its last 4 bytes out of the data; a
// log still being written has no such tail yet, so its newest record would look cut by 4 bytes.
// No record is shorter than 15 bytes, so reading to the end never adds a record the tail could
// make up: a finished log gives the same laps either way.
enum class LogFileEnd { kTailUnread, kToEnd };

// Loads one log file or race file into the race: 1 when a record stream was decoded and merged,
// 0 when the file was refused (with a message through prompt, or silently where that is the rule).
int LoadRaceFile(RaceData& race, IRaceFile& file, IPrompt& prompt,
                 LogFileEnd logEnd = LogFileEnd::kTailUnread);

// The two race-information readers; an empty name table means the file has none.
int ReadLogRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                    std::span<const std::uint8_t> block);
int ReadGameRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                     std::uint8_t sessionByte, std::span<const std::uint8_t> block);

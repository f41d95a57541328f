#pragma once

#include "common/Prompt.h"
#include "data/RaceData.h"
#include "data/RaceFile.h"
#include "data/RaceFileLoader.h"

#include <cstdint>

// The two container paths of the loader, entered once the magic (already read) has chosen one.
int LoadLogFile(RaceData& race, IRaceFile& file, IPrompt& prompt, std::uint64_t fileSize, LogFileEnd logEnd);
int LoadGameFile(RaceData& race, IRaceFile& file, IPrompt& prompt, std::uint64_t fileSize,
                 std::uint32_t magic);

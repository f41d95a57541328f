#pragma once

#include "ScriptedPrompt.h"
#include "data/RaceData.h"
#include "data/RaceFileLoader.h"
#include "tools/racefile/MemoryRaceFile.h"
#include "tools/racefile/RaceFileWriter.h"
#include "tools/racefile/ThreeCarRace.h"

#include <string>

// Everything a load can change, as text, so that a failed comparison shows what differs.
std::string Snapshot(const RaceData& race);

int Load(RaceData& race, const Bytes& file, ScriptedPrompt& prompt);
int Load(RaceData& race, const Bytes& file);

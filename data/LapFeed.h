#pragma once

#include "data/RaceData.h"

#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// Turns successive reads of a race into the laps not seen before, each once, as NDJSON lines
// with the fields and values of the CSV export. A lap is known by its car byte, driver name and
// lap number, so a race built afresh on every read gives only what is new.
class LapFeed {
public:
    // One JSON object per new lap (no line end), in race-time order within this read.
    std::vector<std::string> NewLaps(const RaceData& race);

private:
    std::set<std::tuple<std::uint8_t, std::string, int>> m_seen;
};

// {"type":"file",...}: a followed file's state changed.
std::string FileStatusLine(const std::string& file, const char* status, const std::string& message);

#pragma once

// The race in the forms other tools read: the laps as CSV, the summary as text and as JSON.
// Stable formats; the command-line tool and the viewer's Export write the same bytes.

#include "data/RaceData.h"
#include "data/RaceSummary.h"

#include <ostream>
#include <string>

constexpr const char* kLapsCsvHeader =
    "driver,car,id,lap,position,raceTime,lapTime,gapToLeader,flags,eventTime";

// RFC 4180: CRLF line ends, a header, one row per lap a driver has, drivers in array order.
void WriteLapsCsv(std::ostream& out, const RaceData& race);
void WriteSummaryText(std::ostream& out, const RaceData& race, const RaceSummary& summary);
void WriteSummaryJson(std::ostream& out, const RaceSummary& summary);

// "+0:09.089", "+1 lap", "+2 laps"; empty for the winner and where no time can be shown.
std::string FinishGapText(const FinishEntry& entry, bool winner);
// "A", "B" or "A B": the events a lap's flags record.
std::string EventKindsText(std::uint32_t flags);

// A name from the files as UTF-8 text: its bytes are the game's Western code page, taken as
// Latin-1; control characters become '?'.
std::string NameAsUtf8(const std::string& name);
// Characters, not bytes, of UTF-8 text: columns of text tables line up by them.
std::size_t Utf8Length(const std::string& text);

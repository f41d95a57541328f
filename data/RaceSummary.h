#pragma once

// What a race fan or a steward asks after a race: the finishing order, who led when, the fastest
// lap and the laps with events. Arithmetic only; the dialog, the CLI and the export print it.

#include "data/RaceData.h"

#include <optional>
#include <string>
#include <vector>

struct FinishEntry {
    int driver = 0; // index into the race's driver array
    std::uint8_t car = 0;
    std::string name;
    int laps = 0;                     // lap slots, the number of the last lap
    std::uint32_t raceTime = kNoTime; // race time at the last lap slot
    int lapsDown = 0;                 // behind the winner
    std::uint32_t gap = 0;            // to the winner, ms; only when lapsDown is 0
};

struct LeaderRun {
    int driver = 0;
    std::uint8_t car = 0;
    int fromLap = 0; // lap numbers, 1-based, inclusive
    int toLap = 0;
};

struct LapsLed {
    int driver = 0;
    std::uint8_t car = 0;
    int laps = 0;
};

struct FastestLap {
    int driver = 0;
    std::uint8_t car = 0;
    int lap = 0;
    std::uint32_t lapTime = 0;
};

struct EventLap {
    int driver = 0;
    std::uint8_t car = 0;
    int lap = 0;
    std::uint32_t flags = 0;
    std::uint32_t eventTime = 0;
    std::uint32_t raceTime = 0;
    std::uint32_t lapTime = 0;
};

struct RaceSummary {
    std::vector<FinishEntry> finishOrder;
    std::vector<LeaderRun> leaders; // in lap order
    std::vector<LapsLed> lapsLed;   // most laps first, then finishing order
    std::optional<FastestLap> fastestLap;
    std::vector<EventLap> events; // drivers in array order, laps ascending
};

RaceSummary SummariseRace(const RaceData& race);

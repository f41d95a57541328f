#pragma once

#include "tools/racefile/RaceDescription.h"

#include <ostream>

// Races that load but push the chart to its limits: race and lap times at the 32-bit extremes and
// at the no-time mark, stray car bytes and lap numbers, both kinds of event on every lap, a full
// field of 63 cars by 127 laps.
namespace hostile {

constexpr int kCars = 63;
constexpr int kLaps = 127;

// How the times of one race are chosen.
enum class Pattern {
    Extremes,   // every time from the table of extremes
    SplitField, // odd cars steady, even cars at the extremes: every line spans the chart
    Swinging,   // the leader's times leap between the extremes, lap after lap
    StrayBytes, // steady times under stray car bytes and lap numbers, events at the extremes
};
constexpr Pattern kPatterns[] = {Pattern::Extremes, Pattern::SplitField, Pattern::Swinging,
                                 Pattern::StrayBytes};

RaceDescription HostileRace(Pattern pattern);

// "SplitField": the pattern's name, also as test output prints it.
const char* PatternName(Pattern pattern);
inline std::ostream& operator<<(std::ostream& out, Pattern pattern) {
    return out << PatternName(pattern);
}

} // namespace hostile

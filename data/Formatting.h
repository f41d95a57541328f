#pragma once

#include <cstdint>
#include <string>

// Longest texts plus the terminating NUL: "4473:55.455" and "74h33m55.455s".
constexpr int kLapTimeTextSize = 12;
constexpr int kRaceTimeTextSize = 14;

// Splits a time into the units asked for; a unit not asked for is absorbed by the next smaller one.
// False (and nothing written) for a time with one of its top four bits set.
bool SplitTime(std::uint32_t* hours, std::uint32_t* minutes, std::uint32_t* seconds,
               std::uint32_t* milliseconds, std::uint32_t time);

// Write into buffer (at least kLapTimeTextSize / kRaceTimeTextSize chars) and return it; with a
// null buffer they use one static buffer of their own, valid until their next call.
char* FormatLapTime(char* buffer, std::uint32_t time);
char* FormatRaceTime(char* buffer, std::uint32_t time);
// The same texts as strings of their own.
std::string LapTimeText(std::uint32_t time);
std::string RaceTimeText(std::uint32_t time);

// Name of a track number 0..15, "???" otherwise.
const char* TrackName(int trackNumber);

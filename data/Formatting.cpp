#include "data/Formatting.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t kUndisplayableBits = 0xF0000000;
constexpr std::uint32_t kMillisecondsPerHour = 3600000;
constexpr std::uint32_t kMillisecondsPerMinute = 60000;
constexpr std::uint32_t kMillisecondsPerSecond = 1000;

constexpr const char* kNoLapTimeText = "-:--.---";
constexpr const char* kNoRaceTimeText = "------------";

constexpr std::array<const char*, 16> kTrackNames = {
    "Interlagos",  "Aida",        "Imola",  "Monte Carlo",       "Barcelona", "Montreal",
    "Magny-Cours", "Silverstone", "Hockenheim", "Hungaroring", "Spa-Francorchamps", "Monza",
    "Estoril",     "Jerez",       "Suzuka", "Adelaide",
};

// Takes whole units of the given size out of rest when the caller wants them.
void TakeUnit(std::uint32_t* unit, std::uint32_t size, std::uint32_t& rest) {
    if (!unit)
        return;
    *unit = rest / size;
    rest %= size;
}

} // namespace

bool SplitTime(std::uint32_t* hours, std::uint32_t* minutes, std::uint32_t* seconds,
               std::uint32_t* milliseconds, std::uint32_t time) {
    if (time & kUndisplayableBits)
        return false;
    std::uint32_t rest = time;
    TakeUnit(hours, kMillisecondsPerHour, rest);
    TakeUnit(minutes, kMillisecondsPerMinute, rest);
    TakeUnit(seconds, kMillisecondsPerSecond, rest);
    if (milliseconds)
        *milliseconds = rest;
    return true;
}

char* FormatLapTime(char* buffer, std::uint32_t time) {
    // Only the user-interface thread formats times, so one buffer serves every null-buffer call.
    static char ownText[kLapTimeTextSize];
    char* text = buffer ? buffer : ownText;
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;
    std::uint32_t milliseconds = 0;
    if (!SplitTime(nullptr, &minutes, &seconds, &milliseconds, time))
        std::memcpy(text, kNoLapTimeText, std::strlen(kNoLapTimeText) + 1);
    else
        std::snprintf(text, kLapTimeTextSize, "%lu:%02lu.%03lu", static_cast<unsigned long>(minutes),
                      static_cast<unsigned long>(seconds), static_cast<unsigned long>(milliseconds));
    return text;
}

char* FormatRaceTime(char* buffer, std::uint32_t time) {
    static char ownText[kRaceTimeTextSize];
    char* text = buffer ? buffer : ownText;
    std::uint32_t hours = 0;
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;
    std::uint32_t milliseconds = 0;
    if (!SplitTime(&hours, &minutes, &seconds, &milliseconds, time))
        std::memcpy(text, kNoRaceTimeText, std::strlen(kNoRaceTimeText) + 1);
    else
        std::snprintf(text, kRaceTimeTextSize, "%luh%02lum%02lu.%03lus", static_cast<unsigned long>(hours),
                      static_cast<unsigned long>(minutes), static_cast<unsigned long>(seconds),
                      static_cast<unsigned long>(milliseconds));
    return text;
}

const char* TrackName(int trackNumber) {
    if (trackNumber < 0 || trackNumber >= static_cast<int>(kTrackNames.size()))
        return "???";
    return kTrackNames[static_cast<std::size_t>(trackNumber)];
}

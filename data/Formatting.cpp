#include "data/Formatting.h"

#include <array>
#include <cstring>

namespace {

constexpr std::uint32_t kUndisplayableBits = 0xF0000000;
constexpr std::uint32_t kMillisecondsPerHour = 3600000;
constexpr std::uint32_t kMillisecondsPerMinute = 60000;
constexpr std::uint32_t kMillisecondsPerSecond = 1000;

constexpr const char* kNoLapTimeText = "-:--.---";
constexpr const char* kNoRaceTimeText = "------------";

constexpr std::array<const char*, 16> kTrackNames = {
    "Interlagos",  "Aida",        "Imola",      "Monte Carlo", "Barcelona",         "Montreal",
    "Magny-Cours", "Silverstone", "Hockenheim", "Hungaroring", "Spa-Francorchamps", "Monza",
    "Estoril",     "Jerez",       "Suzuka",     "Adelaide",
};

// Takes whole units of the given size out of rest when the caller wants them.
void TakeUnit(std::uint32_t* unit, std::uint32_t size, std::uint32_t& rest) {
    if (!unit)
        return;
    *unit = rest / size;
    rest %= size;
}

// Writes value in decimal with at least minimumDigits digits, zero-padded, and moves out past it.
void PutNumber(char*& out, std::uint32_t value, int minimumDigits) {
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = count; pad < minimumDigits; ++pad)
        *out++ = '0';
    while (count > 0)
        *out++ = digits[--count];
}

// "%lu:%02lu.%03lu"
void PutLapTime(char* text, std::uint32_t minutes, std::uint32_t seconds, std::uint32_t milliseconds) {
    PutNumber(text, minutes, 1);
    *text++ = ':';
    PutNumber(text, seconds, 2);
    *text++ = '.';
    PutNumber(text, milliseconds, 3);
    *text = '\0';
}

// "%luh%02lum%02lu.%03lus"
void PutRaceTime(char* text, std::uint32_t hours, std::uint32_t minutes, std::uint32_t seconds,
                 std::uint32_t milliseconds) {
    PutNumber(text, hours, 1);
    *text++ = 'h';
    PutNumber(text, minutes, 2);
    *text++ = 'm';
    PutNumber(text, seconds, 2);
    *text++ = '.';
    PutNumber(text, milliseconds, 3);
    *text++ = 's';
    *text = '\0';
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
    std::uint32_t minutes{};
    std::uint32_t seconds{};
    std::uint32_t milliseconds{};
    if (!SplitTime(nullptr, &minutes, &seconds, &milliseconds, time))
        std::memcpy(text, kNoLapTimeText, std::strlen(kNoLapTimeText) + 1);
    else
        PutLapTime(text, minutes, seconds, milliseconds);
    return text;
}

char* FormatRaceTime(char* buffer, std::uint32_t time) {
    static char ownText[kRaceTimeTextSize];
    char* text = buffer ? buffer : ownText;
    std::uint32_t hours{};
    std::uint32_t minutes{};
    std::uint32_t seconds{};
    std::uint32_t milliseconds{};
    if (!SplitTime(&hours, &minutes, &seconds, &milliseconds, time))
        std::memcpy(text, kNoRaceTimeText, std::strlen(kNoRaceTimeText) + 1);
    else
        PutRaceTime(text, hours, minutes, seconds, milliseconds);
    return text;
}

const char* TrackName(int trackNumber) {
    if (trackNumber < 0 || trackNumber >= static_cast<int>(kTrackNames.size()))
        return "???";
    return kTrackNames[static_cast<std::size_t>(trackNumber)];
}

std::string LapTimeText(std::uint32_t time) {
    char text[kLapTimeTextSize];
    return FormatLapTime(text, time);
}

std::string RaceTimeText(std::uint32_t time) {
    char text[kRaceTimeTextSize];
    return FormatRaceTime(text, time);
}

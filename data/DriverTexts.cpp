#include "DriverTexts.h"

#include "Formatting.h"

#include <cstdio>

namespace {

constexpr std::uint8_t kCarNumberMask = 63;
constexpr std::uint8_t kMarkerPercent = 0x40;
constexpr std::uint8_t kMarkerHash = 0x80;

char CarMarker(std::uint8_t car) {
    if (car & kMarkerPercent)
        return '%';
    if (car & kMarkerHash)
        return '#';
    return ' ';
}

} // namespace

std::string CarIdText(std::uint8_t car) {
    char text[8];
    std::snprintf(text, sizeof text, "%c %d", CarMarker(car), car & kCarNumberMask);
    return text;
}

DriverTexts MakeDriverTexts(DriverRecord& driver) {
    DriverTexts texts;
    texts.name = driver.GetName();
    if (texts.name.empty())
        texts.name = kNoDriverName;
    char raceTime[kRaceTimeTextSize];
    texts.raceTime = FormatRaceTime(raceTime, driver.GetLastRaceTime());
    texts.laps = std::to_string(driver.laps.GetSize() - 1);
    char lapTime[kLapTimeTextSize];
    texts.fastestLap = FormatLapTime(lapTime, driver.GetFastestLap());
    texts.id = CarIdText(driver.car);
    return texts;
}

#pragma once

#include "RaceData.h"

#include <string>

// What the driver list shows for one driver, column by column.
struct DriverTexts {
    std::string name;
    std::string raceTime;
    std::string laps;
    std::string fastestLap;
    std::string id;
};

constexpr const char* kNoDriverName = "<no name>";

// Not const: asking for the fastest lap fills the driver's cache.
DriverTexts MakeDriverTexts(DriverRecord& driver);

// "%c %d": the marker of the car byte's bits 6 and 7, then the car number.
std::string CarIdText(std::uint8_t car);

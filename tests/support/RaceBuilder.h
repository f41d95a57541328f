#pragma once

#include "data/RaceData.h"

#include <memory>
#include <string>
#include <vector>

// Races put together record by record, for tests of the race model that need no file.
struct LapPlan {
    std::uint32_t raceTime; // 0 leaves the slot empty
    std::uint32_t lapTime = 0;
    std::uint32_t flags = 0;
    std::uint32_t eventTime = 0;
};

// One lap per slot, in slot order.
inline std::unique_ptr<DriverRecord> MakeDriver(std::uint8_t car, std::string name,
                                                const std::vector<LapPlan>& laps) {
    auto driver = std::make_unique<DriverRecord>(car, std::move(name), 0);
    for (std::size_t slot = 0; slot < laps.size(); ++slot) {
        const LapPlan& lap = laps[slot];
        if (lap.raceTime != 0)
            driver->laps.SetAt(
                static_cast<int>(slot),
                std::make_unique<LapRecord>(LapRecord{lap.flags, lap.raceTime, lap.lapTime, lap.eventTime}));
    }
    return driver;
}

// Puts the driver last, whatever the sort key would say.
inline void AppendDriver(RaceData& race, std::unique_ptr<DriverRecord> driver) {
    race.drivers->DriverArray::InsertAt(race.drivers->GetCount(), std::move(driver));
}

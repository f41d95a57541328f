#include "LoaderTestSupport.h"

#include <sstream>

RaceDescription ThreeCarRace() {
    RaceDescription race;
    race.trackId = 3;
    race.trackCode = 0x12345678;
    race.trackName = "Port Haddon";
    const std::uint32_t paces[] = {80000, 81000, 83500};
    const std::uint8_t cars[] = {1, 2, 0x47};
    const char* names[] = {"Alma Rydberg", "Bo Castell", "Cyr Lindqvist"};
    for (int c = 0; c < 3; ++c) {
        CarDescription car{cars[c], names[c], {}};
        std::uint32_t raceTime = 0;
        for (std::uint8_t lap = 1; lap <= 5; ++lap) {
            const std::uint32_t lapTime = paces[c] + lap * 37 + (lap == 3 && c == 1 ? 20000 : 0);
            raceTime += lapTime;
            car.laps.push_back({lap, raceTime, lapTime, lap == 3 && c == 1});
        }
        race.cars.push_back(car);
    }
    race.events.push_back({EventType::A, 2, 3, race.cars[1].laps[2].raceTime + 15000});
    race.events.push_back({EventType::B, 0x47, 2, race.cars[2].laps[2].raceTime + 900});
    return race;
}

std::string Snapshot(const RaceData& race) {
    std::ostringstream text;
    text << "track " << int{race.trackId} << ' ' << race.trackCode << " '" << race.trackName << "' laps "
         << race.lapCount << " gap " << race.maxGap << " colour " << race.nextColour << " key "
         << race.drivers->sortKey << ' ' << race.drivers->descending << "\nleader";
    for (const std::uint32_t t : race.leaderTimes)
        text << ' ' << t;
    text << "\nlast";
    for (const std::uint32_t t : race.lastTimes)
        text << ' ' << t;
    for (int i = 0; i < race.drivers->GetCount(); ++i) {
        const DriverRecord& driver = *race.drivers->GetAt(i);
        text << "\ncar " << int{driver.car} << " '" << driver.name << "' " << driver.colour << ':';
        for (int slot = 0; slot < driver.laps.GetSize(); ++slot) {
            const LapRecord* lap = driver.laps.GetAt(slot);
            if (lap)
                text << " [" << lap->flags << ' ' << lap->raceTime << ' ' << lap->lapTime << ' '
                     << lap->eventTime << ']';
            else
                text << " -";
        }
    }
    return text.str();
}

int Load(RaceData& race, const Bytes& file, ScriptedPrompt& prompt) {
    MemoryRaceFile memory(file);
    return LoadRaceFile(race, memory, prompt);
}

int Load(RaceData& race, const Bytes& file) {
    ScriptedPrompt prompt;
    return Load(race, file, prompt);
}

#include "tools/racefile/ThreeCarRace.h"

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

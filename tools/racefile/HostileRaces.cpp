#include "tools/racefile/HostileRaces.h"

#include <array>
#include <cstdint>
#include <string>

namespace hostile {
namespace {

// The times a logger should never write, and the no-time mark with its neighbours.
constexpr std::array<std::uint32_t, 8> kExtremeTimes = {0,          1,          0x7FFFFFFF, 0x80000000,
                                                        0xFFFFFFFF, 0x10000000, 0x0FFFFFFF, 0x10000001};
constexpr std::uint32_t kSteadyLapMs = 90'000;
constexpr std::uint8_t kMarkerBits = 0xC0;
// Late on the clock, yet below the no-time mark that no leader passes.
constexpr std::uint32_t kLateClock = 0x0F000000;

std::uint32_t Extreme(int index) {
    return kExtremeTimes[static_cast<std::size_t>(index) % kExtremeTimes.size()];
}

std::uint32_t SteadyTime(int car, int lap) {
    return static_cast<std::uint32_t>(lap) * kSteadyLapMs + static_cast<std::uint32_t>(car) * 250;
}

std::uint32_t RaceTime(Pattern pattern, int car, int lap) {
    switch (pattern) {
    case Pattern::Extremes:
        return Extreme(car * 7 + lap * 3);
    case Pattern::SplitField:
        return car % 2 == 1 ? SteadyTime(car, lap) : Extreme(car + lap);
    case Pattern::Swinging:
        // The field stays within a second, so the chart zooms right in, while the slots leap
        // between the start and the end of the clock.
        return static_cast<std::uint32_t>(lap) * kSteadyLapMs + static_cast<std::uint32_t>(car) * 10 +
               (lap % 2 == 0 ? kLateClock : 0);
    case Pattern::StrayBytes:
        return SteadyTime(car, lap);
    }
    return 0;
}

// Both kinds of event on every lap. A swinging field keeps its events before its laps, so that
// they stretch the marks without zooming the chart out.
std::uint32_t EventTime(Pattern pattern, int car, int lap) {
    if (pattern == Pattern::Swinging)
        return Extreme(car + lap) % 2;
    return Extreme(car * 3 + lap);
}

// Car numbers 1 to 63; stray races also set the marker bits and repeat numbers.
std::uint8_t CarByte(Pattern pattern, int car) {
    if (pattern != Pattern::StrayBytes)
        return static_cast<std::uint8_t>(car);
    if (car % 5 == 0)
        return static_cast<std::uint8_t>((car % 7) | kMarkerBits);
    return static_cast<std::uint8_t>(car % 3 == 0 ? car | 0x40 : car);
}

// Lap numbers 1 to 127; stray races also write 0, 128 and 255 and go back in time.
std::uint8_t LapNumber(Pattern pattern, int car, int lap) {
    if (pattern != Pattern::StrayBytes || (car + lap) % 9 != 0)
        return static_cast<std::uint8_t>(lap);
    constexpr std::array<std::uint8_t, 4> kStray = {0, 128, 255, 3};
    return kStray[static_cast<std::size_t>(car + lap) % kStray.size()];
}

} // namespace

RaceDescription HostileRace(Pattern pattern) {
    RaceDescription race;
    for (int car = 1; car <= kCars; ++car) {
        CarDescription description;
        description.car = CarByte(pattern, car);
        description.name = "Car " + std::to_string(car);
        for (int lap = 1; lap <= kLaps; ++lap) {
            const std::uint8_t lapNumber = LapNumber(pattern, car, lap);
            description.laps.push_back(
                {lapNumber, RaceTime(pattern, car, lap), Extreme(car + lap * 5), lap % 4 == 0});
            race.events.push_back({EventType::A, description.car, lapNumber, EventTime(pattern, car, lap)});
            race.events.push_back(
                {EventType::B, description.car, lapNumber, EventTime(pattern, car, lap + 1)});
        }
        race.cars.push_back(std::move(description));
    }
    return race;
}

const char* PatternName(Pattern pattern) {
    constexpr const char* kNames[] = {"Extremes", "SplitField", "Swinging", "StrayBytes"};
    return kNames[static_cast<int>(pattern)];
}

} // namespace hostile

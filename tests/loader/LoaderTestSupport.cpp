#include "LoaderTestSupport.h"

#include <sstream>

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

#include "data/LapFeed.h"

#include "data/DriverTexts.h"
#include "data/JsonText.h"
#include "data/RacePositions.h"

#include <algorithm>

namespace {

struct NewLap {
    std::uint32_t raceTime;
    int driver;
    int slot;
};

// As in the CSV export: control bytes show as '?'. JsonString writes the other bytes above 0x7E
// as \u00XX, which reads them as Latin-1 as the export does.
std::string NameField(const std::string& name) {
    std::string shown = name;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
            c = '?';
    }
    return JsonString(shown);
}

std::string LapLine(const RaceData& race, const RacePositions& positions, const NewLap& entry) {
    const DriverRecord& driver = *race.drivers->GetAt(entry.driver);
    const LapRecord& lap = *driver.laps.GetAt(entry.slot);
    const int leader = positions.DriverAt(entry.slot, 1);
    // The leader has the smallest race time of the slot, so the gap never wraps.
    const std::uint32_t gap = lap.raceTime - race.drivers->GetAt(leader)->laps.GetAt(entry.slot)->raceTime;
    return std::string("{\"type\":\"lap\",\"driver\":") + NameField(driver.name) +
           ",\"car\":" + std::to_string(driver.car) + ",\"id\":" + JsonString(CarIdText(driver.car)) +
           ",\"lap\":" + std::to_string(entry.slot + 1) +
           ",\"position\":" + std::to_string(positions.At(entry.driver, entry.slot)) +
           ",\"raceTime\":" + std::to_string(lap.raceTime) + ",\"lapTime\":" + std::to_string(lap.lapTime) +
           ",\"gapToLeader\":" + std::to_string(gap) + ",\"flags\":" + std::to_string(lap.flags) +
           ",\"eventTime\":" + std::to_string(lap.eventTime) + "}";
}

} // namespace

std::vector<std::string> LapFeed::NewLaps(const RaceData& race) {
    std::vector<NewLap> fresh;
    for (int driver = 0; driver < race.drivers->GetCount(); ++driver) {
        const DriverRecord& record = *race.drivers->GetAt(driver);
        for (int slot = 0; slot < record.laps.GetSize(); ++slot) {
            const LapRecord* lap = record.laps.GetAt(slot);
            if (lap != nullptr && m_seen.emplace(record.car, record.name, slot).second)
                fresh.push_back({lap->raceTime, driver, slot});
        }
    }
    std::stable_sort(fresh.begin(), fresh.end(),
                     [](const NewLap& a, const NewLap& b) { return a.raceTime < b.raceTime; });
    std::vector<std::string> lines;
    if (fresh.empty())
        return lines;
    const RacePositions positions(race);
    for (const NewLap& entry : fresh)
        lines.push_back(LapLine(race, positions, entry));
    return lines;
}

std::string FileStatusLine(const std::string& file, const char* status, const std::string& message) {
    return std::string("{\"type\":\"file\",\"file\":") + JsonString(file) +
           ",\"status\":" + JsonString(status) + ",\"message\":" + JsonString(message) + "}";
}

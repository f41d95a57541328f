// dump: the race after loading, as JSON, for scripts and for comparing two loads.
#include "Commands.h"
#include "LoadFiles.h"
#include "data/DriverTexts.h"
#include "data/JsonText.h"
#include "data/RaceData.h"

namespace {

void WriteTimes(std::ostream& out, const std::vector<std::uint32_t>& times) {
    out << '[';
    for (std::size_t i = 0; i < times.size(); ++i)
        out << (i ? ", " : "") << times[i];
    out << ']';
}

void WriteLaps(std::ostream& out, const LapArray& laps) {
    out << '[';
    for (int slot = 0; slot < laps.GetSize(); ++slot) {
        out << (slot ? ",\n        " : "\n        ");
        const LapRecord* lap = laps.GetAt(slot);
        if (!lap) {
            out << "null";
            continue;
        }
        out << "{\"flags\": " << lap->flags << ", \"raceTime\": " << lap->raceTime
            << ", \"lapTime\": " << lap->lapTime << ", \"eventTime\": " << lap->eventTime << '}';
    }
    out << (laps.GetSize() ? "\n      ]" : "]");
}

void WriteDriver(std::ostream& out, DriverRecord& driver) {
    const DriverTexts texts = MakeDriverTexts(driver);
    out << "{\n"
        << "      \"name\": " << JsonString(driver.name) << ",\n"
        << "      \"car\": " << int{driver.car} << ",\n"
        << "      \"colour\": " << driver.colour << ",\n"
        << "      \"fastestLap\": " << driver.GetFastestLap() << ",\n"
        << "      \"lastRaceTime\": " << driver.GetLastRaceTime() << ",\n"
        << "      \"timeText\": " << JsonString(texts.raceTime) << ",\n"
        << "      \"lapsText\": " << JsonString(texts.laps) << ",\n"
        << "      \"fastestLapText\": " << JsonString(texts.fastestLap) << ",\n"
        << "      \"idText\": " << JsonString(texts.id) << ",\n"
        << "      \"laps\": ";
    WriteLaps(out, driver.laps);
    out << "\n    }";
}

void WriteRace(std::ostream& out, RaceData& race) {
    out << "{\n"
        << "  \"trackId\": " << int{race.trackId} << ",\n"
        << "  \"trackCode\": " << race.trackCode << ",\n"
        << "  \"trackName\": " << JsonString(race.trackName) << ",\n"
        << "  \"lapCount\": " << race.lapCount << ",\n"
        << "  \"maxGap\": " << race.maxGap << ",\n"
        << "  \"leaderTimes\": ";
    WriteTimes(out, race.leaderTimes);
    out << ",\n  \"lastTimes\": ";
    WriteTimes(out, race.lastTimes);
    out << ",\n  \"drivers\": [";
    const int count = race.drivers->GetCount();
    for (int i = 0; i < count; ++i) {
        out << (i ? ", " : "\n    ");
        WriteDriver(out, *race.drivers->GetAt(i));
    }
    out << (count ? "\n  ]\n}\n" : "]\n}\n");
}

} // namespace

int RunDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<LoadArguments> arguments = ParseLoadArguments(args, error);
    if (!arguments)
        return BadUsage(err, "dump", error);
    RaceData race;
    const LoadOutcome outcome = LoadFiles(race, *arguments, err);
    WriteRace(out, race);
    return outcome.refused ? kExitFailed : kExitDone;
}

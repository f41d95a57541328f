// Writes the bundled sample race, a synthetic race of 20 cars, as a version-3 log file and as a
// compressed race file; both load to the same race.
//
//   tarmio-make-samples [OUTPUT_FOLDER]     (default: samples)
//   tarmio-make-samples --hostile FILE      a short race whose names are markup, for the web report
#include "tools/racefile/RaceFileWriter.h"
#include "tools/racefile/WriteBytes.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <random>
#include <string>

namespace {

constexpr std::uint32_t kSeed = 20240607;
constexpr int kRaceLaps = 56;
constexpr std::uint32_t kStartLapExtra = 6500; // standing start
constexpr std::uint32_t kPitLaneLoss = 4200;   // in-lap slower by the pit lane
constexpr std::uint32_t kRetiredCarLaps = 23;

struct Entrant {
    const char* name;
    std::uint8_t car;
    std::uint32_t pace; // clean lap, ms
};

// The player's car carries the logger's marker bit 7.
constexpr Entrant kEntrants[] = {
    {"Aurelio Vantini", 1, 81200}, {"Mika Lahtonen", 2, 81450},         {"Jonas Brekke", 5, 81700},
    {"Theo Marchetti", 6, 81900},  {"Rafael Quintero", 7, 82150},       {"Lukas Weidner", 8, 82300},
    {"Henri Dubosc", 11, 82500},   {"Oskar Lindqvist", 12, 82650},      {"Paolo Ferrante", 14, 82800},
    {"Declan Moyes", 15, 83000},   {"Kenji Arakawa", 0x80 | 16, 83150}, {"Sven Haraldsen", 17, 83300},
    {"Marco Belluzzi", 18, 83500}, {"Emile Roussel", 19, 83700},        {"Tomas Kriz", 20, 83900},
    {"Andre Valmont", 21, 84150},  {"Ivo Petrakis", 22, 84400},         {"Niall Garrity", 23, 84700},
    {"Bruno Castelao", 24, 85000}, {"Felix Ostrander", 25, 85400},
};

class Noise {
public:
    // mt19937 is specified bit for bit, so the samples come out the same everywhere.
    std::uint32_t Below(std::uint32_t bound) { return m_engine() % bound; }
    std::int32_t Around(std::int32_t spread) {
        return static_cast<std::int32_t>(Below(2 * spread + 1)) - spread;
    }

private:
    std::mt19937 m_engine{kSeed};
};

struct Plan {
    std::vector<int> pitLaps;
    int lastLap = kRaceLaps; // an earlier lap for the retired car
};

std::vector<Plan> MakePlans(Noise& noise) {
    std::vector<Plan> plans(std::size(kEntrants));
    for (Plan& plan : plans) {
        const bool twoStops = noise.Below(3) == 0;
        if (twoStops) {
            plan.pitLaps = {16 + static_cast<int>(noise.Below(6)), 36 + static_cast<int>(noise.Below(6))};
        } else {
            plan.pitLaps = {24 + static_cast<int>(noise.Below(10))};
        }
    }
    plans[13].lastLap = kRetiredCarLaps;
    return plans;
}

std::uint32_t LapTime(const Entrant& entrant, int lap, const Plan& plan, Noise& noise) {
    std::int64_t time = entrant.pace + noise.Around(900);
    if (lap == 1)
        time += kStartLapExtra;
    // Fuel burns off over the race: later laps are a little quicker.
    time -= lap * 18;
    if (std::find(plan.pitLaps.begin(), plan.pitLaps.end(), lap) != plan.pitLaps.end())
        time += kPitLaneLoss;
    if (std::find(plan.pitLaps.begin(), plan.pitLaps.end(), lap - 1) != plan.pitLaps.end())
        time += 17000 + noise.Below(4000); // standing in the pit box, then the out-lap
    return static_cast<std::uint32_t>(time);
}

RaceDescription MakeRace() {
    Noise noise;
    const std::vector<Plan> plans = MakePlans(noise);
    RaceDescription race;
    race.trackId = 7;
    race.trackCode = 0x4B375731;
    race.trackName = "Brackwater Park";
    race.ownTrackName = true;

    // Every car runs the full distance first; the laps after the winner has finished are cut below.
    std::vector<std::vector<LapDescription>> laps(std::size(kEntrants));
    for (std::size_t i = 0; i < std::size(kEntrants); ++i) {
        std::uint32_t raceTime = 0;
        for (int lap = 1; lap <= plans[i].lastLap; ++lap) {
            const std::uint32_t lapTime = LapTime(kEntrants[i], lap, plans[i], noise);
            raceTime += lapTime;
            const bool inLap =
                std::find(plans[i].pitLaps.begin(), plans[i].pitLaps.end(), lap) != plans[i].pitLaps.end();
            laps[i].push_back({static_cast<std::uint8_t>(lap), raceTime, lapTime, inLap});
        }
    }
    std::uint32_t winnerTime = UINT32_MAX;
    for (const auto& carLaps : laps)
        if (carLaps.size() == kRaceLaps)
            winnerTime = std::min(winnerTime, carLaps.back().raceTime);
    for (auto& carLaps : laps) {
        // A car finishes the lap it is on when the winner crosses the line: lapped cars do fewer laps.
        std::size_t kept = 1;
        while (kept < carLaps.size() && carLaps[kept - 1].raceTime < winnerTime)
            ++kept;
        carLaps.resize(kept);
    }

    for (std::size_t i = 0; i < std::size(kEntrants); ++i) {
        race.cars.push_back({kEntrants[i].car, kEntrants[i].name, laps[i]});
        for (const int pitLap : plans[i].pitLaps) {
            if (pitLap >= static_cast<int>(laps[i].size()))
                continue;
            // The stop: the car leaves the pit box some seconds after crossing the line.
            const std::uint32_t leaves = laps[i][pitLap - 1].raceTime + 14000 + noise.Below(3000);
            race.events.push_back(
                {EventType::A, kEntrants[i].car, static_cast<std::uint8_t>(pitLap), leaves});
        }
    }
    // A few incidents, logged against the lap after the one named in the record.
    for (const std::size_t i : {3u, 9u, 16u}) {
        const int lap = 8 + static_cast<int>(noise.Below(30));
        if (lap + 1 >= static_cast<int>(laps[i].size()))
            continue;
        const std::uint32_t at = laps[i][lap].raceTime + 1500 + noise.Below(2000);
        race.events.push_back({EventType::B, kEntrants[i].car, static_cast<std::uint8_t>(lap), at});
    }
    return race;
}

// Names that would run script or add markup if a page took them as HTML; a name entry holds 23
// bytes, so the longer ones arrive cut.
RaceDescription MakeHostileRace() {
    constexpr const char* kHostileNames[] = {"<script>alert(1)</script>", "\"><img src=x onerror=alert(1)>",
                                             "'><svg/onload=alert(1)>", "&lt;b&gt;&amp;"};
    RaceDescription race;
    race.trackName = "<b>Track</b>";
    std::uint8_t car = 1;
    for (const char* name : kHostileNames) {
        std::vector<LapDescription> laps;
        std::uint32_t raceTime = 0;
        for (std::uint8_t lap = 1; lap <= 5; ++lap) {
            const std::uint32_t lapTime = 80000 + car * 700 + lap * 50;
            raceTime += lapTime;
            laps.push_back({lap, raceTime, lapTime, false});
        }
        race.cars.push_back({car++, name, laps});
    }
    return race;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    if (!WriteBytes(path, bytes)) {
        std::cerr << "tarmio-make-samples: cannot write " << path << '\n';
        return false;
    }
    std::cout << path << " (" << bytes.size() << " bytes)\n";
    return true;
}

} // namespace

int main(int argc, char** argv) {
    constexpr const char* kUsage = "usage: tarmio-make-samples [OUTPUT_FOLDER]\n"
                                   "       tarmio-make-samples --hostile FILE\n";
    const std::string argument = argc >= 2 ? argv[1] : "";
    if (argument == "--hostile" && argc == 3)
        return WriteFile(argv[2], RaceFileWriter::LogFile(MakeHostileRace())) ? 0 : 1;
    if (argument == "--help" || argument == "-h") {
        std::cout << kUsage;
        return 0;
    }
    // An option it does not know is a mistake, not the name of a folder to write into.
    if (argc > 2 || argument.starts_with('-')) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string folder = argc == 2 ? argv[1] : "samples";
    const RaceDescription race = MakeRace();

    LogFileOptions log;
    log.version = 3;
    RaceFileOptions raceFile;
    raceFile.magic = kRaceMagicA;
    raceFile.fileType = 5;
    raceFile.compressed = true;
    raceFile.marker = kGameMarker;
    raceFile.gameVersion = 181;

    const bool written = WriteFile(folder + "/sample-race.zq3", RaceFileWriter::LogFile(race, log)) &&
                         WriteFile(folder + "/sample-race.ra3", RaceFileWriter::RaceFile(race, raceFile));
    return written ? 0 : 1;
}

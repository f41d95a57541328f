#include "ScriptedPrompt.h"
#include "data/RaceExport.h"
#include "data/RaceFileLoader.h"
#include "data/RaceSummary.h"
#include "tools/racefile/MemoryRaceFile.h"
#include "tools/racefile/RaceFileWriter.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// One car: its number, name and race time at the end of each lap (0: the file lacks that lap).
struct CarPlan {
    std::uint8_t car;
    std::string name;
    std::vector<std::uint32_t> raceTimes;
};

// Builds a log file of the cars and loads it, as Add would.
std::unique_ptr<RaceData>
LoadRace(const std::vector<CarPlan>& cars, std::vector<EventDescription> events = {},
         const std::vector<std::pair<std::uint8_t, std::uint8_t>>& markedLaps = {}) {
    RaceDescription description;
    for (const CarPlan& plan : cars) {
        CarDescription car{plan.car, plan.name, {}};
        std::uint32_t previous = 0;
        for (std::size_t i = 0; i < plan.raceTimes.size(); ++i) {
            if (plan.raceTimes[i] == 0)
                continue;
            const auto lap = static_cast<std::uint8_t>(i + 1);
            const bool marked =
                std::find(markedLaps.begin(), markedLaps.end(), std::pair{plan.car, lap}) != markedLaps.end();
            car.laps.push_back({lap, plan.raceTimes[i], plan.raceTimes[i] - previous, marked});
            previous = plan.raceTimes[i];
        }
        description.cars.push_back(car);
    }
    description.events = std::move(events);
    auto race = std::make_unique<RaceData>();
    MemoryRaceFile file(RaceFileWriter::LogFile(description));
    ScriptedPrompt prompt;
    EXPECT_EQ(LoadRaceFile(*race, file, prompt), 1);
    return race;
}

TEST(RaceSummary, FinishOrderIsLapsThenTimeThenNameWithGapsOrLapsDown) {
    const auto race = LoadRace({
        {3, "Cara", {100, 200, 300}},
        {1, "Abel", {90, 195, 310}},
        {2, "Bea", {95, 190}},       // lapped
        {4, "Abe", {98, 199, 310}},  // same laps and time as Abel: the name decides
        {5, "Dot", {0, 0, 330}},     // misses laps but has the last slot
        {6, "Eve", {0, 0, kNoTime}}, // a time at the no-time mark gives no gap
    });
    const RaceSummary summary = SummariseRace(*race);
    std::vector<std::string> names;
    for (const FinishEntry& entry : summary.finishOrder)
        names.push_back(entry.name + (entry.lapsDown ? " -" + std::to_string(entry.lapsDown)
                                                     : " +" + std::to_string(entry.gap)));
    EXPECT_EQ(names,
              (std::vector<std::string>{"Cara +0", "Abe +10", "Abel +10", "Dot +30", "Eve +0", "Bea -1"}));
}

TEST(RaceSummary, LeaderRunsAndLapsLedFollowThePositionRuleAndTiesKeepFinishOrder) {
    const auto race = LoadRace({
        {7, "Gil", {100, 205, 300, 400}},
        {2, "Ann", {101, 200, 305, 400}}, // level on lap 4: the lower car number leads
        {9, "Kim", {0, 0, 0, 0, 600}},    // alone on lap 5
    });
    const RaceSummary summary = SummariseRace(*race);
    std::vector<std::tuple<int, int, int>> runs;
    for (const LeaderRun& run : summary.leaders)
        runs.emplace_back(run.car, run.fromLap, run.toLap);
    EXPECT_EQ(runs, (std::vector<std::tuple<int, int, int>>{
                        {7, 1, 1}, {2, 2, 2}, {7, 3, 3}, {2, 4, 4}, {9, 5, 5}}));
    std::vector<std::pair<int, int>> led;
    for (const LapsLed& entry : summary.lapsLed)
        led.emplace_back(entry.car, entry.laps);
    EXPECT_EQ(led, (std::vector<std::pair<int, int>>{{2, 2}, {7, 2}, {9, 1}}));
}

TEST(RaceSummary, FastestLapSkipsMarkedAndEventLapsAndPrefersTheEarliestLap) {
    using Expected = std::optional<std::tuple<int, int, std::uint32_t>>; // car, lap, time
    const EventDescription eventOnCar1Lap2{EventType::A, 1, 2, 175};
    const std::tuple<std::vector<CarPlan>, std::vector<EventDescription>, Expected> cases[] = {
        {{{1, "A", {90, 170, 255}}, {2, "B", {95, 180, 260}}}, {}, {{1, 2, 80}}},
        {{{1, "A", {90, 170, 255}}, {2, "B", {95, 180, 250}}}, {eventOnCar1Lap2}, {{2, 2, 85}}},
        {{{1, "A", {90, 180, 260}}, {2, "B", {100, 180}}}, {}, {{2, 2, 80}}}, // the earlier lap
        {{{2, "B", {91, 171}}, {1, "A", {90, 170}}}, {}, {{1, 2, 80}}},       // who completed it first
        {{{2, "B", {90, 170}}, {1, "A", {90, 170}}}, {}, {{1, 2, 80}}},       // the first in the list
        {{{1, "A", {90}}, {2, "B", {0x10000000}}}, {{EventType::A, 1, 1, 95}}, std::nullopt},
    };
    for (const auto& [cars, events, expected] : cases) {
        // Car 2's third lap, where there is one, is marked.
        const RaceSummary summary = SummariseRace(*LoadRace(cars, events, {{2, 3}}));
        const std::optional<FastestLap>& fastest = summary.fastestLap;
        EXPECT_EQ(fastest ? Expected(std::tuple(int{fastest->car}, fastest->lap, fastest->lapTime))
                          : std::nullopt,
                  expected)
            << cars[1].raceTimes.back();
    }
}

TEST(RaceSummary, EventsListEachDriversEventLapsInArrayOrder) {
    // A type B event belongs to the lap after the one it names.
    const auto race =
        LoadRace({{1, "A", {90, 180, 270}}, {2, "B", {95, 185, 275}}}, {{EventType::A, 1, 1, 95},
                                                                        {EventType::B, 2, 1, 195},
                                                                        {EventType::A, 1, 3, 280},
                                                                        {EventType::A, 2, 2, 190}});
    const RaceSummary summary = SummariseRace(*race);
    std::vector<std::tuple<int, int, std::uint32_t, std::uint32_t>> events;
    for (const EventLap& event : summary.events)
        events.emplace_back(event.car, event.lap, event.flags, event.eventTime);
    EXPECT_EQ(events,
              (std::vector<std::tuple<int, int, std::uint32_t, std::uint32_t>>{
                  {1, 1, kLapEventA, 95}, {1, 3, kLapEventA, 280}, {2, 2, kLapEventA | kLapEventB, 195}}));
}

TEST(RaceSummary, EmptyRaceHasNothingToSay) {
    const RaceData race;
    std::ostringstream json;
    WriteSummaryJson(json, SummariseRace(race));
    EXPECT_EQ(json.str(),
              "{\n  \"finishOrder\": [],\n  \"leaders\": [],\n  \"lapsLed\": [],\n  \"fastestLap\": null,\n"
              "  \"events\": []\n}\n");
}

TEST(LapsCsv, OneRowPerLapWithPositionGapAndQuotedNames) {
    const auto race = LoadRace({{1, "Ann, \"Jr\"", {100, 0, 300}}, {0x82, "Bo\xe9\x01", {90, 210, 320}}},
                               {{EventType::A, 1, 3, 310}});
    std::ostringstream csv;
    WriteLapsCsv(csv, *race);
    // Race order puts Ann (3 laps, 300) first in the array.
    EXPECT_EQ(csv.str(), std::string(kLapsCsvHeader) + "\r\n" +
                             "\"Ann, \"\"Jr\"\"\",1,\"  1\",1,2,100,100,10,0,0\r\n"
                             "\"Ann, \"\"Jr\"\"\",1,\"  1\",3,1,300,200,0,2,310\r\n"
                             "Bo\xc3\xa9?,130,# 2,1,1,90,90,0,0,0\r\n"
                             "Bo\xc3\xa9?,130,# 2,2,1,210,120,0,0,0\r\n"
                             "Bo\xc3\xa9?,130,# 2,3,2,320,110,20,0,0\r\n");
}

} // namespace

TEST(RaceSummary, TextLaysOutEverySection) {
    const auto race = LoadRace({{1, "Ann", {90'000, 181'000, 272'000}},
                                {2, "", {91'000, 182'500, 273'250}},
                                {0x83, "Cy", {95'000, 190'000}}},
                               {{EventType::A, 0x83, 2, 200'000}});
    race->trackName = "Port Haddon";
    std::ostringstream text;
    WriteSummaryText(text, *race, SummariseRace(*race));
    EXPECT_EQ(text.str(), "Race summary: Port Haddon\n\n"
                          "Finishing order\n"
                          "  Pos  Driver      ID  Laps          Time  Gap\n"
                          "    1  Ann          1     3  0h04m32.000s\n"
                          "    2  <no name>    2     3  0h04m33.250s  +0:01.250\n"
                          "    3  Cy         # 3     2  0h03m10.000s  +1 lap\n"
                          "\nLaps led\n"
                          "  Ann  3\n"
                          "\nLeaders\n"
                          "  Laps 1-3  Ann\n"
                          "\nFastest lap\n"
                          "  1:30.000  Ann, lap 1\n"
                          "\nEvents\n"
                          "  Driver  Lap  Event    Event time     Race time  Lap time\n"
                          "  Cy        2  A      0h03m20.000s  0h03m10.000s  1:35.000\n");
}

// Statistics made once per Add and once per deletion: the race must end exactly as when they are
// made after every file and every removed driver.
#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Files as an Add may bring them: two fields, a repeat, a refusal, another track, an empty stream.
std::vector<Bytes> MixedFiles() {
    RaceDescription later = ThreeCarRace();
    for (CarDescription& car : later.cars) {
        car.car = static_cast<std::uint8_t>(car.car + 10);
        for (LapDescription& lap : car.laps)
            lap.raceTime += 700;
        car.laps.push_back({9, car.laps.back().raceTime + 81000, 81000, false});
    }
    RaceDescription elsewhere = later;
    elsewhere.trackCode = 99;
    RaceDescription noLaps;
    noLaps.extraStreamBytes = {0};
    RaceDescription practice = ThreeCarRace();
    practice.raceSession = false;
    return {RaceFileWriter::LogFile(ThreeCarRace()),
            RaceFileWriter::RaceFile(later, {.compressed = true}),
            RaceFileWriter::LogFile(ThreeCarRace()),
            RaceFileWriter::LogFile(practice),
            RaceFileWriter::LogFile(elsewhere, {.version = 0}),
            RaceFileWriter::LogFile(noLaps)};
}

TEST(Batch, AddingFilesInOneBatchGivesTheSameRaceAsOneByOne) {
    const std::vector<Bytes> files = MixedFiles();
    for (std::size_t count = 1; count <= files.size(); ++count) {
        RaceData oneByOne;
        RaceData batched;
        ScriptedPrompt answers({IDYES, IDYES});
        ScriptedPrompt batchAnswers({IDYES, IDYES});
        {
            DeferLapStatistics batch(batched);
            for (std::size_t i = 0; i < count; ++i) {
                Load(oneByOne, files[i], answers);
                Load(batched, files[i], batchAnswers);
            }
            { DeferLapStatistics nested(batched); } // ending inside the batch computes nothing yet
            EXPECT_TRUE(batched.leaderTimes.empty()) << "nothing computed inside the batch";
        }
        EXPECT_EQ(Snapshot(batched), Snapshot(oneByOne)) << count << " files";
        batched.maxGap = 12345;
        { DeferLapStatistics idle(batched); } // with nothing changed, nothing is computed again
        EXPECT_EQ(batched.maxGap, 12345u);
    }
}

TEST(Batch, RemovingDriversInOneBatchGivesTheSameRaceAsOneByOneFromTheTop) {
    const std::vector<std::vector<int>> selections = {
        {0}, {8}, {2, 5, 7}, {7, 0, 4, 4, -1, 40}, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {}};
    for (const std::vector<int>& selection : selections) {
        RaceData oneByOne;
        RaceData batched;
        for (RaceData* race : {&oneByOne, &batched}) {
            ScriptedPrompt answers({IDYES});
            for (const Bytes& file : MixedFiles())
                Load(*race, file, answers);
            ASSERT_EQ(race->drivers->GetCount(), 9);
        }
        // As the driver list removed them: the first selected row from the top, again and again.
        std::vector<int> rows(selection);
        std::erase_if(rows, [](int row) { return row < 0 || row >= 9; });
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        for (std::size_t done = 0; done < rows.size(); ++done)
            oneByOne.RemoveDriver(rows[done] - static_cast<int>(done));
        batched.RemoveDrivers(selection);
        EXPECT_EQ(Snapshot(batched), Snapshot(oneByOne)) << testing::PrintToString(selection);
    }
}

} // namespace

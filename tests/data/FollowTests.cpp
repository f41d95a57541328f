// Reading files while they are written: log files cut anywhere, files that come and go, grow past
// the limits or are no files at all, and the lap feed that prints each lap once.
#include "ScriptedPrompt.h"
#include "TestFolder.h"
#include "data/FollowedFiles.h"
#include "data/LapFeed.h"
#include "data/RaceFileLoader.h"
#include "tools/racefile/MemoryRaceFile.h"
#include "tools/racefile/RaceFileWriter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where a version-3 log's records start, and a log lap record's size.
constexpr std::size_t kRecordsAt = 2888 + 107;
constexpr std::size_t kLapRecordSize = 68;

// Four cars over eight laps, a second apart on each lap, so that race-time order is known.
RaceDescription FourCars(int laps = 8, std::uint8_t firstCar = 1) {
    RaceDescription race;
    for (std::uint8_t car = firstCar; car < firstCar + 4; ++car) {
        CarDescription description{car, "Driver " + std::to_string(car), {}};
        for (int lap = 1; lap <= laps; ++lap)
            description.laps.push_back({static_cast<std::uint8_t>(lap),
                                        static_cast<std::uint32_t>(lap * 90000 + car * 1000), 90000});
        race.cars.push_back(description);
    }
    return race;
}

int LapCount(const RaceData& race) {
    int laps = 0;
    for (int index = 0; index < race.drivers->GetCount(); ++index)
        for (int slot = 0; slot < race.drivers->GetAt(index)->laps.GetSize(); ++slot)
            laps += race.drivers->GetAt(index)->laps.GetAt(slot) != nullptr ? 1 : 0;
    return laps;
}

int LapsOfCut(const Bytes& whole, std::size_t length, LogFileEnd end) {
    RaceData race;
    MemoryRaceFile file(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    ScriptedPrompt prompt;
    LoadRaceFile(race, file, prompt, end);
    return LapCount(race);
}

// Whole records within what is read; a cut record and a too-short data part add nothing.
int WholeRecords(std::size_t dataEnd) {
    return dataEnd > kRecordsAt ? static_cast<int>((dataEnd - kRecordsAt) / kLapRecordSize) : 0;
}

TEST(LogBeingWritten, EveryCutOfEveryRecordGivesItsWholeRecordsAndAFinishedLogAllItsLaps) {
    // A logger still writing has no tail yet.
    const Bytes log = RaceFileWriter::LogFile(FourCars(3), {.tail = {}});
    ASSERT_EQ(log.size(), kRecordsAt + 12 * kLapRecordSize);
    for (std::size_t length = kRecordsAt - 4; length <= log.size(); ++length) {
        EXPECT_EQ(LapsOfCut(log, length, LogFileEnd::kToEnd), WholeRecords(length)) << length;
        // Add leaves the last 4 bytes out, so the newest record looks cut by them.
        EXPECT_EQ(LapsOfCut(log, length, LogFileEnd::kTailUnread), WholeRecords(length - 4)) << length;
    }
    // A finished log gives the same laps read to its end.
    RaceDescription race = FourCars();
    race.events = {{EventType::A, 2, 3, 4500}, {EventType::B, 4, 8, 777}};
    for (const Bytes& tail : {Bytes{0, 0, 0, 0}, Bytes{7, 1, 2, 3}, Bytes{5, 5, 5, 5}}) {
        const Bytes finished = RaceFileWriter::LogFile(race, {.tail = tail});
        EXPECT_EQ(LapsOfCut(finished, finished.size(), LogFileEnd::kToEnd), 32);
        EXPECT_EQ(LapsOfCut(finished, finished.size(), LogFileEnd::kTailUnread), 32);
    }
}

class FollowedFilesTest : public testing::Test {
protected:
    static void Write(const std::string& path, const Bytes& bytes,
                      std::ios::openmode mode = std::ios::trunc) {
        std::ofstream(path, std::ios::binary | mode)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static int Laps(const FollowedFiles& files) { return LapCount(*files.BuildRace()); }

    TestFolder folder{"tarmio-follow-"};
};

TEST_F(FollowedFilesTest, ALogAppendedInRandomChunksShowsItsWholeRecordsAfterEveryRead) {
    const Bytes log = RaceFileWriter::LogFile(FourCars(), {.tail = {}});
    const std::string path = folder.Path("growing.zq3");
    Write(path, {});
    FollowedFiles files({path}, IDNO);
    std::mt19937 random(21);
    std::size_t written = 0;
    while (written < log.size()) {
        const std::size_t chunk = std::min<std::size_t>(1 + random() % 150, log.size() - written);
        Write(path,
              Bytes(log.begin() + static_cast<std::ptrdiff_t>(written),
                    log.begin() + static_cast<std::ptrdiff_t>(written + chunk)),
              std::ios::app);
        written += chunk;
        files.ReadAll();
        ASSERT_EQ(Laps(files), WholeRecords(written)) << written;
        EXPECT_EQ(files.Files()[0].state,
                  WholeRecords(written) > 0 ? FollowState::kLoaded : FollowState::kWaiting);
    }
}

TEST_F(FollowedFilesTest, ARaceFileCaughtMidWriteOrDeletedKeepsItsLastLapsUntilItReadsWholeAgain) {
    const std::string path = folder.Path("race.ra3");
    Write(path, RaceFileWriter::RaceFile(FourCars(2)));
    FollowedFiles files({path}, IDNO);
    EXPECT_EQ(files.ReadAll().stateChanged, std::vector<std::size_t>{0});
    EXPECT_EQ(Laps(files), 8);

    // Rewritten in place, caught half-way: its checksum fails.
    const Bytes longer = RaceFileWriter::RaceFile(FourCars(5));
    Write(path, Bytes(longer.begin(), longer.begin() + static_cast<std::ptrdiff_t>(longer.size() / 2)));
    FollowedFiles::ReadResult result = files.ReadAll();
    EXPECT_FALSE(result.contentsChanged);
    EXPECT_EQ(files.Files()[0].state, FollowState::kWaiting);
    EXPECT_EQ(files.Files()[0].message, "Incorrect checksum");
    EXPECT_EQ(Laps(files), 8);

    Write(path, longer);
    result = files.ReadAll();
    EXPECT_TRUE(result.contentsChanged);
    EXPECT_EQ(files.Files()[0].state, FollowState::kLoaded);
    EXPECT_EQ(Laps(files), 20);

    // Replaced by rename, as an editor or the game saves.
    Write(folder.Path("race.tmp"), RaceFileWriter::RaceFile(FourCars(7)));
    std::filesystem::rename(folder.Path("race.tmp"), path);
    EXPECT_TRUE(files.ReadAll().contentsChanged);
    EXPECT_EQ(Laps(files), 28);

    // Read again unchanged: nothing to report.
    result = files.ReadAll();
    EXPECT_FALSE(result.contentsChanged);
    EXPECT_TRUE(result.stateChanged.empty());

    // Deleted, it waits with its laps and comes back when written again.
    std::filesystem::remove(path);
    EXPECT_EQ(files.ReadAll().stateChanged, std::vector<std::size_t>{0});
    EXPECT_EQ(files.Files()[0].state, FollowState::kWaiting);
    EXPECT_NE(files.Files()[0].message.find("was not found"), std::string::npos) << files.Files()[0].message;
    EXPECT_EQ(Laps(files), 28);
    Write(path, RaceFileWriter::RaceFile(FourCars(8)));
    files.ReadAll();
    EXPECT_EQ(files.Files()[0].state, FollowState::kLoaded);
    EXPECT_EQ(Laps(files), 32);
}

TEST_F(FollowedFilesTest, AFileGrownPastTheLimitsIsRefusedOnceAndTheOthersGoOn) {
    const std::string big = folder.Path("big.zq3");
    const std::string other = folder.Path("other.ra3");
    Write(big, RaceFileWriter::LogFile(FourCars(2)));
    Write(other, RaceFileWriter::RaceFile(FourCars(3, 11)));
    FollowedFiles files({big, other}, IDNO);
    files.ReadAll();
    EXPECT_EQ(Laps(files), 8 + 12);
    // Sparse: the size is there without the bytes.
    std::filesystem::resize_file(big, 65u << 20);
    FollowedFiles::ReadResult result = files.ReadAll();
    EXPECT_EQ(result.stateChanged, std::vector<std::size_t>{0});
    EXPECT_EQ(files.Files()[0].state, FollowState::kRefused);
    EXPECT_EQ(files.Files()[0].message, "File is too large");
    EXPECT_EQ(Laps(files), 12);
    EXPECT_TRUE(files.ReadAll().stateChanged.empty());
}

TEST_F(FollowedFilesTest, PipesAndFoldersAreRefusedWithoutWaitingAndTheTrackAnswerDecidesEveryRead) {
    const std::string pipe = folder.Path("pipe.zq3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    Write(folder.Path("a.zq3"), RaceFileWriter::LogFile(FourCars(1)));
    RaceDescription elsewhere = FourCars(2, 11);
    elsewhere.trackCode = 0x1234;
    Write(folder.Path("b.zq3"), RaceFileWriter::LogFile(elsewhere));
    for (const auto& [answer, laps] : {std::pair{IDNO, 4}, {IDYES, 4 + 8}}) {
        FollowedFiles files({pipe, folder.Get().string(), folder.Path("a.zq3"), folder.Path("b.zq3")},
                            answer);
        files.ReadAll();
        EXPECT_EQ(files.Files()[0].state, FollowState::kRefused);
        EXPECT_EQ(files.Files()[1].state, FollowState::kRefused);
        EXPECT_EQ(Laps(files), laps) << answer;
    }
}

TEST(LapFeed, GivesEachLapOnceInRaceTimeOrderWithTheExportsFieldsAndLatin1Names) {
    LapFeed feed;
    RaceData race;
    ScriptedPrompt prompt;
    MemoryRaceFile early(RaceFileWriter::LogFile(FourCars(1)));
    LoadRaceFile(race, early, prompt);
    const std::vector<std::string> first = feed.NewLaps(race);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0], "{\"type\":\"lap\",\"driver\":\"Driver 1\",\"car\":1,\"id\":\"  1\",\"lap\":1,"
                        "\"position\":1,\"raceTime\":91000,\"lapTime\":90000,\"gapToLeader\":0,\"flags\":0,"
                        "\"eventTime\":0}");
    EXPECT_NE(first[3].find("\"position\":4,\"raceTime\":94000,\"lapTime\":90000,\"gapToLeader\":3000,"),
              std::string::npos);

    // The same laps and one more lap for each car: only the new ones, car 1 first.
    RaceData later;
    MemoryRaceFile grown(RaceFileWriter::LogFile(FourCars(2)));
    LoadRaceFile(later, grown, prompt);
    const std::vector<std::string> second = feed.NewLaps(later);
    ASSERT_EQ(second.size(), 4u);
    for (std::size_t index = 0; index < second.size(); ++index)
        EXPECT_NE(second[index].find("\"lap\":2,\"position\":" + std::to_string(index + 1)),
                  std::string::npos)
            << second[index];
    EXPECT_TRUE(feed.NewLaps(later).empty());

    // Names show control bytes as question marks and the rest as Latin-1; laps crossing together
    // keep the driver list's order (here by name).
    RaceDescription description = FourCars(1);
    description.cars.resize(2);
    description.cars[0].name = "A\x01\xe9\"";
    description.cars[1].laps[0].raceTime = description.cars[0].laps[0].raceTime;
    RaceData named;
    MemoryRaceFile file(RaceFileWriter::LogFile(description));
    LoadRaceFile(named, file, prompt);
    const std::vector<std::string> lines = LapFeed().NewLaps(named);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(R"("driver":"A?\u00e9\"")"), std::string::npos) << lines[0];
    EXPECT_EQ(FileStatusLine("a\"b.zq3", "waiting", "File is damaged"),
              R"({"type":"file","file":"a\"b.zq3","status":"waiting","message":"File is damaged"})");
}

} // namespace

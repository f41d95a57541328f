// Hot paths of loading: checksum, decompression, and a whole maximal race file.
#include "common/Prompt.h"
#include "data/Checksum.h"
#include "data/Decompress.h"
#include "data/FollowedFiles.h"
#include "data/LapFeed.h"
#include "data/RaceData.h"
#include "data/RaceFileLoader.h"
#include "tools/racefile/Compressor.h"
#include "tools/racefile/MemoryRaceFile.h"
#include "tools/racefile/RaceFileWriter.h"
#include "tools/racefile/WriteBytes.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

constexpr int kMaxCars = 63;

// Takes every box's default answer, as a user pressing Enter would.
class DefaultAnswerPrompt : public IPrompt {
public:
    int MessageBox(const std::string&, unsigned style) override { return DefaultMessageBoxAnswer(style); }
};

// Every car number, every lap, a pit stop each and a few incidents.
RaceDescription MaximalRace() {
    std::mt19937 random(9);
    RaceDescription race;
    for (int number = 1; number <= kMaxCars; ++number) {
        CarDescription car{static_cast<std::uint8_t>(number), "Driver Number " + std::to_string(number), {}};
        std::uint32_t raceTime = 0;
        for (int lap = 1; lap <= kMaxLapNumber; ++lap) {
            const std::uint32_t lapTime = 80000 + number * 97 + random() % 1500;
            raceTime += lapTime;
            car.laps.push_back({static_cast<std::uint8_t>(lap), raceTime, lapTime, false});
        }
        const int pitLap = 30 + number % 40;
        race.events.push_back({EventType::A, car.car, static_cast<std::uint8_t>(pitLap),
                               car.laps[pitLap - 1].raceTime + 15000});
        if (number % 5 == 0)
            race.events.push_back({EventType::B, car.car, 10, car.laps[10].raceTime + 500});
        race.cars.push_back(std::move(car));
    }
    return race;
}

// Record streams of several races one after the other: what a compressed body mostly holds.
Bytes CompressibleData(std::size_t size) {
    Bytes data;
    RaceDescription race = MaximalRace();
    while (data.size() < size) {
        const Bytes stream = RaceFileWriter::GameStream(race);
        data.insert(data.end(), stream.begin(), stream.end());
        data.insert(data.end(), 20000, 0);
        for (CarDescription& car : race.cars)
            for (LapDescription& lap : car.laps)
                lap.raceTime += 7 * lap.lapNumber;
    }
    data.resize(size);
    return data;
}

constexpr std::size_t kDataSize = 4 << 20;

void BM_UpdateChecksum(benchmark::State& state) {
    std::mt19937 random(1);
    Bytes data(kDataSize);
    for (auto& byte : data)
        byte = static_cast<std::uint8_t>(random());
    for (auto _ : state) {
        std::uint16_t a = 0;
        std::uint16_t b = 0;
        UpdateChecksum(data.data(), data.size(), a, b);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_UpdateChecksum);

// Both passes as the loader runs them: count the output, then write it.
void BM_Decompress(benchmark::State& state) {
    const Bytes original = CompressibleData(kDataSize);
    const Bytes packed = Compress(original);
    Bytes out(original.size());
    for (auto _ : state) {
        const auto length = Decompress(packed, nullptr);
        const auto written = Decompress(packed, out.data());
        benchmark::DoNotOptimize(length);
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * original.size()));
    state.counters["ratio"] = static_cast<double>(original.size()) / static_cast<double>(packed.size());
}
BENCHMARK(BM_Decompress);

void BM_DecompressCountOnly(benchmark::State& state) {
    const Bytes packed = Compress(CompressibleData(kDataSize));
    for (auto _ : state)
        benchmark::DoNotOptimize(Decompress(packed, nullptr));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataSize));
}
BENCHMARK(BM_DecompressCountOnly);

void BM_DecompressIntoSizedBuffer(benchmark::State& state) {
    const Bytes packed = Compress(CompressibleData(kDataSize));
    Bytes out(kDataSize);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecompressInto(packed, out));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataSize));
}
BENCHMARK(BM_DecompressIntoSizedBuffer);

void BM_LoadMaximalRaceFile(benchmark::State& state) {
    const Bytes file = RaceFileWriter::RaceFile(MaximalRace(), {.compressed = true, .gameVersion = 181});
    for (auto _ : state) {
        RaceData race;
        MemoryRaceFile memory(file);
        DefaultAnswerPrompt prompt;
        benchmark::DoNotOptimize(LoadRaceFile(race, memory, prompt));
    }
    state.counters["fileBytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_LoadMaximalRaceFile)->Unit(benchmark::kMillisecond);

constexpr int kFilesOfOneAdd = 100;

// Maximal files of one race that differ in every car's times, so that none merges away.
std::vector<Bytes> MaximalFiles(int count) {
    std::vector<Bytes> files;
    for (int file = 0; file < count; ++file) {
        RaceDescription race = MaximalRace();
        for (CarDescription& car : race.cars)
            for (LapDescription& lap : car.laps)
                lap.raceTime += static_cast<std::uint32_t>(file);
        files.push_back(RaceFileWriter::RaceFile(race, {.compressed = true, .gameVersion = 181}));
    }
    return files;
}

// One Add of many files: the statistics are made once, after the last file.
void AddFiles(RaceData& race, const std::vector<Bytes>& files) {
    DeferLapStatistics oneRecomputation(race);
    DefaultAnswerPrompt prompt;
    for (const Bytes& file : files) {
        MemoryRaceFile memory(file);
        LoadRaceFile(race, memory, prompt);
    }
}

// The races stay until the end: destroying one would leave the allocator 800,000 small blocks to
// merge at the next large allocation, a cost of New rather than of Add.
void BM_AddHundredMaximalFiles(benchmark::State& state) {
    const std::vector<Bytes> files = MaximalFiles(kFilesOfOneAdd);
    std::vector<std::unique_ptr<RaceData>> races;
    for (auto _ : state) {
        races.push_back(std::make_unique<RaceData>());
        AddFiles(*races.back(), files);
        benchmark::DoNotOptimize(races.back()->maxGap);
    }
    state.counters["drivers"] = kFilesOfOneAdd * kMaxCars;
}
BENCHMARK(BM_AddHundredMaximalFiles)->Unit(benchmark::kMillisecond)->Iterations(5);

// The driver list's Cut of every tenth row of a race of 6,300 drivers.
void BM_DeleteTenthOfDrivers(benchmark::State& state) {
    const std::vector<Bytes> files = MaximalFiles(kFilesOfOneAdd);
    for (auto _ : state) {
        state.PauseTiming();
        auto race = std::make_unique<RaceData>();
        AddFiles(*race, files);
        std::vector<int> rows;
        for (int row = 0; row < race->drivers->GetCount(); row += 10)
            rows.push_back(row);
        state.ResumeTiming();
        race->RemoveDrivers(rows);
        benchmark::DoNotOptimize(race->maxGap);
        state.PauseTiming();
        race.reset();
        state.ResumeTiming();
    }
    state.counters["removed"] = kFilesOfOneAdd * kMaxCars / 10;
}
BENCHMARK(BM_DeleteTenthOfDrivers)->Unit(benchmark::kMillisecond)->Iterations(10);

// One read while following a maximal log: the file read and checked, the race built afresh, and
// the lap feed's look for new laps (none: every lap is already known).
void BM_FollowReadOfMaximalLog(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "tarmio-bench-follow.zq3").string();
    const Bytes log = RaceFileWriter::LogFile(MaximalRace());
    WriteBytes(path, log);
    FollowedFiles files({path}, IDNO);
    LapFeed feed;
    files.ReadAll();
    feed.NewLaps(*files.BuildRace());
    for (auto _ : state) {
        files.ReadAll();
        const std::unique_ptr<RaceData> race = files.BuildRace();
        benchmark::DoNotOptimize(feed.NewLaps(*race).size());
    }
    state.counters["laps"] = kMaxCars * kMaxLapNumber;
    std::filesystem::remove(path);
}
BENCHMARK(BM_FollowReadOfMaximalLog)->Unit(benchmark::kMillisecond);

} // namespace

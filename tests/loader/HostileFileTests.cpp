// Files built to hurt: names without an end, sizes and decompressed sizes far beyond any race
// file, and loads that run out of memory. Each is refused with a message and leaves the race as it was.
#include "Compressor.h"
#include "LoaderTestSupport.h"
#include "data/ByteFields.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::size_t kLogBlockNameAt = 41;
constexpr std::size_t kLogBlockRecordsAt = 107;
constexpr std::size_t kGameBlockNameAt = 80;
constexpr std::size_t kGameBlockRecordsAt = 159;
constexpr std::size_t kLogVersion0BlockAt = 4;

TEST(HostileFile, TrackNameWithoutNulEndsWithTheBlocksFixedPart) {
    // Log layout: the name's room, the session byte and the unread bytes up to the records.
    Bytes logFile = RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0});
    for (std::size_t at = kLogBlockNameAt; at < kLogBlockRecordsAt; ++at)
        if (logFile[kLogVersion0BlockAt + at] == 0)
            logFile[kLogVersion0BlockAt + at] = 'L';
    // Game layout: the rest of the fixed part.
    const RaceFileOptions options{.gameVersion = 181};
    Bytes body = RaceFileWriter::RaceBody(ThreeCarRace(), options);
    const std::size_t blockAt = ReadU32(body, body.size() - 8);
    for (std::size_t at = blockAt + kGameBlockNameAt; at < blockAt + kGameBlockRecordsAt; ++at)
        if (body[at] == 0)
            body[at] = 'G';

    const struct {
        Bytes file;
        std::size_t nameLength;
    } cases[] = {{logFile, kLogBlockRecordsAt - kLogBlockNameAt},
                 {RaceFileWriter::WrapStoredBody(body, options), kGameBlockRecordsAt - kGameBlockNameAt}};
    for (const auto& [file, nameLength] : cases) {
        RaceData race;
        ASSERT_EQ(Load(race, file), 1);
        EXPECT_EQ(race.trackName.size(), nameLength);
        EXPECT_EQ(race.trackName.substr(0, 11), "Port Haddon");
        EXPECT_EQ(race.drivers->GetCount(), 3) << "the records are still records";
    }
}

// A race that already holds a file, so that a refusal may change nothing at all.
class HostileRefusal : public testing::Test {
protected:
    HostileRefusal() {
        Load(race, RaceFileWriter::LogFile(ThreeCarRace()));
        before = Snapshot(race);
    }

    void ExpectRefused(MemoryRaceFile& file, const std::string& message) {
        ScriptedPrompt prompt({IDYES});
        EXPECT_EQ(LoadRaceFile(race, file, prompt), 0);
        EXPECT_EQ(prompt.messages, (std::vector<ScriptedPrompt::Message>{{message, 0x10}}));
        EXPECT_EQ(Snapshot(race), before);
    }

    RaceData race;
    std::string before;
};

// Sizes past the limits are refused before anything of their size is allocated.
TEST_F(HostileRefusal, FilesLargerThanTheLimitsAreTooLarge) {
    const struct {
        Bytes head;
        std::uint64_t size;
    } cases[] = {
        {RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0}), 64 * kMiB + 9},
        {RaceFileWriter::LogFile(ThreeCarRace(), {.version = 3}), 5ull << 30},
        {RaceFileWriter::RaceFile(ThreeCarRace()), 64 * kMiB + 37},
        {RaceFileWriter::RaceFile(ThreeCarRace()), 5ull << 30},
    };
    for (const auto& [head, size] : cases) {
        MemoryRaceFile file(head);
        file.sparseSize = size;
        ExpectRefused(file, "File is too large");
    }
}

TEST_F(HostileRefusal, DecompressionBombIsTooLarge) {
    const RaceFileOptions options{.compressed = true};
    Bytes bomb = DecompressionBomb(64 * kMiB + 1);
    MemoryRaceFile file(RaceFileWriter::WrapStoredBody(bomb, options));
    ExpectRefused(file, "File is too large");
}

TEST_F(HostileRefusal, RunningOutOfMemoryRefusesTheFile) {
    for (const Bytes& bytes : {RaceFileWriter::LogFile(ThreeCarRace(), {.version = 2}),
                               RaceFileWriter::RaceFile(ThreeCarRace(), {.compressed = true})}) {
        MemoryRaceFile file(bytes);
        file.failReadsBeyond = 40;
        file.failForMemory = true;
        ExpectRefused(file, "Not enough memory to load this file");
    }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// A real allocation failure: the largest file the limits allow, in a process that may only grow
// by a little, is refused and the process goes on.
TEST(HostileFileDeathTest, AllocationFailureIsARefusalNotAnAbort) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Bytes head = RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0});
    EXPECT_EXIT(
        {
            MemoryRaceFile file(head);
            file.sparseSize = 60 * kMiB;
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            std::uint64_t pages = 0;
            if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%lu", &pages) != 1)
                    pages = 0;
                std::fclose(statm);
            }
            limit.rlim_cur = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) + 16 * kMiB;
            setrlimit(RLIMIT_AS, &limit);
            RaceData race;
            ScriptedPrompt prompt;
            const int result = LoadRaceFile(race, file, prompt);
            const bool told = prompt.messages.size() == 1 &&
                              prompt.messages[0].text == "Not enough memory to load this file";
            std::_Exit(result == 0 && told && race.drivers->GetCount() == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
#endif

} // namespace

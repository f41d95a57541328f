#include "LoaderTestSupport.h"
#include "tools/racefile/Compressor.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr unsigned kStop = MB_OK | MB_ICONSTOP;
constexpr unsigned kQuestion = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;

RaceDescription RaceWithoutLaps() {
    RaceDescription race = ThreeCarRace();
    race.cars.clear();
    race.events.clear();
    return race;
}

struct RefusalCase {
    const char* name;
    Bytes file;
    const char* message;
    std::uint64_t sparseSize = 0; // zeros follow the bytes up to this size
    bool outOfMemory = false;     // reads past byte 40 fail for want of memory
    std::uint64_t bombSize = 0;   // else: a compressed body unpacking to this size, made when run
    friend void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }
};

RaceDescription Qualifying() {
    RaceDescription race = ThreeCarRace();
    race.raceSession = false;
    return race;
}

class RefusedFile : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedFile, ShowsItsMessageAndLeavesRaceUnchanged) {
    RaceData race;
    Load(race, RaceFileWriter::LogFile(ThreeCarRace()));
    const std::string before = Snapshot(race);
    const std::uint64_t bombSize = GetParam().bombSize;
    MemoryRaceFile file(
        bombSize == 0 ? GetParam().file
                      : RaceFileWriter::WrapStoredBody(DecompressionBomb(bombSize), {.compressed = true}));
    file.sparseSize = GetParam().sparseSize;
    if (GetParam().outOfMemory)
        file.failReadsBeyond = 40;
    file.failForMemory = GetParam().outOfMemory;
    ScriptedPrompt prompt;
    EXPECT_EQ(LoadRaceFile(race, file, prompt), 0);
    EXPECT_EQ(prompt.messages, (std::vector<ScriptedPrompt::Message>{{GetParam().message, kStop}}));
    EXPECT_EQ(Snapshot(race), before);
}

constexpr auto Log = &RaceFileWriter::LogFile;
constexpr auto Race = &RaceFileWriter::RaceFile;
const char* const kNoLaps = "File does not contain any laps";
const char* const kNoRaceInfo = "No race info found";
const char* const kDamaged = "File is damaged";
const char* const kNoRace = "Not a race session";
const char* const kTooLarge = "File is too large";
const char* const kNoMemory = "Not enough memory to load this file";
constexpr std::uint64_t kMiB = 1 << 20;

const RefusalCase kRefusals[] = {
    {"UnknownMagic", Log(ThreeCarRace(), {.magic = 0x4E515A41}), "Not a valid log file"},
    {"LogVersionFour", Log(ThreeCarRace(), {.version = 4}), "File version newer than TarmioView can handle"},
    {"HeaderByte10Zero", Race(ThreeCarRace(), {.headerByte10 = 0}), kNoRaceInfo},
    {"HeaderByte11Bit7Clear", Race(ThreeCarRace(), {.headerByte11 = 0x7F}), kNoRaceInfo},
    {"BadChecksum", Race(ThreeCarRace(), {.corruptChecksum = true}), "Incorrect checksum"},
    {"UnknownGameVersion", Race(ThreeCarRace(), {.gameVersion = 50}), "Could not determine file version"},
    {"UnknownBodyMarker", Race(ThreeCarRace(), {.marker = 0x12345678}), "No Lodrun data found"},
    {"BodyOfTheTrailerAlone", RaceFileWriter::WrapStoredBody(Bytes(12, 0), {}), "No Lodrun data found"},
    {"RaceFileCutAfterItsHeader", Race(ThreeCarRace(), {.cutAt = 34}), kDamaged},
    {"BlockOffsetFarOutside", Race(ThreeCarRace(), {.blockOffset = 0xFFFFFFFF}), kDamaged},
    {"BlockOffsetSigned", Race(ThreeCarRace(), {.blockOffset = 0x7FFFFFFF}), kDamaged},
    {"BlockOffsetPastTheBody", Race(ThreeCarRace(), {.blockOffset = 200000}), kDamaged},
    {"GameBlockOfNoBytes", Race(ThreeCarRace(), {.blockAtTrailer = true}), kNoLaps},
    {"LogFileWithoutRecords", Log(RaceWithoutLaps(), {}), kNoLaps},
    {"GameBlockWithoutRecords", Race(RaceWithoutLaps(), {}), kNoLaps},
    {"LogBlockInRaceFileWithoutRecords", Race(RaceWithoutLaps(), {.marker = kLogMarker}), kNoLaps},
    {"NineByteVersionZeroLog", Bytes{'@', 'Z', 'Q', 'N', 0, 0, 0, 0, 0}, kNoLaps},
    {"LogQualifyingSession", Log(Qualifying(), {}), kNoRace},
    {"GameQualifyingSession", Race(Qualifying(), {.compressed = true}), kNoRace},
    // Sizes past the limits are refused before anything of their size is allocated.
    {"LogDataPastTheLimit", Log(ThreeCarRace(), {.version = 0}), kTooLarge, 64 * kMiB + 9},
    {"LogFileOfFiveGiB", Log(ThreeCarRace(), {.version = 3}), kTooLarge, 5ull << 30},
    {"RaceBodyPastTheLimit", Race(ThreeCarRace(), {}), kTooLarge, 64 * kMiB + 37},
    {"RaceFileOfFiveGiB", Race(ThreeCarRace(), {}), kTooLarge, 5ull << 30},
    {"DecompressionBomb", {}, kTooLarge, 0, false, 64 * kMiB + 1},
    {"LogOutOfMemory", Log(ThreeCarRace(), {.version = 2}), kNoMemory, 0, true},
    {"RaceOutOfMemory", Race(ThreeCarRace(), {.compressed = true}), kNoMemory, 0, true},
};
INSTANTIATE_TEST_SUITE_P(Loader, RefusedFile, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

// Bits 4 to 6 of the type byte are not part of the type.
class RaceFileType : public testing::TestWithParam<int> {};

TEST_P(RaceFileType, IsAcceptedOnlyForRaceTypes) {
    const int type = GetParam();
    const bool raceType = (type >= 5 && type <= 9) || type == 11 || type == 12;
    for (const int highBits : {0x00, 0x70}) {
        RaceData race;
        ScriptedPrompt prompt;
        const auto typeByte = static_cast<std::uint8_t>(type | highBits);
        EXPECT_EQ(Load(race, Race(ThreeCarRace(), {.fileType = typeByte}), prompt), raceType ? 1 : 0);
        const std::vector<ScriptedPrompt::Message> refusal = {{kNoRaceInfo, kStop}};
        EXPECT_EQ(prompt.messages, raceType ? decltype(refusal){} : refusal);
    }
}
INSTANTIATE_TEST_SUITE_P(Loader, RaceFileType, testing::Range(0, 16),
                         [](const auto& info) { return "Type" + std::to_string(info.param); });

// The size limit itself is allowed: only what lies past it is refused as too large.
TEST(SizeLimit, DataOfExactlyTheLimitIsRead) {
    for (const auto& [bytes, size] : {std::pair{Log(ThreeCarRace(), {.version = 0}), 64 * kMiB + 8},
                                      std::pair{Race(ThreeCarRace(), {}), 64 * kMiB + 36}}) {
        RaceData race;
        ScriptedPrompt prompt;
        MemoryRaceFile file(bytes);
        file.sparseSize = size;
        LoadRaceFile(race, file, prompt);
        for (const auto& message : prompt.messages)
            EXPECT_NE(message.text, kTooLarge) << size;
    }
}

TEST(SilentRefusal, ShortFilesLogsCutInTheirNameTableAndFilesWithoutStatus) {
    auto expectSilent = [](MemoryRaceFile&& file, const std::string& what) {
        RaceData race;
        ScriptedPrompt prompt;
        EXPECT_EQ(LoadRaceFile(race, file, prompt), 0) << what;
        EXPECT_TRUE(prompt.messages.empty()) << what;
        EXPECT_EQ(race.trackId, kNoTrackYet) << what;
    };
    auto cut = [](const Bytes& file, std::size_t size) {
        return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    };
    for (std::size_t size = 0; size <= 8; ++size) {
        expectSilent(MemoryRaceFile(cut(Log(ThreeCarRace(), {.version = 0}), size)),
                     "log " + std::to_string(size));
        expectSilent(MemoryRaceFile(cut(Race(ThreeCarRace(), {}), size)), "race " + std::to_string(size));
    }
    for (const std::size_t size : {9u, 12u, 500u, 967u, 971u, 972u})
        expectSilent(MemoryRaceFile(cut(Log(ThreeCarRace(), {.version = 2}), size)),
                     "v2 " + std::to_string(size));
    MemoryRaceFile noStatus(Log(ThreeCarRace(), {}));
    noStatus.statusAvailable = false;
    expectSilent(std::move(noStatus), "no status");
}

class LogVersion : public testing::TestWithParam<int> {};

TEST_P(LogVersion, ReadsItsDataFromItsOwnOffsetAndNamesFromVersionTwo) {
    RaceData race;
    ASSERT_EQ(Load(race, RaceFileWriter::LogFile(ThreeCarRace(), {.version = GetParam()})), 1);
    EXPECT_EQ(std::tuple(race.trackName, race.trackCode, int{race.trackId}, race.lapCount),
              std::tuple("Port Haddon", 0x12345678u, 3, 5));
    ASSERT_EQ(race.drivers->GetCount(), 3);
    EXPECT_EQ(race.drivers->GetAt(2)->name.empty(), GetParam() < 2);
}
INSTANTIATE_TEST_SUITE_P(Loader, LogVersion, testing::Range(0, 4),
                         [](const auto& info) { return "Version" + std::to_string(info.param); });

TEST(LogFile, NeverReadsItsLastFourBytesAsDataAndNamesTheTrackFromTheTableWhenTheBlockHasNone) {
    // With the tail left out, the last four bytes of the block become the unread tail.
    RaceDescription race = RaceWithoutLaps();
    race.extraStreamBytes = {5, 1, 9, 0};
    ScriptedPrompt prompt;
    RaceData loaded;
    EXPECT_EQ(Load(loaded, RaceFileWriter::LogFile(race, {.version = 3, .tail = {}}), prompt), 0);
    EXPECT_EQ(prompt.messages, (std::vector<ScriptedPrompt::Message>{{kNoLaps, kStop}}));
    RaceDescription unnamed = ThreeCarRace();
    unnamed.ownTrackName = false;
    unnamed.trackId = 0x0B;
    RaceData named;
    Load(named, RaceFileWriter::LogFile(unnamed, {.tail = {5, 1, 9, 0}}));
    EXPECT_EQ(named.trackName, "Monza");
}

struct LayoutCase {
    const char* name;
    RaceFileOptions options;
    friend void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }
};

class RaceFileLayout : public testing::TestWithParam<LayoutCase> {};

// The writer puts names and session byte where the game-version row says; a loader that looks
// elsewhere finds no names, or a session byte of zero.
TEST_P(RaceFileLayout, GivesTheRaceOfTheLogFileAndFindsItsSession) {
    RaceData fromLog;
    ASSERT_EQ(Load(fromLog, Log(ThreeCarRace(), {})), 1);
    RaceData race;
    ScriptedPrompt prompt;
    ASSERT_EQ(Load(race, Race(ThreeCarRace(), GetParam().options), prompt), 1);
    EXPECT_EQ(Snapshot(race), Snapshot(fromLog));
    EXPECT_EQ(Load(race, Race(Qualifying(), GetParam().options), prompt), 0);
    EXPECT_EQ(prompt.messages, (std::vector<ScriptedPrompt::Message>{{kNoRace, kStop}})) << "and none before";
}

const LayoutCase kLayouts[] = {
    {"Game81Plain", {.gameVersion = 81}},
    {"Game81ShiftedCompressed", {.compressed = true, .shiftedChecksum = true, .gameVersion = 81}},
    {"Game94Plain", {.gameVersion = 94}},
    {"Game94ShiftedSecondMagicCompressed",
     {.magic = kRaceMagicB, .compressed = true, .shiftedChecksum = true, .gameVersion = 94}},
    {"Game181Plain", {.gameVersion = 181}},
    {"Game181Shifted", {.shiftedChecksum = true, .gameVersion = 181}},
    {"Game50Shifted", {.shiftedChecksum = true, .gameVersion = 50}},
    {"Game0Shifted", {.shiftedChecksum = true, .gameVersion = 0}},
    {"StoredLogMarker", {.marker = kLogMarker}},
    {"CompressedLogMarker", {.compressed = true, .marker = kLogMarker}},
    {"SecondMagicShiftedLogMarker", {.magic = kRaceMagicB, .shiftedChecksum = true, .marker = kLogMarker}},
};
INSTANTIATE_TEST_SUITE_P(Loader, RaceFileLayout, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

// The first file fixes the track, even one refused as no race session; the track code decides.
TEST(DifferentTrack, AsksAndLoadsOnlyOnYesKeepingTheTrackOfTheFirstFile) {
    RaceDescription renamed = ThreeCarRace();
    renamed.trackName = "Same Code, Other Name";
    renamed.trackId = 9;
    RaceDescription other = ThreeCarRace();
    other.trackCode = 0x0BADC0DE;
    other.trackName = "Elsewhere";
    other.cars[0].laps.back().raceTime -= 1; // a car not already in the race
    const auto track = [](const RaceData& race) {
        return std::tuple(race.trackName, race.trackCode, race.trackId);
    };
    for (const Bytes& first : {Race(Qualifying(), {}), Log(Qualifying(), {})}) {
        RaceData race;
        EXPECT_EQ(Load(race, first), 0);
        EXPECT_EQ(track(race), std::tuple("Port Haddon", 0x12345678u, 3));
        ScriptedPrompt silent;
        EXPECT_EQ(Load(race, Log(ThreeCarRace(), {}), silent), 1);
        EXPECT_EQ(Load(race, Race(renamed, {}), silent), 1);
        EXPECT_TRUE(silent.messages.empty());
        const std::string before = Snapshot(race);
        for (const int answer : {IDNO, IDCANCEL, IDOK, IDYES}) {
            ScriptedPrompt prompt({answer});
            EXPECT_EQ(Load(race, Race(other, {.compressed = true}), prompt), answer == IDYES);
            EXPECT_EQ(prompt.messages,
                      (std::vector<ScriptedPrompt::Message>{
                          {"This file is from a different track. Load it anyway?", kQuestion}}));
            if (answer != IDYES) {
                EXPECT_EQ(Snapshot(race), before);
            }
        }
        EXPECT_EQ(track(race), std::tuple("Port Haddon", 0x12345678u, 3));
        EXPECT_EQ(race.drivers->GetCount(), 4);
    }
}

TEST(ReadFailure, PassesToTheCallerAndLeavesTheRaceUnchanged) {
    RaceData race;
    ASSERT_EQ(Load(race, RaceFileWriter::LogFile(ThreeCarRace())), 1);
    const std::string before = Snapshot(race);
    const Bytes files[] = {RaceFileWriter::LogFile(ThreeCarRace()), RaceFileWriter::RaceFile(ThreeCarRace())};
    for (const Bytes& bytes : files) {
        MemoryRaceFile file(bytes);
        file.failReadsBeyond = 100;
        ScriptedPrompt prompt;
        EXPECT_THROW(LoadRaceFile(race, file, prompt), MemoryFileReadError);
        EXPECT_EQ(Snapshot(race), before);
    }
}

} // namespace

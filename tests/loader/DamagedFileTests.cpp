// Cut-off files: each is refused or decoded, never read outside its bytes, and a refused file
// leaves the race as it was. Random corruption is the fuzz target's job (fuzz/).
#include "Compressor.h"
#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A race that already holds the track, so that a refused file may change nothing at all.
class DamagedFile : public testing::Test {
protected:
    DamagedFile() {
        Load(race, RaceFileWriter::LogFile(ThreeCarRace()));
        before = Snapshot(race);
    }

    // Loads into a copy of the reference race; a refusal must leave it identical.
    void ExpectRefusedCleanlyOrDecoded(const Bytes& file, const std::string& what) {
        RaceData target;
        Load(target, RaceFileWriter::LogFile(ThreeCarRace()));
        ScriptedPrompt prompt({IDYES});
        const int result = Load(target, file, prompt);
        ASSERT_TRUE(result == 0 || result == 1) << what;
        if (result == 0) {
            ASSERT_EQ(Snapshot(target), before) << what;
        }
        EXPECT_LE(prompt.messages.size(), 2u) << what;
    }

    RaceData race;
    std::string before;
};

// A whole race file cut short fails its checksum, so the log files and the header are what a cut reaches.
TEST_F(DamagedFile, EveryTruncationOfAWholeFileIsRefusedOrDecoded) {
    const Bytes files[] = {
        RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0}),
        RaceFileWriter::LogFile(ThreeCarRace(), {.version = 3}),
        RaceFileWriter::RaceFile(ThreeCarRace(), {.compressed = true}),
    };
    for (const Bytes& file : files)
        for (std::size_t size = 0; size < file.size(); ++size)
            ExpectRefusedCleanlyOrDecoded(
                Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)),
                std::to_string(file.size()) + " cut to " + std::to_string(size));
}

// A cut body whose checksum still matches gets past the checksum to decompression and the trailer.
TEST_F(DamagedFile, TruncationsOfABodyAreRefusedOrDecoded) {
    for (const bool compressed : {true, false}) {
        for (const std::uint32_t marker : {kGameMarker, kLogMarker}) {
            const RaceFileOptions options{.compressed = compressed, .marker = marker};
            Bytes body = RaceFileWriter::RaceBody(ThreeCarRace(), options);
            if (compressed)
                body = Compress(body);
            // Every length of a compressed body; of a stored one every length near the block and
            // trailer, a sample of the rest.
            for (std::size_t size = 0; size <= body.size();
                 size += (compressed || size < 64 || size + 1200 > body.size()) ? 1 : 211)
                ExpectRefusedCleanlyOrDecoded(
                    RaceFileWriter::WrapStoredBody(std::span(body).first(size), options),
                    "body cut to " + std::to_string(size));
        }
    }
}

// Records cut off at the end of the stream, or naming lap 0, car 0 or a car past the log's name
// table, must not reach outside the stream or the table the container gives.
TEST(OddRecords, AtTheEndOfTheStreamAreHandledSafely) {
    auto lapRecord = [](std::uint8_t lapNumber, std::uint8_t car) {
        Bytes record(68, 0);
        record[0] = 5;
        record[1] = lapNumber;
        record[2] = car;
        return record;
    };
    const Bytes cases[] = {{5}, Bytes(34, 5), lapRecord(0, 1), lapRecord(1, 0), lapRecord(127, 63)};
    for (const Bytes& extra : cases) {
        RaceDescription description = ThreeCarRace();
        description.extraStreamBytes = extra;
        for (const Bytes& file : {RaceFileWriter::LogFile(description, {.version = 0}),
                                  RaceFileWriter::LogFile(description, {.version = 3}),
                                  RaceFileWriter::RaceFile(description, {.marker = kLogMarker})}) {
            RaceData race;
            ASSERT_EQ(Load(race, file), 1) << extra.size();
            EXPECT_GE(race.drivers->GetCount(), 3);
            for (int i = 0; i < race.drivers->GetCount(); ++i) {
                const int number = race.drivers->GetAt(i)->car & 63;
                if (number == 63 || number == 0) {
                    EXPECT_EQ(race.drivers->GetAt(i)->name, "") << "no entry names this car";
                }
            }
        }
    }
}

} // namespace

// Cut-off and corrupted files: each is refused or decoded, never read outside its bytes, and a
// refused file leaves the race as it was.
#include "Compressor.h"
#include "LoaderTestSupport.h"

#include <gtest/gtest.h>
#include <random>

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

struct WholeFile {
    const char* name;
    Bytes bytes;
};

TEST_F(DamagedFile, EveryTruncationOfAWholeFileIsRefusedOrDecoded) {
    const WholeFile files[] = {
        {"log v0", RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0})},
        {"log v3", RaceFileWriter::LogFile(ThreeCarRace(), {.version = 3})},
        {"stored log-marker race file", RaceFileWriter::RaceFile(ThreeCarRace(), {.marker = kLogMarker})},
        {"compressed race file", RaceFileWriter::RaceFile(ThreeCarRace(), {.compressed = true})},
    };
    for (const WholeFile& file : files)
        for (std::size_t size = 0; size < file.bytes.size(); ++size)
            ExpectRefusedCleanlyOrDecoded(
                Bytes(file.bytes.begin(), file.bytes.begin() + static_cast<std::ptrdiff_t>(size)),
                std::string(file.name) + " cut to " + std::to_string(size));
}

// A cut body whose checksum still matches gets past the checksum to decompression and the trailer.
TEST_F(DamagedFile, EveryTruncationOfACompressedBodyIsRefusedOrDecoded) {
    for (const std::uint32_t marker : {kGameMarker, kLogMarker}) {
        const RaceFileOptions options{.compressed = true, .marker = marker};
        const Bytes body = Compress(RaceFileWriter::RaceBody(ThreeCarRace(), options));
        for (std::size_t size = 0; size <= body.size(); ++size)
            ExpectRefusedCleanlyOrDecoded(
                RaceFileWriter::WrapStoredBody(std::span(body).first(size), options),
                "compressed body cut to " + std::to_string(size));
    }
}

TEST_F(DamagedFile, TruncationsOfAStoredBodyAreRefusedOrDecoded) {
    const RaceFileOptions options{};
    const Bytes body = RaceFileWriter::RaceBody(ThreeCarRace(), options);
    // Every length near the block and trailer, a sample of the rest.
    for (std::size_t size = 0; size <= body.size();
         size += (size + 1200 > body.size() || size < 64) ? 1 : 211)
        ExpectRefusedCleanlyOrDecoded(RaceFileWriter::WrapStoredBody(std::span(body).first(size), options),
                                      "stored body cut to " + std::to_string(size));
}

TEST_F(DamagedFile, CorruptedBodiesWithMatchingChecksumNeverCrash) {
    std::mt19937 random(77);
    for (const bool compressed : {false, true}) {
        for (const std::uint32_t marker : {kGameMarker, kLogMarker}) {
            const RaceFileOptions options{.compressed = compressed, .marker = marker};
            Bytes body = RaceFileWriter::RaceBody(ThreeCarRace(), options);
            if (compressed)
                body = Compress(body);
            // Flips land in the part the loader reads: the compressed stream, or the block and trailer.
            const std::size_t from = compressed ? 0 : body.size() - 800;
            for (int round = 0; round < 400; ++round) {
                Bytes damaged = body;
                const int flips = 1 + static_cast<int>(random() % 8);
                for (int i = 0; i < flips; ++i)
                    damaged[from + random() % (damaged.size() - from)] ^=
                        static_cast<std::uint8_t>(1 + random() % 255);
                ExpectRefusedCleanlyOrDecoded(RaceFileWriter::WrapStoredBody(damaged, options),
                                              "round " + std::to_string(round));
            }
        }
    }
}

TEST_F(DamagedFile, CorruptedLogFilesNeverCrash) {
    std::mt19937 random(78);
    const Bytes file = RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0});
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = file;
        for (int i = 0; i < 4; ++i)
            damaged[4 + random() % (damaged.size() - 4)] = static_cast<std::uint8_t>(random());
        ExpectRefusedCleanlyOrDecoded(damaged, "round " + std::to_string(round));
    }
}

struct StreamCase {
    const char* name;
    Bytes extra;
};

// Records cut off at the end of the stream, or naming lap 0 or car 0, must not reach outside it.
TEST_F(DamagedFile, OddRecordsAtTheEndOfTheStreamAreHandledSafely) {
    const StreamCase cases[] = {
        {"lone kind byte", {5}},
        {"half a lap record", Bytes(34, 5)},
        {"lap zero",
         [] {
             Bytes record(68, 0);
             record[0] = 5;
             record[1] = 0;
             record[2] = 1;
             return record;
         }()},
        {"car zero",
         [] {
             Bytes record(68, 0);
             record[0] = 5;
             record[1] = 1;
             record[2] = 0;
             return record;
         }()},
        {"car 63 beyond the name table",
         [] {
             Bytes record(68, 0);
             record[0] = 5;
             record[1] = 127;
             record[2] = 63;
             return record;
         }()},
    };
    for (const StreamCase& c : cases) {
        RaceDescription description = ThreeCarRace();
        description.extraStreamBytes = c.extra;
        for (const int version : {0, 3}) {
            RaceData target;
            EXPECT_EQ(Load(target, RaceFileWriter::LogFile(description, {.version = version})), 1) << c.name;
            EXPECT_GE(target.drivers->GetCount(), 3) << c.name;
        }
        RaceData target;
        EXPECT_EQ(Load(target, RaceFileWriter::RaceFile(description)), 1) << c.name;
    }
}

} // namespace

// Files built to hurt or cut short: each is refused or decoded, never read outside its bytes, and a
// refused file leaves the race as it was. Random corruption is the fuzz target's job (fuzz/).
#include "LoaderTestSupport.h"
#include "data/ByteFields.h"
#include "tools/racefile/Compressor.h"

#include <gtest/gtest.h>

namespace {

// Into a race that already holds a file, so that a refused file may change nothing at all.
void ExpectRefusedCleanlyOrDecoded(const Bytes& file, const std::string& what) {
    RaceData race;
    Load(race, RaceFileWriter::LogFile(ThreeCarRace()));
    const std::string before = Snapshot(race);
    ScriptedPrompt prompt({IDYES});
    const int result = Load(race, file, prompt);
    ASSERT_TRUE(result == 0 || result == 1) << what;
    if (result == 0) {
        ASSERT_EQ(Snapshot(race), before) << what;
    }
    EXPECT_LE(prompt.messages.size(), 2u) << what;
}

// A whole race file cut short fails its checksum, so the log files and the header are what a cut
// reaches; a cut body whose checksum still matches gets to decompression and the trailer.
TEST(HostileFile, EveryTruncationIsRefusedOrDecoded) {
    for (const Bytes& file : {RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0}),
                              RaceFileWriter::LogFile(ThreeCarRace(), {.version = 3}),
                              RaceFileWriter::RaceFile(ThreeCarRace(), {.compressed = true})})
        for (std::size_t size = 0; size < file.size(); ++size)
            ExpectRefusedCleanlyOrDecoded(
                Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)),
                std::to_string(file.size()) + " cut to " + std::to_string(size));
    for (const bool compressed : {true, false}) {
        for (const std::uint32_t marker : {kGameMarker, kLogMarker}) {
            const RaceFileOptions options{.compressed = compressed, .marker = marker};
            Bytes body = RaceFileWriter::RaceBody(ThreeCarRace(), options);
            if (compressed)
                body = Compress(body);
            // Of a stored body every length near the block and trailer, a sample of the rest.
            for (std::size_t size = 0; size <= body.size();
                 size += (compressed || size < 64 || size + 1200 > body.size()) ? 1 : 211)
                ExpectRefusedCleanlyOrDecoded(
                    RaceFileWriter::WrapStoredBody(std::span(body).first(size), options),
                    "body cut to " + std::to_string(size));
        }
    }
}

// A record cut off by the stream's end, or naming car 63, past the log's name table, must not
// reach outside the stream or the table the container gives.
TEST(HostileFile, OddRecordsAtTheEndOfTheStreamAreHandledSafely) {
    Bytes car63(68, 0);
    car63[0] = 5;
    car63[1] = 127;
    car63[2] = 63;
    for (const Bytes& extra : {Bytes(34, 5), car63}) {
        RaceDescription description = ThreeCarRace();
        description.extraStreamBytes = extra;
        for (const Bytes& file : {RaceFileWriter::LogFile(description, {.version = 0}),
                                  RaceFileWriter::LogFile(description, {.version = 3}),
                                  RaceFileWriter::RaceFile(description, {.marker = kLogMarker})}) {
            RaceData loaded;
            ASSERT_EQ(Load(loaded, file), 1) << extra.size();
            for (int i = 0; i < loaded.drivers->GetCount(); ++i)
                EXPECT_TRUE(loaded.drivers->GetAt(i)->car != 63 || loaded.drivers->GetAt(i)->name.empty());
        }
    }
}

TEST(HostileFile, TrackNameWithoutNulEndsWithTheBlocksFixedPart) {
    constexpr std::size_t kLogNameAt = 41, kLogRecordsAt = 107, kGameNameAt = 80, kGameRecordsAt = 159;
    constexpr std::size_t kLogVersion0BlockAt = 4;
    Bytes logFile = RaceFileWriter::LogFile(ThreeCarRace(), {.version = 0});
    for (std::size_t at = kLogNameAt; at < kLogRecordsAt; ++at)
        if (logFile[kLogVersion0BlockAt + at] == 0)
            logFile[kLogVersion0BlockAt + at] = 'L';
    const RaceFileOptions options{.gameVersion = 181};
    Bytes body = RaceFileWriter::RaceBody(ThreeCarRace(), options);
    const std::size_t blockAt = ReadU32(body, body.size() - 8);
    for (std::size_t at = blockAt + kGameNameAt; at < blockAt + kGameRecordsAt; ++at)
        if (body[at] == 0)
            body[at] = 'G';
    const std::pair<Bytes, std::size_t> cases[] = {
        {logFile, kLogRecordsAt - kLogNameAt},
        {RaceFileWriter::WrapStoredBody(body, options), kGameRecordsAt - kGameNameAt}};
    for (const auto& [file, nameLength] : cases) {
        RaceData loaded;
        ASSERT_EQ(Load(loaded, file), 1);
        EXPECT_EQ(loaded.trackName.size(), nameLength);
        EXPECT_EQ(loaded.trackName.substr(0, 11), "Port Haddon");
        EXPECT_EQ(loaded.drivers->GetCount(), 3) << "the records are still records";
    }
}

} // namespace

#include "data/Checksum.h"
#include "data/Decompress.h"
#include "tools/racefile/Compressor.h"
#include "tools/racefile/RaceFileWriter.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

// The paths by name, in test names and output.
void PrintTo(DecompressPath path, std::ostream* out) {
    *out << (path == DecompressPath::kPortable ? "Portable" : "ByteShuffle");
}

namespace {

Bytes Random(std::size_t size, std::uint32_t seed, std::uint32_t alphabet = 256) {
    std::mt19937 random(seed);
    Bytes data(size);
    for (std::uint8_t& byte : data)
        byte = static_cast<std::uint8_t>(random() % alphabet);
    return data;
}

// Every race file the loader reads checks the sums against the file writer's own; this pins both to
// known values.
TEST(Checksum, SumsAndRotatesAtSixteenBits) {
    const Bytes abc = {'a', 'b', 'c'};
    std::uint16_t sumA = 0;
    std::uint16_t sumB = 0;
    UpdateChecksum(abc.data(), abc.size(), sumA, sumB);
    EXPECT_EQ(sumA, 294);
    EXPECT_EQ(sumB, 7091);
}

// Decompresses with the counting pass, the unsized writing pass and the sized form, which must agree.
std::optional<Bytes> DecompressAllWays(const Bytes& source) {
    const std::optional<std::size_t> count = Decompress(source, nullptr);
    Bytes unsized(count.value_or(64) + 1, 0xAA);
    EXPECT_EQ(Decompress(source, unsized.data()), count);
    if (!count) {
        EXPECT_FALSE(DecompressInto(source, unsized));
        return std::nullopt;
    }
    EXPECT_EQ(unsized.back(), 0xAA) << "the unsized form writes exactly the counted bytes";
    unsized.pop_back();
    Bytes sized(*count);
    EXPECT_EQ(DecompressInto(source, sized), count);
    EXPECT_EQ(sized, unsized);
    if (*count > 0) {
        Bytes small(*count - 1);
        EXPECT_FALSE(DecompressInto(source, small)) << "output larger than the buffer";
    }
    return sized;
}

struct StreamCase {
    const char* what;
    Bytes source;
    std::optional<Bytes> output; // none: refused
};

// 8190 bytes of output, then a group whose first copy reaches 8192 back: before the start, though the
// output is nearly as long as the farthest reference.
Bytes ReferenceJustBeforeTheStart() {
    Bytes source = {0x00, 1, 2, 3, 4, 5, 6, 7, 8};
    for (int copy = 0; copy < 824; ++copy) { // 766 copies of 10 bytes and 58 of 9 from one byte back
        if (copy % 8 == 0)
            source.push_back(0xFF);
        source.insert(source.end(), {0x00, static_cast<std::uint8_t>(copy < 766 ? 0xE0 : 0xC0)});
    }
    source.insert(source.end(), {0x01, 0xFF, 0x1F});
    source.insert(source.end(), 48, 0x00);
    return source;
}

// Long valid streams come from the test compressor: copies of every length, overlapping and 8192 back.
Bytes FarRepeats() {
    Bytes data = Random(8192, 3);
    data.insert(data.end(), data.begin(), data.end());
    return data;
}

// Runs repeating every 1 to 16 bytes: copies from closer than a chunk, each distance in turn.
Bytes ShortPeriods() {
    Bytes data;
    for (std::uint8_t period = 1; period <= 16; ++period)
        for (int i = 0; i < 64; ++i)
            data.push_back(static_cast<std::uint8_t>(period * 16 + i % period));
    return data;
}

// Each case runs on the portable loop and on the byte-shuffle loop, whichever the machine has.
class DecompressOnPath : public testing::TestWithParam<DecompressPath> {
protected:
    void SetUp() override {
        SetDecompressPath(GetParam());
        if (ActiveDecompressPath() != GetParam())
            GTEST_SKIP() << "the processor lacks the byte-shuffle instructions";
    }
    void TearDown() override { SetDecompressPath(DecompressPath::kAuto); }
};

TEST_P(DecompressOnPath, GivesTheOutputOrRefuses) {
    const StreamCase cases[] = {
        {"literal then overlapping copy", {0x02, 0x78, 0x00, 0x20}, Bytes(5, 0x78)},
        {"empty", {}, Bytes{}},
        {"control byte only", {0xFF}, Bytes{}},
        {"items past the source end stop the output", {0x00, 1, 2, 3}, Bytes{1, 2, 3}},
        {"half a token at the end stops the output", {0x02, 0x41, 0x00}, Bytes{0x41}},
        {"second group",
         {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x01, 0x07, 0xE0},
         Bytes{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2}},
        {"reference before the output start", {0x01, 0x00, 0x00}, std::nullopt},
        {"reference one too far", {0x04, 1, 2, 0x02, 0x00}, std::nullopt},
        {"reference to the first byte", {0x04, 1, 2, 0x01, 0x00}, Bytes{1, 2, 1, 2, 1}},
        {"reference before the start at 8190 bytes", ReferenceJustBeforeTheStart(), std::nullopt},
    };
    for (const StreamCase& stream : cases)
        EXPECT_EQ(DecompressAllWays(stream.source), stream.output) << stream.what;
}

TEST_P(DecompressOnPath, GivesBackWhatTheCompressorPacked) {
    const Bytes originals[] = {{42},
                               {7, 7, 7},
                               Bytes(100000, 0),
                               Random(50000, 1),
                               Random(50000, 2, 3),
                               RaceFileWriter::RaceBody({}, {}),
                               FarRepeats(),
                               ShortPeriods()};
    for (const Bytes& original : originals)
        EXPECT_EQ(DecompressAllWays(Compress(original)), original) << original.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Paths, DecompressOnPath,
                         testing::Values(DecompressPath::kPortable, DecompressPath::kByteShuffle),
                         testing::PrintToStringParamName());

} // namespace

#include "data/RaceFileLoader.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Checksum, SumsOfAbc) {
    const Bytes abc = {'a', 'b', 'c'};
    std::uint16_t sumA = 0;
    std::uint16_t sumB = 0;
    UpdateChecksum(abc.data(), abc.size(), sumA, sumB);
    EXPECT_EQ(sumA, 294);
    EXPECT_EQ(sumB, 7091);
}

TEST(Checksum, CarriesAcrossCallsAndWrapsAtSixteenBits) {
    Bytes bytes(1000);
    std::mt19937 random(7);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    std::uint16_t wholeA = 0x1234;
    std::uint16_t wholeB = 0xFFFF;
    UpdateChecksum(bytes.data(), bytes.size(), wholeA, wholeB);
    std::uint16_t partA = 0x1234;
    std::uint16_t partB = 0xFFFF;
    UpdateChecksum(bytes.data(), 333, partA, partB);
    UpdateChecksum(bytes.data() + 333, bytes.size() - 333, partA, partB);
    EXPECT_EQ(partA, wholeA);
    EXPECT_EQ(partB, wholeB);

    const Bytes ones(300, 0xFF);
    std::uint16_t sumA = 0;
    std::uint16_t sumB = 0x8000;
    UpdateChecksum(ones.data(), ones.size(), sumA, sumB);
    EXPECT_EQ(sumA, static_cast<std::uint16_t>(300 * 0xFF));
    UpdateChecksum(nullptr, 0, sumA, sumB);
    EXPECT_EQ(sumA, static_cast<std::uint16_t>(300 * 0xFF));
}

// The scheme step by step, as an independent oracle for the optimised decoder.
std::optional<Bytes> ReferenceDecompress(const Bytes& source) {
    Bytes output;
    std::size_t in = 0;
    while (in < source.size()) {
        const unsigned control = source[in++];
        for (unsigned item = 0; item < 8; ++item) {
            if (in >= source.size())
                return output;
            if ((control >> item & 1) == 0) {
                output.push_back(source[in++]);
                continue;
            }
            if (in + 1 >= source.size())
                return output;
            const unsigned token = source[in] | source[in + 1] << 8;
            in += 2;
            const std::size_t distance = (token & 0x1FFF) + 1;
            if (distance > output.size())
                return std::nullopt;
            for (unsigned copied = 0; copied < (token >> 13) + 3; ++copied)
                output.push_back(output[output.size() - distance]);
        }
    }
    return output;
}

std::optional<Bytes> DecompressBothWays(const Bytes& source) {
    const std::optional<std::size_t> count = Decompress(source, nullptr);
    if (!count)
        return std::nullopt;
    Bytes unsized(*count + 1, 0xAA);
    const std::optional<std::size_t> unsizedCount = Decompress(source, unsized.data());
    EXPECT_EQ(unsizedCount, count);
    EXPECT_EQ(unsized.back(), 0xAA) << "the unsized form writes exactly the counted bytes";
    unsized.pop_back();
    Bytes sized(*count);
    EXPECT_EQ(DecompressInto(source, sized), count);
    EXPECT_EQ(sized, unsized);
    return sized;
}

struct StreamCase {
    const char* what;
    Bytes source;
    std::optional<Bytes> output; // none: refused
};

class DecompressStreams : public testing::TestWithParam<StreamCase> {};

TEST_P(DecompressStreams, CountingAndWritingPassesAgree) {
    const std::optional<std::size_t> count = Decompress(GetParam().source, nullptr);
    if (!GetParam().output) {
        EXPECT_FALSE(count);
        Bytes scratch(64);
        EXPECT_FALSE(Decompress(GetParam().source, scratch.data()));
        EXPECT_FALSE(DecompressInto(GetParam().source, scratch));
        return;
    }
    ASSERT_TRUE(count);
    EXPECT_EQ(DecompressBothWays(GetParam().source), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecompressStreams,
    testing::Values(StreamCase{"LiteralThenOverlappingCopy", {0x02, 0x78, 0x00, 0x20}, Bytes(5, 0x78)},
                    StreamCase{"Empty", {}, Bytes{}}, StreamCase{"ControlByteOnly", {0xFF}, Bytes{}},
                    StreamCase{"ItemsPastSourceEndStopOutput", {0x00, 1, 2, 3}, Bytes{1, 2, 3}},
                    StreamCase{"HalfTokenAtEndStopsOutput", {0x02, 0x41, 0x00}, Bytes{0x41}},
                    StreamCase{"SecondGroup",
                               {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x01, 0x07, 0xE0},
                               Bytes{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2}},
                    StreamCase{"ReferenceBeforeOutputStartRefused", {0x01, 0x00, 0x00}, std::nullopt},
                    StreamCase{"ReferenceOneTooFarRefused", {0x04, 1, 2, 0x02, 0x00}, std::nullopt},
                    StreamCase{
                        "ReferenceToTheFirstByteAccepted", {0x04, 1, 2, 0x01, 0x00}, Bytes{1, 2, 1, 2, 1}}),
    [](const auto& info) { return std::string(info.param.what); });

// Valid streams mixing literals with copies of every length, at short (overlapping) and long distances,
// so that both the group-at-a-time path and the careful path near the ends are exercised.
Bytes RandomStream(std::mt19937& random, std::size_t items, unsigned copyPercent) {
    Bytes source;
    std::size_t controlAt = 0;
    std::size_t produced = 0;
    for (std::size_t item = 0; item < items; ++item) {
        if (item % 8 == 0) {
            controlAt = source.size();
            source.push_back(0);
        }
        if (produced == 0 || random() % 100 >= copyPercent) {
            source.push_back(static_cast<std::uint8_t>(random()));
            ++produced;
            continue;
        }
        source[controlAt] |= static_cast<std::uint8_t>(1u << (item % 8));
        const std::size_t farthest = std::min<std::size_t>(produced, 8192);
        const std::size_t distance =
            1 + (random() % 2 ? random() % std::min<std::size_t>(farthest, 9) : random() % farthest);
        const unsigned length = 3 + random() % 8;
        const unsigned token = (length - 3) << 13 | static_cast<unsigned>(distance - 1);
        source.push_back(static_cast<std::uint8_t>(token));
        source.push_back(static_cast<std::uint8_t>(token >> 8));
        produced += length;
    }
    return source;
}

TEST(DecompressRandom, MatchesTheStepByStepSchemeOnRandomStreams) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        // Random control bytes make every item kind appear; the oracle decides what they mean.
        Bytes source(1 + random() % 3000);
        for (std::uint8_t& byte : source)
            byte = static_cast<std::uint8_t>(random());
        // Keep distances small enough that most streams decode to the end.
        for (std::size_t index = 0; index < source.size(); ++index) {
            if (random() % 4 == 0)
                source[index] &= 0xE0;
        }
        const std::optional<Bytes> expected = ReferenceDecompress(source);
        const std::optional<std::size_t> count = Decompress(source, nullptr);
        ASSERT_EQ(count.has_value(), expected.has_value()) << "round " << round;
        if (expected) {
            ASSERT_EQ(DecompressBothWays(source), expected) << "round " << round;
        }
    }
}

TEST(DecompressRandom, LongValidStreamsRoundTrip) {
    std::mt19937 random(99);
    for (unsigned copyPercent : {0u, 30u, 70u, 100u}) {
        const Bytes source = RandomStream(random, 20000, copyPercent);
        const std::optional<Bytes> expected = ReferenceDecompress(source);
        ASSERT_TRUE(expected);
        EXPECT_EQ(DecompressBothWays(source), expected) << copyPercent << "% copies";
    }
}

TEST(DecompressInto, RefusesOutputLargerThanTheBuffer) {
    const Bytes source = {0x02, 0x78, 0x00, 0x20};
    Bytes small(4);
    EXPECT_FALSE(DecompressInto(source, small));
    Bytes none;
    EXPECT_FALSE(DecompressInto(source, none));
}

} // namespace

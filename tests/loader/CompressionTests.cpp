#include "Compressor.h"
#include "RaceFileWriter.h"
#include "data/RaceFileLoader.h"

#include <gtest/gtest.h>
#include <random>

namespace {

Bytes RoundTrip(const Bytes& data) {
    const Bytes packed = Compress(data);
    const std::optional<std::size_t> length = Decompress(packed, nullptr);
    if (!length)
        return {};
    Bytes unpacked(*length);
    const std::optional<std::size_t> written = Decompress(packed, unpacked.data());
    EXPECT_EQ(written, length);
    return unpacked;
}

struct DataCase {
    const char* name;
    Bytes data;
};

Bytes Random(std::size_t size, std::uint32_t seed, std::uint32_t alphabet) {
    std::mt19937 random(seed);
    Bytes data(size);
    for (auto& byte : data)
        byte = static_cast<std::uint8_t>(random() % alphabet);
    return data;
}

class CompressedData : public testing::TestWithParam<DataCase> {};

TEST_P(CompressedData, DecompressesToTheOriginal) {
    EXPECT_EQ(RoundTrip(GetParam().data), GetParam().data);
}

INSTANTIATE_TEST_SUITE_P(Compressor, CompressedData,
                         testing::Values(DataCase{"Empty", {}}, DataCase{"OneByte", {42}},
                                         DataCase{"ThreeSame", {7, 7, 7}},
                                         DataCase{"LongRun", Bytes(100000, 0)},
                                         DataCase{"RandomBytes", Random(50000, 1, 256)},
                                         DataCase{"FewSymbols", Random(50000, 2, 3)},
                                         DataCase{"RaceBody", RaceFileWriter::RaceBody({}, {})},
                                         DataCase{"FarRepeats",
                                                  [] {
                                                      Bytes block = Random(8192, 3, 256);
                                                      Bytes data = block;
                                                      data.insert(data.end(), block.begin(), block.end());
                                                      return data;
                                                  }()}),
                         [](const testing::TestParamInfo<DataCase>& info) { return info.param.name; });

TEST(Compressor, UsesBackReferencesOnRepetitiveData) {
    EXPECT_LT(Compress(Bytes(100000, 0)).size(), 100000u / 4);
    EXPECT_LT(Compress(Random(100000, 4, 4)).size(), 100000u * 3 / 4);
}

TEST(Decompress, ExpandsAnOverlappingBackReference) {
    const Bytes source = {0x02, 0x78, 0x00, 0x20};
    EXPECT_EQ(Decompress(source, nullptr), 5u);
    Bytes out(5);
    EXPECT_EQ(Decompress(source, out.data()), 5u);
    EXPECT_EQ(out, Bytes(5, 0x78));
}

TEST(Decompress, RefusesReferencesBeforeTheStartOfTheOutput) {
    const Bytes source = {0x01, 0x00, 0x00};
    Bytes out(16);
    EXPECT_FALSE(Decompress(source, out.data()).has_value());
}

TEST(Checksum, MatchesTheWritersOverAnyBytes) {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    const Bytes abc = {0x61, 0x62, 0x63};
    UpdateChecksum(abc.data(), abc.size(), a, b);
    EXPECT_EQ(a, 294);
    EXPECT_EQ(b, 7091);

    const Bytes data = Random(10007, 5, 256);
    std::uint16_t loaderA = 11;
    std::uint16_t loaderB = 12345;
    std::uint16_t writerA = 11;
    std::uint16_t writerB = 12345;
    UpdateChecksum(data.data(), 5000, loaderA, loaderB);
    UpdateChecksum(data.data() + 5000, data.size() - 5000, loaderA, loaderB);
    AddToChecksum(data, writerA, writerB);
    EXPECT_EQ(loaderA, writerA);
    EXPECT_EQ(loaderB, writerB);
}

} // namespace

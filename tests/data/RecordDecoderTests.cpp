#include "RecordStreamBuilder.h"
#include "data/RaceData.h"
#include "data/RecordDecoder.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Variant = RecordStreamBuilder::Variant;

class Decoding : public testing::TestWithParam<Variant> {
protected:
    RecordStreamBuilder Stream() const { return RecordStreamBuilder(GetParam()); }

    int Decode(const std::vector<std::uint8_t>& stream, const std::vector<std::uint8_t>& names = {}) {
        return GetParam() == Variant::kLog ? DecodeLogRecords(race, names, stream)
                                           : DecodeGameRecords(race, names, stream);
    }
    int Decode(const RecordStreamBuilder& stream, const std::vector<std::uint8_t>& names = {}) {
        return Decode(stream.Bytes(), names);
    }

    DriverRecord* Car(std::uint8_t carByte) const {
        for (int index = 0; index < race.drivers->GetCount(); ++index)
            if (race.drivers->GetAt(index)->car == carByte)
                return race.drivers->GetAt(index);
        return nullptr;
    }

    RaceData race;
};

TEST_P(Decoding, LapRecordsFillSlotsByLapNumberWithoutBitSeven) {
    EXPECT_EQ(Decode(Stream().Lap(7, 1, 90000, 90000).Lap(7, 0x83, 270000, 91000, true)), 1);
    ASSERT_EQ(race.drivers->GetCount(), 1);
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->colour, kPalette[0]);
    ASSERT_EQ(car->laps.GetSize(), 3);
    EXPECT_EQ(car->laps.GetAt(0)->lapTime, 90000u);
    EXPECT_EQ(car->laps.GetAt(0)->flags, 0u) << "flag bits other than bit 1 do not mark a lap";
    EXPECT_EQ(car->laps.GetAt(1), nullptr);
    EXPECT_EQ(car->laps.GetAt(2)->raceTime, 270000u);
    EXPECT_EQ(car->laps.GetAt(2)->flags, std::uint32_t{kLapMarked});
    EXPECT_EQ(race.lapCount, 3);
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{90000, kNoTime, 270000}));
    EXPECT_EQ(race.lastTimes[1], 0u);
}

TEST_P(Decoding, MarkerBitsMakeSeparateCarsThatShareTheName) {
    Decode(Stream().Lap(0x05, 1, 90000, 90000).Lap(0x45, 1, 95000, 95000),
           NameTable({"", "", "", "", "Fifth Driver"}));
    ASSERT_EQ(race.drivers->GetCount(), 2);
    EXPECT_EQ(Car(0x05)->name, "Fifth Driver");
    EXPECT_EQ(Car(0x45)->name, "Fifth Driver");
    EXPECT_EQ(Car(0x45)->colour, kPalette[1]);
}

TEST_P(Decoding, TypeAEventMarksItsLapTypeBTheFollowingLapLaterEventsWin) {
    Decode(Stream()
               .Lap(1, 3, 300000, 100000, true)
               .Lap(1, 4, 400000, 100000)
               .EventA(1, 3, 305000)
               .EventA(1, 3, 310000)
               .EventB(1, 3, 420000));
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->laps.GetAt(2)->flags, kLapMarked | kLapEventA);
    EXPECT_EQ(car->laps.GetAt(2)->eventTime, 310000u);
    EXPECT_EQ(car->laps.GetAt(3)->flags, std::uint32_t{kLapEventB});
    EXPECT_EQ(car->laps.GetAt(3)->eventTime, 420000u);
}

TEST_P(Decoding, EventsWithoutTheirLapOrCarAndLapZeroChangeNothing) {
    Decode(Stream()
               .EventA(1, 1, 5000) // car not seen yet
               .Lap(9, 0, 1000, 1000)
               .Lap(1, 3, 300000, 100000)
               .EventB(1, 3, 420000) // lap 4 not there yet
               .EventA(1, 2, 200000)
               .EventA(2, 3, 310000)
               .EventA(1, 0, 310000)
               .EventB(1, 127, 1)
               .Lap(1, 4, 400000, 100000)
               .Lap(2, 2, 90000, 90000) // a repeated lap drops its earlier event
               .EventA(2, 2, 95000)
               .Lap(2, 2, 91000, 91000));
    ASSERT_EQ(race.drivers->GetCount(), 2);
    EXPECT_EQ(Car(1)->laps.GetAt(2)->flags, 0u);
    EXPECT_EQ(Car(1)->laps.GetAt(3)->flags, 0u);
    EXPECT_EQ(Car(1)->colour, kPalette[0]);
    const LapRecord* repeated = Car(2)->laps.GetAt(1);
    EXPECT_EQ(repeated->raceTime, 91000u);
    EXPECT_EQ(repeated->flags + repeated->eventTime, 0u);
    EXPECT_EQ(race.nextColour, 2);
}

TEST_P(Decoding, SecondFileAddsOnlyNewCarsInSortedPlaceYetAdvancesColours) {
    const auto stream = Stream().Lap(1, 1, 90000, 90000).Lap(2, 1, 92000, 92000);
    Decode(stream);
    EXPECT_EQ(Decode(stream), 1);
    EXPECT_EQ(race.drivers->GetCount(), 2);
    EXPECT_EQ(race.nextColour, 4);
    Decode(Stream().Lap(3, 1, 91000, 91000).Lap(3, 2, 182000, 91000));
    ASSERT_EQ(race.drivers->GetCount(), 3);
    EXPECT_EQ(race.drivers->GetAt(0)->car, 3);
    EXPECT_EQ(race.drivers->GetAt(1)->car, 1);
    EXPECT_EQ(race.drivers->GetAt(0)->colour, kPalette[4]);
}

TEST_P(Decoding, FastestLapOrderDropsCarEqualOnlyInFastestLap) {
    race.Sort(kSortByFastestLap);
    Decode(Stream().Lap(1, 1, 90000, 90000).Lap(1, 2, 180000, 90000));
    Decode(Stream().Lap(1, 1, 95000, 95000).Lap(1, 2, 185000, 90000).Lap(1, 3, 280000, 95000));
    EXPECT_EQ(race.drivers->GetCount(), 1);
    EXPECT_EQ(race.lapCount, 3) << "the dropped car's laps still count";
}

TEST_P(Decoding, UnknownKindOrCutRecordEndsTheStreamYetCountsAsDecoded) {
    Decode(Stream().Lap(1, 1, 90000, 90000));
    race.maxGap = 4242;
    EXPECT_EQ(Decode(Stream().Byte(0).Lap(2, 1, 90000, 90000)), 1);
    EXPECT_EQ(race.maxGap, 0u) << "statistics are recomputed";
    EXPECT_EQ(Decode(std::vector<std::uint8_t>{}), 1);
    Decode(Stream().Lap(2, 1, 90000, 90000).Byte(0x99).Lap(3, 1, 90000, 90000));
    EXPECT_EQ(race.drivers->GetCount(), 2);

    const auto full = Stream().Lap(4, 1, 90000, 90000).EventA(4, 1, 95000).Lap(5, 1, 91000, 91000).Bytes();
    for (const std::size_t cut : {std::size_t{1}, full.size() / 2 - 1}) {
        RaceData fresh;
        const std::vector<std::uint8_t> stream(full.begin(), full.end() - static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(GetParam() == Variant::kLog ? DecodeLogRecords(fresh, {}, stream)
                                              : DecodeGameRecords(fresh, {}, stream),
                  1);
        ASSERT_EQ(fresh.drivers->GetCount(), 1) << "cut " << cut;
        EXPECT_EQ(fresh.drivers->GetAt(0)->laps.GetAt(0)->flags, cut == 1 ? kLapEventA : 0u) << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, Decoding, testing::Values(Variant::kLog, Variant::kGame),
                         [](const auto& info) { return info.param == Variant::kLog ? "Log" : "Game"; });

TEST(CarNames, ComeFromTheEntryOfTheCarNumberOrAreEmpty) {
    std::vector<std::uint8_t> names = NameTable({"Ann", "Bob"}, 40);
    // Entry 3 runs into entry 4 without a NUL; entry 5 and the last entry fill their 24 bytes.
    for (std::size_t index = 0; index < 30; ++index)
        names[2 * 24 + index] = static_cast<std::uint8_t>('a' + index % 26);
    std::fill_n(names.begin() + 4 * 24, 24, 'X');
    std::fill_n(names.end() - 24, 24, 'L');
    const std::vector<std::uint8_t> cutShort = {'A', 'n', 'n', 'B', 'o'};
    const std::vector<std::uint8_t> none;
    const std::tuple<std::uint8_t, const std::vector<std::uint8_t>*, std::string> cases[] = {
        {1, &names, "Ann"},
        {0xC2, &names, "Bob"},
        {3, &names, "abcdefghijklmnopqrstuvwx"},
        {5, &names, std::string(24, 'X')},
        {40, &names, std::string(24, 'L')},
        {0, &names, ""},
        {41, &names, ""},
        {1, &cutShort, "AnnBo"},
        {1, &none, ""}};
    for (const auto& [carByte, table, name] : cases) {
        RaceData race;
        DecodeLogRecords(race, *table, RecordStreamBuilder(Variant::kLog).Lap(carByte, 1, 1, 1).Bytes());
        ASSERT_EQ(race.drivers->GetCount(), 1);
        EXPECT_EQ(race.drivers->GetAt(0)->name, name) << int{carByte};
    }
}

TEST(StreamVariants, GameCodesAreNotLogCodes) {
    // A game lap record (kind 4) ends a log stream; a log lap record (kind 5) is a game type A event.
    RaceData race;
    DecodeLogRecords(race, {}, RecordStreamBuilder(Variant::kGame).Lap(1, 1, 1, 1).Bytes());
    DecodeGameRecords(race, {}, RecordStreamBuilder(Variant::kLog).Lap(1, 1, 1, 1).Bytes());
    EXPECT_EQ(race.drivers->GetCount(), 0);
}

} // namespace

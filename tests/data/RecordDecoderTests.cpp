#include "RecordStreamBuilder.h"
#include "data/RaceData.h"
#include "data/RecordDecoder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Variant = RecordStreamBuilder::Variant;

class Decoding : public testing::TestWithParam<Variant> {
protected:
    RecordStreamBuilder Stream() const { return RecordStreamBuilder(GetParam()); }

    int Decode(RaceData& into, const std::vector<std::uint8_t>& stream,
               const std::vector<std::uint8_t>& names = {}) const {
        return GetParam() == Variant::kLog ? DecodeLogRecords(into, names, stream)
                                           : DecodeGameRecords(into, names, stream);
    }

    int Decode(const std::vector<std::uint8_t>& stream, const std::vector<std::uint8_t>& names = {}) {
        return Decode(race, stream, names);
    }

    int Decode(const RecordStreamBuilder& stream, const std::vector<std::uint8_t>& names = {}) {
        return Decode(stream.Bytes(), names);
    }

    DriverRecord* CarWithByte(std::uint8_t carByte) const {
        for (int index = 0; index < race.drivers->GetCount(); ++index) {
            if (race.drivers->GetAt(index)->car == carByte)
                return race.drivers->GetAt(index);
        }
        return nullptr;
    }

    RaceData race;
};

TEST_P(Decoding, LapRecordsOfOneCarByteMakeOneCar) {
    EXPECT_EQ(Decode(Stream().Lap(7, 1, 90000, 90000).Lap(7, 2, 181000, 91000, true)), 1);
    ASSERT_EQ(race.drivers->GetCount(), 1);
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->car, 7);
    EXPECT_EQ(car->colour, kPalette[0]);
    ASSERT_EQ(car->laps.GetSize(), 2);
    EXPECT_EQ(car->laps.GetAt(0)->raceTime, 90000u);
    EXPECT_EQ(car->laps.GetAt(0)->lapTime, 90000u);
    EXPECT_EQ(car->laps.GetAt(0)->flags, 0u) << "flag bits other than bit 1 do not mark a lap";
    EXPECT_EQ(car->laps.GetAt(1)->raceTime, 181000u);
    EXPECT_EQ(car->laps.GetAt(1)->lapTime, 91000u);
    EXPECT_EQ(car->laps.GetAt(1)->flags, std::uint32_t{kLapMarked});
    EXPECT_EQ(car->laps.GetAt(1)->eventTime, 0u);
    EXPECT_EQ(race.lapCount, 2);
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{90000, 181000}));
}

TEST_P(Decoding, MarkerBitsMakeSeparateCarsThatShareTheName) {
    const auto names = NameTable({"", "", "", "", "Fifth Driver"});
    Decode(Stream().Lap(0x05, 1, 90000, 90000).Lap(0x45, 1, 95000, 95000), names);
    ASSERT_EQ(race.drivers->GetCount(), 2);
    ASSERT_NE(CarWithByte(0x05), nullptr);
    ASSERT_NE(CarWithByte(0x45), nullptr);
    EXPECT_EQ(CarWithByte(0x05)->name, "Fifth Driver");
    EXPECT_EQ(CarWithByte(0x45)->name, "Fifth Driver");
    EXPECT_EQ(CarWithByte(0x05)->colour, kPalette[0]);
    EXPECT_EQ(CarWithByte(0x45)->colour, kPalette[1]);
}

TEST_P(Decoding, MissingLapLeavesEmptySlotAndLapNumberIgnoresBitSeven) {
    Decode(Stream().Lap(1, 1, 90000, 90000).Lap(1, 0x83, 270000, 90000));
    const DriverRecord* car = race.drivers->GetAt(0);
    ASSERT_EQ(car->laps.GetSize(), 3);
    EXPECT_EQ(car->laps.GetAt(1), nullptr);
    EXPECT_EQ(race.lapCount, 3);
    EXPECT_EQ(race.leaderTimes[1], kNoTime);
    EXPECT_EQ(race.lastTimes[1], 0u);
}

TEST_P(Decoding, TypeAEventMarksItsLapTypeBTheFollowingLap) {
    Decode(Stream()
               .Lap(1, 3, 300000, 100000, true)
               .Lap(1, 4, 400000, 100000)
               .EventA(1, 3, 310000)
               .EventB(1, 3, 420000));
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->laps.GetAt(2)->flags, kLapMarked | kLapEventA) << "the event adds to the lap's own flag";
    EXPECT_EQ(car->laps.GetAt(2)->eventTime, 310000u);
    EXPECT_EQ(car->laps.GetAt(3)->flags, std::uint32_t{kLapEventB});
    EXPECT_EQ(car->laps.GetAt(3)->eventTime, 420000u);
}

TEST_P(Decoding, EventsWithoutTheirLapOrCarChangeNothing) {
    Decode(Stream()
               .EventA(1, 1, 5000) // car not seen yet
               .Lap(1, 3, 300000, 100000)
               .EventB(1, 3, 420000) // lap 4 not there
               .EventA(1, 2, 200000) // lap 2 not there
               .EventA(2, 3, 310000) // another car, never seen
               .EventA(1, 0, 310000) // lap 0
               .EventB(1, 127, 1)    // beyond any slot
               .Lap(1, 4, 400000, 100000));
    ASSERT_EQ(race.drivers->GetCount(), 1);
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->laps.GetAt(2)->flags, 0u);
    EXPECT_EQ(car->laps.GetAt(3)->flags, 0u) << "events reach only laps that came before them";
    EXPECT_EQ(race.nextColour, 1);
}

TEST_P(Decoding, RepeatedLapReplacesEarlierLapAndItsEvent) {
    Decode(Stream().Lap(1, 1, 90000, 90000).EventA(1, 1, 95000).EventA(1, 1, 97000));
    EXPECT_EQ(race.drivers->GetAt(0)->laps.GetAt(0)->eventTime, 97000u) << "a later event replaces the time";
    Decode(Stream().Lap(2, 1, 90000, 90000).EventA(2, 1, 95000).Lap(2, 1, 91000, 91000));
    const LapRecord* lap = CarWithByte(2)->laps.GetAt(0);
    EXPECT_EQ(lap->raceTime, 91000u);
    EXPECT_EQ(lap->flags, 0u);
    EXPECT_EQ(lap->eventTime, 0u);
}

TEST_P(Decoding, SameStreamTwiceAddsNothingButAdvancesColours) {
    const auto stream = Stream().Lap(1, 1, 90000, 90000).Lap(2, 1, 91000, 91000).Lap(3, 1, 92000, 92000);
    Decode(stream);
    EXPECT_EQ(Decode(stream), 1);
    EXPECT_EQ(race.drivers->GetCount(), 3);
    EXPECT_EQ(race.nextColour, 6);
}

TEST_P(Decoding, SecondFileCarsJoinInSortedPlace) {
    Decode(Stream().Lap(1, 1, 90000, 90000).Lap(2, 1, 92000, 92000));
    Decode(Stream().Lap(3, 1, 91000, 91000).Lap(3, 2, 182000, 91000));
    ASSERT_EQ(race.drivers->GetCount(), 3);
    EXPECT_EQ(race.drivers->GetAt(0)->car, 3);
    EXPECT_EQ(race.drivers->GetAt(1)->car, 1);
    EXPECT_EQ(race.drivers->GetAt(2)->car, 2);
    EXPECT_EQ(race.drivers->GetAt(0)->colour, kPalette[2]);
}

TEST_P(Decoding, FastestLapOrderDropsCarEqualOnlyInFastestLap) {
    race.Sort(kSortByFastestLap);
    Decode(Stream().Lap(1, 1, 90000, 90000).Lap(1, 2, 180000, 90000));
    Decode(Stream().Lap(1, 1, 95000, 95000).Lap(1, 2, 185000, 90000).Lap(1, 3, 280000, 95000));
    EXPECT_EQ(race.drivers->GetCount(), 1);
    EXPECT_EQ(race.lapCount, 3) << "the dropped car's laps still count";
}

TEST_P(Decoding, UnknownKindStopsYetCountsAsDecoded) {
    Decode(Stream().Lap(1, 1, 90000, 90000));
    race.maxGap = 4242;
    EXPECT_EQ(Decode(Stream().Byte(0).Lap(2, 1, 90000, 90000)), 1);
    EXPECT_EQ(race.drivers->GetCount(), 1);
    EXPECT_EQ(race.maxGap, 0u) << "statistics are recomputed";
    EXPECT_EQ(Decode(std::vector<std::uint8_t>{}), 1);
    Decode(Stream().Lap(2, 1, 90000, 90000).Byte(0x99).Lap(3, 1, 90000, 90000));
    EXPECT_EQ(race.drivers->GetCount(), 2);
}

TEST_P(Decoding, LapNumberZeroIsSkippedAndDecodingGoesOn) {
    Decode(Stream().Lap(1, 0, 90000, 90000).Lap(2, 1, 91000, 91000));
    ASSERT_EQ(race.drivers->GetCount(), 1);
    EXPECT_EQ(race.drivers->GetAt(0)->car, 2);
    EXPECT_EQ(race.drivers->GetAt(0)->colour, kPalette[0]);
}

TEST_P(Decoding, RecordCutOffByStreamEndIsNotRead) {
    const std::vector<std::uint8_t> full = Stream().Lap(1, 1, 90000, 90000).Lap(2, 1, 91000, 91000).Bytes();
    for (std::size_t cut = 1; cut < full.size() / 2; ++cut) {
        RaceData fresh;
        const std::vector<std::uint8_t> stream(full.begin(), full.end() - static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(Decode(fresh, stream), 1);
        ASSERT_EQ(fresh.drivers->GetCount(), 1) << "cut " << cut;
        EXPECT_EQ(fresh.drivers->GetAt(0)->car, 1);
    }
    // A truncated event is not applied either.
    auto withEvent = Stream().Lap(1, 1, 90000, 90000).EventA(1, 1, 95000).Bytes();
    withEvent.pop_back();
    Decode(withEvent);
    EXPECT_EQ(race.drivers->GetAt(0)->laps.GetAt(0)->flags, 0u);
}

TEST(CarNames, ComeFromTheEntryOfTheCarNumberOrAreEmpty) {
    std::vector<std::uint8_t> names = NameTable({"Ann", "Bob"}, 40);
    // Entry 3 runs for 30 bytes into entry 4 without a NUL; entry 5 fills its 24 bytes exactly,
    // and so does the last entry, which ends the table.
    for (std::size_t index = 0; index < 30; ++index)
        names[2 * 24 + index] = static_cast<std::uint8_t>('a' + index % 26);
    std::fill_n(names.begin() + 4 * 24, 24, 'X');
    std::fill_n(names.end() - 24, 24, 'L');
    const std::vector<std::uint8_t> none;
    const std::vector<std::uint8_t> cutShort = {'A', 'n', 'n', 'B', 'o'}; // entry 1 has only five bytes
    const std::tuple<std::uint8_t, const std::vector<std::uint8_t>*, std::string> cases[] = {
        {1, &names, "Ann"},
        {0xC2, &names, "Bob"},
        {3, &names, "abcdefghijklmnopqrstuvwx"},
        {5, &names, std::string(24, 'X')},
        {40, &names, std::string(24, 'L')},
        {0, &names, ""},
        {41, &names, ""},
        {63, &names, ""},
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
    EXPECT_EQ(race.drivers->GetCount(), 0);
    DecodeGameRecords(race, {}, RecordStreamBuilder(Variant::kLog).Lap(1, 1, 1, 1).Bytes());
    EXPECT_EQ(race.drivers->GetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, Decoding, testing::Values(Variant::kLog, Variant::kGame),
                         [](const auto& info) { return info.param == Variant::kLog ? "Log" : "Game"; });

} // namespace

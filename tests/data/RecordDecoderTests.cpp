#include "data/RaceData.h"
#include "data/RecordDecoder.h"
#include "tools/racefile/RaceFileWriter.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

EventDescription A(std::uint8_t car, std::uint8_t lap, std::uint32_t time) {
    return {EventType::A, car, lap, time};
}
EventDescription B(std::uint8_t car, std::uint8_t lap, std::uint32_t time) {
    return {EventType::B, car, lap, time};
}

RaceDescription Race(std::vector<CarDescription> cars, std::vector<EventDescription> events = {}) {
    RaceDescription race;
    race.cars = std::move(cars);
    race.events = std::move(events);
    return race;
}

// Each case decodes the stream of the log layout and of the game layout.
class Decoding : public testing::TestWithParam<bool> {
protected:
    Bytes Stream(const RaceDescription& description) const {
        return GetParam() ? RaceFileWriter::LogStream(description) : RaceFileWriter::GameStream(description);
    }
    int Decode(RaceData& into, const Bytes& stream, const Bytes& names = {}) const {
        return GetParam() ? DecodeLogRecords(into, names, stream) : DecodeGameRecords(into, names, stream);
    }
    int Decode(const RaceDescription& description, const Bytes& names = {}) {
        return Decode(race, Stream(description), names);
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
    EXPECT_EQ(Decode(Race({{7, "", {{1, 90000, 90000, false, 0xFD}, {0x83, 270000, 91000, true, 0xFD}}}})),
              1);
    ASSERT_EQ(race.drivers->GetCount(), 1);
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->colour, kPalette[0]);
    ASSERT_EQ(car->laps.GetSize(), 3);
    EXPECT_EQ(car->laps.GetAt(0)->lapTime, 90000u);
    EXPECT_EQ(car->laps.GetAt(0)->flags, 0u);
    EXPECT_EQ(car->laps.GetAt(1), nullptr);
    EXPECT_EQ(car->laps.GetAt(2)->raceTime, 270000u);
    EXPECT_EQ(car->laps.GetAt(2)->flags, std::uint32_t{kLapMarked});
    EXPECT_EQ(race.lapCount, 3);
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{90000, kNoTime, 270000}));
    EXPECT_EQ(race.lastTimes[1], 0u);
}

TEST_P(Decoding, MarkerBitsMakeSeparateCarsThatShareTheName) {
    const RaceDescription description =
        Race({{0x05, "Fifth Driver", {{1, 90000, 90000}}}, {0x45, "Fifth Driver", {{1, 95000, 95000}}}});
    Decode(description, RaceFileWriter::NameTable(description));
    ASSERT_EQ(race.drivers->GetCount(), 2);
    EXPECT_EQ(Car(0x05)->name, "Fifth Driver");
    EXPECT_EQ(Car(0x45)->name, "Fifth Driver");
    EXPECT_EQ(Car(0x45)->colour, kPalette[1]);
}

TEST_P(Decoding, TypeAEventMarksItsLapTypeBTheFollowingLapLaterEventsWin) {
    Decode(Race({{1, "", {{3, 300000, 100000, true}, {4, 400000, 100000}}}},
                {A(1, 3, 305000), A(1, 3, 310000), B(1, 3, 420000)}));
    const DriverRecord* car = race.drivers->GetAt(0);
    EXPECT_EQ(car->laps.GetAt(2)->flags, kLapMarked | kLapEventA);
    EXPECT_EQ(car->laps.GetAt(2)->eventTime, 310000u);
    EXPECT_EQ(car->laps.GetAt(3)->flags, std::uint32_t{kLapEventB});
    EXPECT_EQ(car->laps.GetAt(3)->eventTime, 420000u);
}

// Records go in time order: each event meets only the laps and cars that came before it.
TEST_P(Decoding, EventsWithoutTheirLapOrCarAndLapZeroChangeNothing) {
    Decode(Race({{9, "", {{0, 1000, 1000}}},
                 {1, "", {{3, 300000, 100000}, {4, 400000, 100000}}},
                 {2, "", {{2, 500000, 90000}, {2, 510000, 91000}}}}, // a repeated lap drops its event
                {A(1, 1, 5000), B(1, 3, 350000), A(1, 2, 310000), A(2, 3, 310000), A(1, 0, 310000),
                 B(1, 127, 320000), A(2, 2, 505000)}));
    ASSERT_EQ(race.drivers->GetCount(), 2);
    EXPECT_EQ(Car(1)->laps.GetAt(2)->flags, 0u);
    EXPECT_EQ(Car(1)->laps.GetAt(3)->flags, 0u);
    const LapRecord* repeated = Car(2)->laps.GetAt(1);
    EXPECT_EQ(repeated->raceTime, 510000u);
    EXPECT_EQ(repeated->flags + repeated->eventTime, 0u);
    EXPECT_EQ(race.nextColour, 2);
}

TEST_P(Decoding, SecondFileAddsOnlyNewCarsInSortedPlaceYetAdvancesColours) {
    const RaceDescription first = Race({{1, "", {{1, 90000, 90000}}}, {2, "", {{1, 92000, 92000}}}});
    Decode(first);
    EXPECT_EQ(Decode(first), 1);
    EXPECT_EQ(race.drivers->GetCount(), 2);
    EXPECT_EQ(race.nextColour, 4);
    Decode(Race({{3, "", {{1, 91000, 91000}, {2, 182000, 91000}}}}));
    ASSERT_EQ(race.drivers->GetCount(), 3);
    EXPECT_EQ(race.drivers->GetAt(0)->car, 3);
    EXPECT_EQ(race.drivers->GetAt(1)->car, 1);
    EXPECT_EQ(race.drivers->GetAt(0)->colour, kPalette[4]);

    // Under the fastest-lap order a car equal only in its fastest lap is dropped as well.
    RaceData byFastest;
    byFastest.Sort(kSortByFastestLap);
    Decode(byFastest, Stream(Race({{1, "", {{1, 90000, 90000}, {2, 180000, 90000}}}})));
    Decode(byFastest, Stream(Race({{1, "", {{1, 95000, 95000}, {2, 185000, 90000}, {3, 280000, 95000}}}})));
    EXPECT_EQ(byFastest.drivers->GetCount(), 1);
    EXPECT_EQ(byFastest.lapCount, 3) << "the dropped car's laps still count";
}

TEST_P(Decoding, UnknownKindOrCutRecordOrTheOtherLayoutsLapEndsTheStreamYetCountsAsDecoded) {
    Decode(Race({{1, "", {{1, 90000, 90000}}}}));
    race.maxGap = 4242;
    Bytes stream = {0};
    const Bytes car2 = Stream(Race({{2, "", {{1, 90000, 90000}}}}));
    stream.insert(stream.end(), car2.begin(), car2.end());
    EXPECT_EQ(Decode(race, stream), 1);
    EXPECT_EQ(race.maxGap, 0u) << "statistics are recomputed";
    EXPECT_EQ(Decode(race, {}), 1);
    stream = car2;
    stream.push_back(0x99);
    const Bytes car3 = Stream(Race({{3, "", {{1, 90000, 90000}}}}));
    stream.insert(stream.end(), car3.begin(), car3.end());
    Decode(race, stream);
    EXPECT_EQ(race.drivers->GetCount(), 2);

    const Bytes full =
        Stream(Race({{4, "", {{1, 90000, 90000}}}, {5, "", {{1, 96000, 96000}}}}, {A(4, 1, 95000)}));
    for (const std::size_t cut : {std::size_t{1}, full.size() / 2 - 1}) {
        RaceData fresh;
        EXPECT_EQ(Decode(fresh, Bytes(full.begin(), full.end() - static_cast<std::ptrdiff_t>(cut))), 1);
        ASSERT_EQ(fresh.drivers->GetCount(), 1) << "cut " << cut;
        EXPECT_EQ(fresh.drivers->GetAt(0)->laps.GetAt(0)->flags, cut == 1 ? kLapEventA : 0u) << cut;
    }
    // A game lap record (kind 4) ends a log stream; a log lap record (kind 5) is a game type A event.
    const RaceDescription one = Race({{1, "", {{1, 1, 1}}}});
    RaceData other;
    Decode(other, GetParam() ? RaceFileWriter::GameStream(one) : RaceFileWriter::LogStream(one));
    EXPECT_EQ(other.drivers->GetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, Decoding, testing::Bool(),
                         [](const auto& info) { return info.param ? "Log" : "Game"; });

TEST(CarNames, ComeFromTheEntryOfTheCarNumberOrAreEmpty) {
    // Car 3's name runs on into entry 4 without a NUL; car 40, the last, fills its 24 bytes.
    const Bytes names = RaceFileWriter::NameTable(Race({{1, "Ann", {}},
                                                        {2, "Bob", {}},
                                                        {3, "abcdefghijklmnopqrstuvwxyzabcd", {}},
                                                        {40, std::string(24, 'L'), {}}}));
    const Bytes cutShort = {'A', 'n', 'n', 'B', 'o'};
    const Bytes none;
    const std::tuple<std::uint8_t, const Bytes*, std::string> cases[] = {
        {1, &names, "Ann"},
        {0xC2, &names, "Bob"},
        {3, &names, "abcdefghijklmnopqrstuvwx"},
        {40, &names, std::string(24, 'L')},
        {0, &names, ""},
        {41, &names, ""},
        {1, &cutShort, "AnnBo"},
        {1, &none, ""}};
    for (const auto& [carByte, table, name] : cases) {
        RaceData race;
        DecodeLogRecords(race, *table, RaceFileWriter::LogStream(Race({{carByte, "", {{1, 1, 1}}}})));
        ASSERT_EQ(race.drivers->GetCount(), 1);
        EXPECT_EQ(race.drivers->GetAt(0)->name, name) << int{carByte};
    }
}

} // namespace

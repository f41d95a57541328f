#include "RaceBuilder.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> NamesInOrder(const RaceData& race) {
    std::vector<std::string> names;
    for (int index = 0; index < race.drivers->GetCount(); ++index)
        names.push_back(race.drivers->GetAt(index)->name);
    return names;
}

int CompareUnder(int key, bool descending, DriverRecord* a, DriverRecord* b) {
    DriverArray array;
    array.sortKey = key;
    array.descending = descending;
    const int result = array.Compare(a, b);
    return (result > 0) - (result < 0);
}

TEST(DriverRecord, LastRaceTimeIsTheLastSlotsAndFastestLapSkipsMarkedLaps) {
    auto car = MakeDriver(1, "A", {{100}, {0}, {1234}});
    EXPECT_EQ(car->laps.GetAt(3), nullptr);
    EXPECT_EQ(car->GetLastRaceTime(), 1234u);
    EXPECT_EQ(MakeDriver(1, "A", {})->GetLastRaceTime(), kNoTime);
    const std::pair<std::vector<LapPlan>, std::uint32_t> cases[] = {
        {{}, kNoTime},
        {{{1, 80000, kLapMarked}, {1, 70000, kLapEventB}}, kNoTime},
        {{{1, 80000}, {1, 70000, kLapEventA}}, 80000},
        {{{1, 85000}, {0}, {0}, {1, 84000}}, 84000},
        {{{1, kNoTime}, {1, 0xFFFFFFFF}}, kNoTime}, // times at no-time never win
    };
    for (const auto& [laps, fastest] : cases)
        EXPECT_EQ(MakeDriver(1, "A", laps)->GetFastestLap(), fastest) << laps.size() << " laps";
}

struct CarPlan {
    const char* name;
    std::uint8_t carByte;
    std::vector<LapPlan> laps;
};

struct OrderCase {
    const char* what;
    int key;
    CarPlan first;
    CarPlan second;
    int sign; // of Compare(first, second), ascending
};

constexpr int kRace = kSortByRaceOrder;
constexpr int kName = kSortByName;
constexpr int kFastest = kSortByFastestLap;

TEST(DriverOrder, ComparesByKeyThenTieBreaksAndFlipsWhenDescending) {
    const OrderCase cases[] = {
        {"RaceOrderPutsMoreLapsFirst", kRace, {"Z", 1, {{0}, {999999}}}, {"A", 2, {{1}}}, -1},
        {"RaceOrderEqualLapsSmallerLastTimeFirst", kRace, {"Z", 1, {{5000}}}, {"A", 2, {{6000}}}, -1},
        {"RaceOrderEqualTimesFallsBackToName", kRace, {"B", 1, {{5000}}}, {"A", 2, {{5000}}}, 1},
        {"RaceOrderEqualNamesFallsBackToCarNumber", kRace, {"A", 3, {{5000}}}, {"A", 2, {{5000}}}, 1},
        {"NameIgnoresMarkerBitsOfCarByte", kName, {"A", 0xC1, {}}, {"A", 0x02, {}}, -1},
        {"NameSameCarNumberDifferentMarkersIsEqual", kName, {"A", 0x45, {}}, {"A", 0x05, {}}, 0},
        {"NameIsCaseSensitive", kName, {"a", 1, {}}, {"B", 1, {}}, 1},
        {"NameComparesBytesUnsigned", kName, {"\xE9", 1, {}}, {"z", 1, {}}, 1},
        {"NamePrefixComesFirst", kName, {"Ann", 9, {}}, {"Anna", 1, {}}, -1},
        {"NameTieFallsBackToRaceOrder", kName, {"A", 1, {{10}, {20}}}, {"A", 1, {{10}}}, -1},
        {"FastestLapSmallerFirst", kFastest, {"Z", 1, {{1, 70000}}}, {"A", 2, {{1, 80000}}}, -1},
        {"FastestLapNoTimeSortsLast",
         kFastest,
         {"A", 1, {{1, 70000, kLapMarked}}},
         {"Z", 2, {{1, 0x0FFFFFFF}}},
         1},
        {"FastestLapTieFallsBackToName", kFastest, {"B", 1, {{1, 7}}}, {"A", 1, {{1, 7}}}, 1},
        {"UnknownKeyMakesEverythingEqual", 7, {"A", 1, {}}, {"B", 2, {}}, 0}};
    for (const OrderCase& c : cases) {
        auto a = MakeDriver(c.first.carByte, c.first.name, c.first.laps);
        auto b = MakeDriver(c.second.carByte, c.second.name, c.second.laps);
        EXPECT_EQ(CompareUnder(c.key, false, a.get(), b.get()), c.sign) << c.what;
        EXPECT_EQ(CompareUnder(c.key, true, a.get(), b.get()), -c.sign) << c.what;
    }
    // A null record comes first whatever the direction.
    auto car = MakeDriver(1, "A", {});
    for (bool descending : {false, true}) {
        EXPECT_LT(CompareUnder(kRace, descending, nullptr, car.get()), 0);
        EXPECT_GT(CompareUnder(kRace, descending, car.get(), nullptr), 0);
        EXPECT_EQ(CompareUnder(kRace, descending, nullptr, nullptr), 0);
    }
}

TEST(DriverArray, InsertPlacesEqualBeforeTheOneMetAndRemoveAtHandsOver) {
    DriverArray array;
    array.sortKey = kName;
    for (const char* name : {"C", "A", "D", "B"})
        array.Insert(MakeDriver(1, name, {}));
    auto duplicate = MakeDriver(1, "B", {});
    DriverRecord* duplicatePointer = duplicate.get();
    EXPECT_EQ(array.Insert(std::move(duplicate)), 1);
    EXPECT_EQ(array.GetAt(1), duplicatePointer);
    EXPECT_EQ(array.GetAt(5), nullptr);
    EXPECT_EQ(array.RemoveAt(5), nullptr);
    EXPECT_EQ(array.RemoveAt(-1), nullptr);
    EXPECT_EQ(array.RemoveAt(0)->name, "A");
    EXPECT_EQ(array.GetAt(0), duplicatePointer);
}

class RaceWithCars : public testing::Test {
protected:
    void SetUp() override {
        race.lapCount = 3;
        race.drivers->Insert(MakeDriver(3, "Cid", {{100}, {200}, {300}}));
        race.drivers->Insert(MakeDriver(1, "Ann", {{110}, {230}}));
        race.drivers->Insert(MakeDriver(2, "Bob", {{105}, {250}, {320, 90000, kLapMarked}}));
    }
    RaceData race;
};

TEST_F(RaceWithCars, SortSameKeyTogglesDirectionOtherKeyStartsAscending) {
    const std::vector<std::string> raceOrder = {"Cid", "Bob", "Ann"};
    const std::vector<std::string> reversed = {"Ann", "Bob", "Cid"};
    EXPECT_EQ(NamesInOrder(race), raceOrder);
    const std::pair<int, const std::vector<std::string>*> steps[] = {{kRace, &reversed},
                                                                     {kRace, &raceOrder},
                                                                     {kName, &reversed},
                                                                     {kName, &raceOrder},
                                                                     {kRace, &raceOrder}};
    for (const auto& [key, names] : steps) {
        race.Sort(key);
        EXPECT_EQ(NamesInOrder(race), *names) << key;
    }
}

TEST_F(RaceWithCars, StatisticsTakeLeaderAndLastPerLapAndFollowRemovedCars) {
    race.UpdateLapStatistics();
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{100, 200, 300}));
    EXPECT_EQ(race.lastTimes, (std::vector<std::uint32_t>{110, 250, 320}));
    EXPECT_EQ(race.maxGap, 50u);
    race.maxGap = 12345;
    race.RemoveDriver(3);
    race.RemoveDriver(-1);
    EXPECT_EQ(race.maxGap, 12345u) << "statistics are recomputed only when a car went";
    race.RemoveDriver(0); // Cid
    race.RemoveDriver(0); // Bob
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{110, 230, kNoTime}));
    EXPECT_EQ(race.lastTimes, (std::vector<std::uint32_t>{110, 230, 0}));
    EXPECT_EQ(race.maxGap, 0u);
    race.RemoveDriver(0);
    race.maxGap = 99;
    race.UpdateLapStatistics();
    EXPECT_EQ(race.maxGap, 0u) << "without cars only the gap is cleared";
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{110, 230, kNoTime}));
}

// The leader crosses at 1000; the other car at 1200 with an event on that lap.
TEST(RaceData, EventTimeCountsOnlyWhenAfterLeaderAndOwnTime) {
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t> cases[] = {
        {kLapEventA, 1500, 1500}, {kLapEventB, 1500, 1500}, {kLapMarked, 1500, 1200},
        {kLapEventA, 999, 1200},  {kLapEventA, 1200, 1200}, {kLapEventA, 1100, 1200}};
    for (const auto& [flags, eventTime, last] : cases) {
        RaceData race;
        race.lapCount = 1;
        race.drivers->Insert(MakeDriver(1, "Lead", {{1000}}));
        race.drivers->Insert(MakeDriver(2, "Other", {{1200, 90000, flags, eventTime}}));
        race.UpdateLapStatistics();
        EXPECT_EQ(race.lastTimes[0], last) << flags << " at " << eventTime;
        EXPECT_EQ(race.maxGap, last - 1000) << flags << " at " << eventTime;
    }
}

// The palette's colours themselves are in the chart pictures.
TEST(RaceData, ColourRotationWrapsAfterEighteenAndSurvivesAnIndexOutOfRange) {
    for (const auto& [from, colour, next] : {std::tuple{0, 0, 1}, {17, 17, 0}, {-1, 17, 0}, {40, 4, 5}}) {
        RaceData race;
        race.nextColour = from;
        EXPECT_EQ(race.TakeNextColour(), kPalette[static_cast<std::size_t>(colour)]) << from;
        EXPECT_EQ(race.nextColour, next) << from;
    }
}

} // namespace

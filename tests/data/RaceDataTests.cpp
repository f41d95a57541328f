#include "data/RaceData.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

struct LapPlan {
    int slot;
    std::uint32_t raceTime;
    std::uint32_t lapTime = 90000;
    std::uint32_t flags = 0;
    std::uint32_t eventTime = 0;
};

std::unique_ptr<DriverRecord> MakeCar(std::string name, std::uint8_t carByte,
                                      std::initializer_list<LapPlan> laps) {
    auto car = std::make_unique<DriverRecord>(carByte, std::move(name), 0);
    for (const LapPlan& plan : laps) {
        auto lap = std::make_unique<LapRecord>();
        lap->raceTime = plan.raceTime;
        lap->lapTime = plan.lapTime;
        lap->flags = plan.flags;
        lap->eventTime = plan.eventTime;
        car->laps.SetAt(plan.slot, std::move(lap));
    }
    return car;
}

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
    return array.Compare(a, b);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(LapArray, HoldsLapsBySlotAndLeavesGapsEmpty) {
    LapArray laps;
    laps.SetAt(0, std::make_unique<LapRecord>());
    laps.SetAt(2, std::make_unique<LapRecord>());
    EXPECT_EQ(laps.GetSize(), 3);
    EXPECT_NE(laps.GetAt(0), nullptr);
    EXPECT_EQ(laps.GetAt(1), nullptr);
    EXPECT_NE(laps.GetAt(2), nullptr);
    EXPECT_EQ(laps.GetAt(-1), nullptr);
    EXPECT_EQ(laps.GetAt(3), nullptr);
}

TEST(DriverRecord, LastRaceTimeIsNoTimeWithoutLaps) {
    auto car = MakeCar("A", 1, {});
    EXPECT_EQ(car->GetLastRaceTime(), kNoTime);
    car->laps.SetAt(1, std::make_unique<LapRecord>());
    car->laps.GetAt(1)->raceTime = 1234;
    EXPECT_EQ(car->GetLastRaceTime(), 1234u);
}

struct FastestLapCase {
    const char* what;
    std::vector<LapPlan> laps;
    std::uint32_t fastest;
};

class FastestLap : public testing::TestWithParam<FastestLapCase> {};

TEST_P(FastestLap, SkipsMarkedLapsAndTakesSmallestTime) {
    auto car = std::make_unique<DriverRecord>(1, "A", 0);
    for (const LapPlan& plan : GetParam().laps) {
        auto lap = std::make_unique<LapRecord>();
        lap->lapTime = plan.lapTime;
        lap->flags = plan.flags;
        car->laps.SetAt(plan.slot, std::move(lap));
    }
    EXPECT_EQ(car->GetFastestLap(), GetParam().fastest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FastestLap,
    testing::Values(
        FastestLapCase{"no laps", {}, kNoTime},
        FastestLapCase{"all marked", {{0, 0, 80000, kLapMarked}, {1, 0, 70000, kLapEventB}}, kNoTime},
        FastestLapCase{"marked faster lap ignored", {{0, 0, 80000}, {1, 0, 70000, kLapEventA}}, 80000},
        FastestLapCase{"gap in slots", {{0, 0, 85000}, {3, 0, 84000}}, 84000},
        FastestLapCase{"times at no-time never win", {{0, 0, kNoTime}, {1, 0, 0xFFFFFFFF}}, kNoTime}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ' || c == '-')
                c = '_';
        return name;
    });

TEST(DriverRecord, FastestLapIsCachedOnceAsked) {
    auto car = MakeCar("A", 1, {{0, 90000, 90000}});
    EXPECT_EQ(car->fastestLap, kFastestLapNotComputed);
    EXPECT_EQ(car->GetFastestLap(), 90000u);
    car->laps.GetAt(0)->lapTime = 1;
    EXPECT_EQ(car->GetFastestLap(), 90000u);
}

struct OrderCase {
    const char* what;
    int key;
    std::unique_ptr<DriverRecord> (*first)();
    std::unique_ptr<DriverRecord> (*second)();
    int sign; // of Compare(first, second), ascending
};

class DriverOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(DriverOrder, ComparesByKeyThenTieBreaksAndFlipsWhenDescending) {
    auto a = GetParam().first();
    auto b = GetParam().second();
    EXPECT_EQ(Sign(CompareUnder(GetParam().key, false, a.get(), b.get())), GetParam().sign);
    EXPECT_EQ(Sign(CompareUnder(GetParam().key, true, a.get(), b.get())), -GetParam().sign);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriverOrder,
    testing::Values(OrderCase{"RaceOrderPutsMoreLapsFirst", kSortByRaceOrder,
                              [] {
                                  return MakeCar("Z", 1, {{11, 999999}});
                              },
                              [] {
                                  return MakeCar("A", 2, {{10, 1}});
                              },
                              -1},
                    OrderCase{"RaceOrderEqualLapsSmallerLastTimeFirst", kSortByRaceOrder,
                              [] {
                                  return MakeCar("Z", 1, {{11, 5000}});
                              },
                              [] {
                                  return MakeCar("A", 2, {{11, 6000}});
                              },
                              -1},
                    OrderCase{"RaceOrderEqualTimesFallsBackToName", kSortByRaceOrder,
                              [] {
                                  return MakeCar("B", 1, {{11, 5000}});
                              },
                              [] {
                                  return MakeCar("A", 2, {{11, 5000}});
                              },
                              1},
                    OrderCase{"RaceOrderEqualNamesFallsBackToCarNumber", kSortByRaceOrder,
                              [] {
                                  return MakeCar("A", 3, {{11, 5000}});
                              },
                              [] {
                                  return MakeCar("A", 2, {{11, 5000}});
                              },
                              1},
                    OrderCase{"NameIgnoresMarkerBitsOfCarByte", kSortByName,
                              [] { return MakeCar("A", 0xC1, {}); }, [] { return MakeCar("A", 0x02, {}); },
                              -1},
                    OrderCase{"NameSameCarNumberDifferentMarkersIsEqual", kSortByName,
                              [] { return MakeCar("A", 0x45, {}); }, [] { return MakeCar("A", 0x05, {}); },
                              0},
                    OrderCase{"NameIsCaseSensitive", kSortByName, [] { return MakeCar("a", 1, {}); },
                              [] { return MakeCar("B", 1, {}); }, 1},
                    OrderCase{"NameComparesBytesUnsigned", kSortByName, [] { return MakeCar("\xE9", 1, {}); },
                              [] { return MakeCar("z", 1, {}); }, 1},
                    OrderCase{"NamePrefixComesFirst", kSortByName, [] { return MakeCar("Ann", 9, {}); },
                              [] { return MakeCar("Anna", 1, {}); }, -1},
                    OrderCase{"NameTieFallsBackToRaceOrder", kSortByName,
                              [] {
                                  return MakeCar("A", 1, {{0, 10}, {1, 20}});
                              },
                              [] {
                                  return MakeCar("A", 1, {{0, 10}});
                              },
                              -1},
                    OrderCase{"FastestLapSmallerFirst", kSortByFastestLap,
                              [] {
                                  return MakeCar("Z", 1, {{0, 0, 70000}});
                              },
                              [] {
                                  return MakeCar("A", 2, {{0, 0, 80000}});
                              },
                              -1},
                    OrderCase{"FastestLapNoTimeSortsLast", kSortByFastestLap,
                              [] {
                                  return MakeCar("A", 1, {{0, 0, 70000, kLapMarked}});
                              },
                              [] {
                                  return MakeCar("Z", 2, {{0, 0, 0x0FFFFFFF}});
                              },
                              1},
                    OrderCase{"FastestLapTieFallsBackToName", kSortByFastestLap,
                              [] {
                                  return MakeCar("B", 1, {{0, 0, 7}});
                              },
                              [] {
                                  return MakeCar("A", 1, {{0, 0, 7}});
                              },
                              1},
                    OrderCase{"UnknownKeyMakesEverythingEqual", 7, [] { return MakeCar("A", 1, {}); },
                              [] { return MakeCar("B", 2, {}); }, 0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(DriverOrder, NullComesFirstWhateverTheDirection) {
    auto car = MakeCar("A", 1, {});
    for (bool descending : {false, true}) {
        EXPECT_LT(CompareUnder(kSortByRaceOrder, descending, nullptr, car.get()), 0);
        EXPECT_GT(CompareUnder(kSortByRaceOrder, descending, car.get(), nullptr), 0);
        EXPECT_EQ(CompareUnder(kSortByRaceOrder, descending, nullptr, nullptr), 0);
    }
}

TEST(DriverArray, InsertKeepsOrderAndPlacesEqualBeforeTheOneMet) {
    DriverArray array;
    array.sortKey = kSortByName;
    for (const char* name : {"C", "A", "D", "B"})
        array.Insert(MakeCar(name, 1, {}));
    auto duplicate = MakeCar("B", 1, {});
    DriverRecord* duplicatePointer = duplicate.get();
    EXPECT_EQ(array.Find(duplicatePointer), 1);
    EXPECT_EQ(array.Insert(std::move(duplicate)), 1);
    EXPECT_EQ(array.GetAt(1), duplicatePointer);
    EXPECT_EQ(array.GetAt(2)->name, "B");
    EXPECT_EQ(array.GetAt(5), nullptr);
    EXPECT_EQ(array.GetAt(-1), nullptr);
}

TEST(DriverArray, RemoveAtHandsOverTheDriverAndRefusesBadIndex) {
    DriverArray array;
    array.sortKey = kSortByName;
    array.Insert(MakeCar("A", 1, {}));
    array.Insert(MakeCar("B", 1, {}));
    EXPECT_EQ(array.RemoveAt(2), nullptr);
    EXPECT_EQ(array.RemoveAt(-1), nullptr);
    auto removed = array.RemoveAt(0);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->name, "A");
    EXPECT_EQ(array.GetCount(), 1);
    EXPECT_EQ(array.GetAt(0)->name, "B");
}

class RaceWithCars : public testing::Test {
protected:
    void SetUp() override {
        race.lapCount = 3;
        race.drivers->Insert(MakeCar("Cid", 3, {{0, 100}, {1, 200}, {2, 300}}));
        race.drivers->Insert(MakeCar("Ann", 1, {{0, 110}, {1, 230}}));
        race.drivers->Insert(MakeCar("Bob", 2, {{0, 105}, {1, 250}, {2, 320, 90000, kLapMarked}}));
    }
    RaceData race;
};

TEST(RaceData, StartsEmptyInAscendingRaceOrder) {
    RaceData race;
    EXPECT_EQ(race.drivers->GetCount(), 0);
    EXPECT_EQ(race.drivers->sortKey, kSortByRaceOrder);
    EXPECT_FALSE(race.drivers->descending);
    EXPECT_EQ(race.trackId, kNoTrackYet);
    EXPECT_EQ(race.nextColour, 0);
}

TEST_F(RaceWithCars, SortSameKeyTogglesDirectionOtherKeyStartsAscending) {
    EXPECT_EQ(NamesInOrder(race), (std::vector<std::string>{"Cid", "Bob", "Ann"}));
    race.Sort(kSortByRaceOrder);
    EXPECT_TRUE(race.drivers->descending);
    EXPECT_EQ(NamesInOrder(race), (std::vector<std::string>{"Ann", "Bob", "Cid"}));
    race.Sort(kSortByRaceOrder);
    EXPECT_FALSE(race.drivers->descending);
    EXPECT_EQ(NamesInOrder(race), (std::vector<std::string>{"Cid", "Bob", "Ann"}));
    race.Sort(kSortByName);
    EXPECT_EQ(race.drivers->sortKey, kSortByName);
    EXPECT_FALSE(race.drivers->descending);
    EXPECT_EQ(NamesInOrder(race), (std::vector<std::string>{"Ann", "Bob", "Cid"}));
    race.Sort(kSortByName);
    EXPECT_EQ(NamesInOrder(race), (std::vector<std::string>{"Cid", "Bob", "Ann"}));
    race.Sort(kSortByRaceOrder);
    EXPECT_FALSE(race.drivers->descending);
}

TEST_F(RaceWithCars, StatisticsTakeLeaderAndLastPerLap) {
    race.UpdateLapStatistics();
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{100, 200, 300}));
    EXPECT_EQ(race.lastTimes, (std::vector<std::uint32_t>{110, 250, 320}));
    EXPECT_EQ(race.maxGap, 50u);
}

TEST_F(RaceWithCars, RemovingCarsKeepsLapCountAndEmptiesLapsNoCarHas) {
    race.UpdateLapStatistics();
    race.RemoveDriver(0); // Cid
    race.RemoveDriver(0); // Bob
    EXPECT_EQ(race.lapCount, 3);
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{110, 230, kNoTime}));
    EXPECT_EQ(race.lastTimes, (std::vector<std::uint32_t>{110, 230, 0}));
    EXPECT_EQ(race.maxGap, 0u);
}

TEST_F(RaceWithCars, RemoveDriverOutsideTheArrayDoesNothing) {
    race.UpdateLapStatistics();
    race.maxGap = 12345;
    race.RemoveDriver(3);
    race.RemoveDriver(-1);
    EXPECT_EQ(race.drivers->GetCount(), 3);
    EXPECT_EQ(race.maxGap, 12345u) << "statistics are recomputed only when a car went";
}

TEST(RaceData, StatisticsWithoutCarsOnlyClearMaxGap) {
    RaceData race;
    race.lapCount = 2;
    race.leaderTimes = {5, 6};
    race.maxGap = 99;
    race.UpdateLapStatistics();
    EXPECT_EQ(race.maxGap, 0u);
    EXPECT_EQ(race.leaderTimes, (std::vector<std::uint32_t>{5, 6}));
}

struct EventCase {
    const char* what;
    std::uint32_t flags;
    std::uint32_t eventTime;
    std::uint32_t last;
    std::uint32_t maxGap;
};

class EventTime : public testing::TestWithParam<EventCase> {};

// The leader crosses at 1000; the other car at 1200 with an event on that lap.
TEST_P(EventTime, CountsOnlyWhenAfterLeaderAndOwnTime) {
    RaceData race;
    race.lapCount = 1;
    race.drivers->Insert(MakeCar("Lead", 1, {{0, 1000}}));
    race.drivers->Insert(MakeCar("Other", 2, {{0, 1200, 90000, GetParam().flags, GetParam().eventTime}}));
    race.UpdateLapStatistics();
    EXPECT_EQ(race.leaderTimes[0], 1000u);
    EXPECT_EQ(race.lastTimes[0], GetParam().last);
    EXPECT_EQ(race.maxGap, GetParam().maxGap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventTime,
    testing::Values(EventCase{"LaterTypeAEventExtends", kLapEventA, 1500, 1500, 500},
                    EventCase{"LaterTypeBEventExtends", kLapEventB, 1500, 1500, 500},
                    EventCase{"EventWithoutEventFlagIgnored", kLapMarked, 1500, 1200, 200},
                    EventCase{"EventBeforeLeaderIgnored", kLapEventA, 999, 1200, 200},
                    EventCase{"EventAtOwnTimeIgnored", kLapEventA, 1200, 1200, 200},
                    EventCase{"EventBetweenLeaderAndOwnTimeIgnored", kLapEventA, 1100, 1200, 200}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(RaceData, ColourRotationWrapsAfterEighteen) {
    RaceData race;
    std::vector<COLORREF> colours;
    for (int car = 0; car < kPaletteSize + 2; ++car)
        colours.push_back(race.TakeNextColour());
    EXPECT_EQ(colours[0], 0x000000FFu);
    EXPECT_EQ(colours[17], 0x00404040u);
    EXPECT_EQ(colours[18], colours[0]);
    EXPECT_EQ(colours[19], colours[1]);
    EXPECT_EQ(race.nextColour, 2);
}

TEST(RaceData, ColourRotationSurvivesAnIndexOutOfRange) {
    RaceData race;
    race.nextColour = -1;
    EXPECT_EQ(race.TakeNextColour(), kPalette[17]);
    race.nextColour = 40;
    EXPECT_EQ(race.TakeNextColour(), kPalette[4]);
    EXPECT_EQ(race.nextColour, 5);
}

} // namespace

#include "RaceBuilder.h"
#include "data/RacePositions.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Cars in the order given, whatever the sort key would say; a race time of 0 leaves the slot empty.
std::unique_ptr<RaceData> MakeRace(const std::vector<std::pair<std::uint8_t, std::vector<LapPlan>>>& cars) {
    auto race = std::make_unique<RaceData>();
    for (const auto& [car, laps] : cars)
        AppendDriver(*race, MakeDriver(car, "", laps));
    return race;
}

TEST(RacePositions, RanksRaceTimesAmongDriversWhoHaveTheSlotAndBreaksTiesByCarNumber) {
    // Car 9 is lapped after slot 1 and has no slot 2; car 4 misses slot 1 but has slot 2.
    const auto race = MakeRace({
        {9, {{100}, {250}}},
        {4, {{90}, {0}, {260}}},
        {7, {{95}, {200}, {300}}},
    });
    const RacePositions positions(*race);
    EXPECT_EQ(positions.SlotCount(), 3);
    const std::vector<std::vector<int>> expected = {{3, 2, 0}, {1, 0, 1}, {2, 1, 2}};
    for (int driver = 0; driver < 3; ++driver)
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_EQ(positions.At(driver, slot), expected[driver][slot]) << driver << "/" << slot;
    EXPECT_EQ(positions.FieldSizeAt(1), 2);
    EXPECT_EQ(positions.DriverAt(2, 1), 1);
    EXPECT_EQ(positions.DriverAt(2, 3), -1);
    EXPECT_EQ(positions.At(3, 0), 0);
    EXPECT_EQ(positions.At(0, 3), 0);
    EXPECT_EQ(positions.At(0, -1), 0);
    const RacePositions empty(RaceData{});
    EXPECT_EQ(empty.SlotCount(), 0);
    EXPECT_EQ(empty.FieldSizeAt(0), 0);
    EXPECT_EQ(empty.DriverAt(0, 1), -1);

    // Ties go by car number: 0xC5 is car 5 with both marker bits, after car 3 and before car 12.
    const RacePositions tied(*MakeRace({{12, {{500}}}, {0xC5, {{500}}}, {3, {{500}}}}));
    EXPECT_EQ(std::vector({tied.At(0, 0), tied.At(1, 0), tied.At(2, 0)}), std::vector({3, 2, 1}));
}

} // namespace

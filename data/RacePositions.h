#pragma once

#include "data/RaceData.h"

#include <vector>

// Where every driver stood at the end of every lap slot. The one position rule of the program:
// among the drivers who have lap slot j, the rank of their race time at that slot, ties by car
// number (then by place in the driver array, so that the order is always total).
class RacePositions {
public:
    explicit RacePositions(const RaceData& race);

    // 1-based position of the driver (index into the race's driver array) at the end of the slot;
    // 0 when the driver has no lap in that slot or either index is outside the race.
    int At(int driverIndex, int slot) const;
    // How many drivers have the slot.
    int FieldSizeAt(int slot) const;
    // Driver array index of the driver in the given 1-based position at the slot; -1 when none.
    int DriverAt(int slot, int position) const;
    int SlotCount() const { return m_slotCount; }
    int DriverCount() const { return m_driverCount; }

private:
    int m_driverCount = 0;
    int m_slotCount = 0;
    std::vector<int> m_positions;          // [driver * slotCount + slot]
    std::vector<std::vector<int>> m_order; // per slot: driver indices, P1 first
};

#include "data/DriverColours.h"

#include "data/RaceData.h"

#include <vector>

const std::array<COLORREF, kDistinctColourCount> kDistinctColours = {
    RGB(0x87, 0x00, 0xFF), RGB(0x5A, 0x96, 0x00), RGB(0xFF, 0x4B, 0x00), RGB(0x00, 0x96, 0xD2),
    RGB(0x96, 0x87, 0x96), RGB(0xC3, 0x00, 0x4B), RGB(0x96, 0x87, 0x00), RGB(0x3C, 0x69, 0x5A),
    RGB(0xFF, 0x1E, 0xC3), RGB(0x5A, 0x69, 0xA5), RGB(0x96, 0x4B, 0x2D), RGB(0x87, 0x87, 0x78),
    RGB(0x87, 0x4B, 0x87), RGB(0x5A, 0x96, 0x96), RGB(0xD2, 0x69, 0x69), RGB(0xA5, 0x78, 0xD2),
    RGB(0x00, 0x69, 0x87), RGB(0x4B, 0x69, 0x1E), RGB(0xC3, 0x78, 0x00), RGB(0x00, 0x96, 0x69),
};

COLORREF DistinctColourOfSlot(int slot) {
    return kDistinctColours[static_cast<std::size_t>(slot % kDistinctColourCount)];
}

bool IsRepeatedColourSlot(int slot) {
    return slot >= kDistinctColourCount;
}

void ShowDriverColours(RaceData& race, bool distinct) {
    const int count = race.drivers->GetCount();
    std::vector<bool> taken(static_cast<std::size_t>(count), false);
    for (int d = 0; d < count; ++d) {
        const int slot = race.drivers->GetAt(d)->colourSlot;
        if (slot >= 0 && slot < count)
            taken[static_cast<std::size_t>(slot)] = true;
    }
    int free = 0;
    for (int d = 0; d < count; ++d) {
        DriverRecord& driver = *race.drivers->GetAt(d);
        if (driver.colourSlot < 0) {
            while (taken[static_cast<std::size_t>(free)])
                ++free;
            driver.colourSlot = free;
            taken[static_cast<std::size_t>(free)] = true;
        }
        driver.colour = distinct ? DistinctColourOfSlot(driver.colourSlot) : driver.designedColour;
        driver.dashed = distinct && IsRepeatedColourSlot(driver.colourSlot);
    }
}

void CarryColourSlots(const RaceData& from, RaceData& to) {
    // Each old driver hands its slot on once, so that two namesakes never share a colour.
    std::vector<bool> handedOn(static_cast<std::size_t>(from.drivers->GetCount()), false);
    for (int d = 0; d < to.drivers->GetCount(); ++d) {
        DriverRecord& driver = *to.drivers->GetAt(d);
        for (int old = 0; old < from.drivers->GetCount(); ++old) {
            const DriverRecord& namesake = *from.drivers->GetAt(old);
            if (!handedOn[static_cast<std::size_t>(old)] && namesake.car == driver.car &&
                namesake.name == driver.name) {
                driver.colourSlot = namesake.colourSlot;
                handedOn[static_cast<std::size_t>(old)] = true;
                break;
            }
        }
    }
}

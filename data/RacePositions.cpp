#include "data/RacePositions.h"

#include <algorithm>
#include <tuple>

namespace {
constexpr std::uint8_t kCarNumberMask = 63;
}

RacePositions::RacePositions(const RaceData& race) {
    const DriverArray& drivers = *race.drivers;
    m_driverCount = drivers.GetCount();
    for (int d = 0; d < m_driverCount; ++d)
        m_slotCount = std::max(m_slotCount, drivers.GetAt(d)->laps.GetSize());
    m_positions.assign(static_cast<std::size_t>(m_driverCount) * static_cast<std::size_t>(m_slotCount), 0);
    m_order.resize(static_cast<std::size_t>(m_slotCount));

    // Each slot's drivers by race time, then car number, then index: the keys made once a driver.
    std::vector<std::tuple<std::uint32_t, int, int>> keyed;
    for (int slot = 0; slot < m_slotCount; ++slot) {
        keyed.clear();
        for (int d = 0; d < m_driverCount; ++d)
            if (const LapRecord* lap = drivers.GetAt(d)->laps.GetAt(slot))
                keyed.emplace_back(lap->raceTime, drivers.GetAt(d)->car & kCarNumberMask, d);
        std::sort(keyed.begin(), keyed.end());
        std::vector<int>& order = m_order[static_cast<std::size_t>(slot)];
        for (const auto& entry : keyed)
            order.push_back(std::get<2>(entry));
        for (std::size_t rank = 0; rank < order.size(); ++rank)
            m_positions[static_cast<std::size_t>(order[rank]) * static_cast<std::size_t>(m_slotCount) +
                        static_cast<std::size_t>(slot)] = static_cast<int>(rank) + 1;
    }
}

int RacePositions::At(int driverIndex, int slot) const {
    if (driverIndex < 0 || driverIndex >= m_driverCount || slot < 0 || slot >= m_slotCount)
        return 0;
    return m_positions[static_cast<std::size_t>(driverIndex) * static_cast<std::size_t>(m_slotCount) +
                       static_cast<std::size_t>(slot)];
}

int RacePositions::FieldSizeAt(int slot) const {
    if (slot < 0 || slot >= m_slotCount)
        return 0;
    return static_cast<int>(m_order[static_cast<std::size_t>(slot)].size());
}

int RacePositions::DriverAt(int slot, int position) const {
    if (position < 1 || position > FieldSizeAt(slot))
        return -1;
    return m_order[static_cast<std::size_t>(slot)][static_cast<std::size_t>(position) - 1];
}

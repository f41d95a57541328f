#include "data/RacePositions.h"

#include <algorithm>
#include <utility>

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

    // Each driver's laps are read once, in order, into their slots' keys: race time and car number
    // in one, then index.
    std::vector<std::vector<std::pair<std::uint64_t, int>>> keyed(static_cast<std::size_t>(m_slotCount));
    for (int d = 0; d < m_driverCount; ++d) {
        const DriverRecord& driver = *drivers.GetAt(d);
        const std::uint64_t car = driver.car & kCarNumberMask;
        for (int slot = 0; slot < driver.laps.GetSize(); ++slot)
            if (const LapRecord* lap = driver.laps.GetAt(slot))
                keyed[static_cast<std::size_t>(slot)].emplace_back(std::uint64_t{lap->raceTime} << 8 | car,
                                                                   d);
    }
    for (int slot = 0; slot < m_slotCount; ++slot) {
        std::vector<std::pair<std::uint64_t, int>>& entries = keyed[static_cast<std::size_t>(slot)];
        std::sort(entries.begin(), entries.end());
        std::vector<int>& order = m_order[static_cast<std::size_t>(slot)];
        order.reserve(entries.size());
        for (const auto& entry : entries) {
            order.push_back(entry.second);
            m_positions[static_cast<std::size_t>(entry.second) * static_cast<std::size_t>(m_slotCount) +
                        static_cast<std::size_t>(slot)] = static_cast<int>(order.size());
        }
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

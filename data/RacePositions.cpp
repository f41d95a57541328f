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

    for (int slot = 0; slot < m_slotCount; ++slot) {
        std::vector<int>& order = m_order[static_cast<std::size_t>(slot)];
        for (int d = 0; d < m_driverCount; ++d)
            if (drivers.GetAt(d)->laps.GetAt(slot))
                order.push_back(d);
        const auto key = [&](int d) {
            const DriverRecord& driver = *drivers.GetAt(d);
            return std::tuple(driver.laps.GetAt(slot)->raceTime, driver.car & kCarNumberMask, d);
        };
        std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
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

#include "data/RaceData.h"

#include <algorithm>
#include <cstring>

const std::array<COLORREF, kPaletteSize> kPalette = {
    0x000000FF, 0x0000FF00, 0x00FF0000, 0x00000080, 0x00008000, 0x00800000,
    0x00808080, 0x0000FFFF, 0x00FFFF00, 0x00FF00FF, 0x004040FF, 0x0040FF40,
    0x00FF4040, 0x00E0E0E0, 0x00008080, 0x00808000, 0x00800080, 0x00404040,
};

namespace {

constexpr std::uint8_t kCarNumberMask = 63;

// Owned elements go from the last to the first, as every container of the race does.
template <class Element> void DestroyFromBack(std::vector<std::unique_ptr<Element>>& elements) {
    while (!elements.empty())
        elements.pop_back();
}

template <class Number> int CompareNumbers(Number a, Number b) {
    if (a < b)
        return -1;
    return a > b ? 1 : 0;
}

// Names compare as unsigned bytes, case-sensitive, so that names outside ASCII still order stably.
int CompareNames(const DriverRecord& a, const DriverRecord& b) {
    const std::size_t common = std::min(a.name.size(), b.name.size());
    const int bytes = common == 0 ? 0 : std::memcmp(a.name.data(), b.name.data(), common);
    if (bytes != 0)
        return bytes;
    const int lengths = CompareNumbers(a.name.size(), b.name.size());
    if (lengths != 0)
        return lengths;
    return CompareNumbers(a.car & kCarNumberMask, b.car & kCarNumberMask);
}

int CompareRaceOrder(const DriverRecord& a, const DriverRecord& b) {
    // More laps first, so the comparison runs the other way round.
    const int laps = CompareNumbers(b.laps.GetSize(), a.laps.GetSize());
    if (laps != 0)
        return laps;
    return CompareNumbers(a.GetLastRaceTime(), b.GetLastRaceTime());
}

int CompareFastestLaps(DriverRecord& a, DriverRecord& b) {
    return CompareNumbers(a.GetFastestLap(), b.GetFastestLap());
}

} // namespace

LapArray::~LapArray() = default;

void LapArray::SetAt(int slot, std::unique_ptr<LapRecord> lap) {
    Fill(slot, lap.get());
}

void LapArray::SetAt(int slot, const LapRecord& lap) {
    Fill(slot, &lap);
}

void LapArray::Fill(int slot, const LapRecord* lap) {
    if (slot < 0)
        return;
    const auto index = static_cast<std::size_t>(slot);
    if (index >= m_slots.size())
        m_slots.resize(index + 1);
    m_slots[index] = lap != nullptr ? Slot{*lap, true} : Slot{};
}

DriverRecord::DriverRecord(std::uint8_t carByte, std::string driverName, COLORREF driverColour)
    : colour(driverColour), designedColour(driverColour), name(std::move(driverName)), car(carByte) {}

std::uint32_t DriverRecord::GetLastRaceTime() const {
    const LapRecord* last = laps.GetAt(laps.GetSize() - 1);
    return last ? last->raceTime : kNoTime;
}

std::uint32_t DriverRecord::GetFastestLap() {
    if (fastestLap != kFastestLapNotComputed)
        return fastestLap;
    std::uint32_t fastest = kNoTime;
    for (int slot = laps.GetSize() - 1; slot >= 0; --slot) {
        const LapRecord* lap = laps.GetAt(slot);
        if (lap && (lap->flags & kLapAnyMark) == 0 && lap->lapTime < fastest)
            fastest = lap->lapTime;
    }
    fastestLap = fastest;
    return fastestLap;
}

DriverArray::~DriverArray() {
    DestroyFromBack(m_drivers);
}

void DriverArray::InsertAt(int index, std::unique_ptr<DriverRecord> driver) {
    const int place = std::clamp(index, 0, GetCount());
    m_drivers.insert(m_drivers.begin() + place, std::move(driver));
}

void DriverArray::Reserve(int count) {
    const auto wanted = static_cast<std::size_t>(std::max(count, 0));
    if (wanted > m_drivers.capacity())
        m_drivers.reserve(std::max(wanted, m_drivers.capacity() + m_drivers.capacity() / 2));
}

DriverRecord* DriverArray::GetAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_drivers[static_cast<std::size_t>(index)].get();
}

int DriverArray::Compare(DriverRecord* a, DriverRecord* b) const {
    // Null ordering ignores the direction on purpose.
    if (!a)
        return b ? -1 : 0;
    if (!b)
        return 1;
    int result = 0;
    switch (sortKey) {
    case kSortByName:
        result = CompareNames(*a, *b);
        if (result == 0)
            result = CompareRaceOrder(*a, *b);
        break;
    case kSortByRaceOrder:
        result = CompareRaceOrder(*a, *b);
        if (result == 0)
            result = CompareNames(*a, *b);
        break;
    case kSortByFastestLap:
        result = CompareFastestLaps(*a, *b);
        if (result == 0)
            result = CompareNames(*a, *b);
        break;
    default:
        break;
    }
    return descending ? -result : result;
}

std::unique_ptr<DriverRecord> DriverArray::RemoveAt(int index) {
    if (index < 0 || index >= GetCount())
        return nullptr;
    const auto position = m_drivers.begin() + index;
    std::unique_ptr<DriverRecord> driver = std::move(*position);
    m_drivers.erase(position);
    return driver;
}

std::vector<std::unique_ptr<DriverRecord>> DriverArray::TakeAll() {
    std::vector<std::unique_ptr<DriverRecord>> taken;
    taken.swap(m_drivers);
    return taken;
}

RaceData::RaceData() : drivers(std::make_unique<DriverArray>()) {
    // Lap numbers stop at 127: with this room the statistics never allocate, so a recomputation
    // after a merge cannot fail for want of memory.
    leaderTimes.reserve(kMaxLapNumber);
    lastTimes.reserve(kMaxLapNumber);
}

RaceData::~RaceData() {
    drivers.reset();
    leaderTimes = {};
    lastTimes = {};
    trackName = {};
}

void RaceData::Sort(int key) {
    auto sorted = std::make_unique<DriverArray>();
    // The same key again flips the direction; a new key starts ascending.
    sorted->descending = drivers->sortKey == key ? !drivers->descending : false;
    sorted->sortKey = key;
    for (std::unique_ptr<DriverRecord>& driver : drivers->TakeAll())
        sorted->Insert(std::move(driver));
    drivers = std::move(sorted);
}

void RaceData::RemoveDriver(int index) {
    if (!drivers->RemoveAt(index))
        return;
    LapStatisticsChanged();
}

void RaceData::RemoveDrivers(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::erase_if(indices, [this](int index) { return index < 0 || index >= drivers->GetCount(); });
    if (indices.empty())
        return;
    // Each removal moves the later drivers down by one.
    for (std::size_t done = 0; done + 1 < indices.size(); ++done)
        drivers->RemoveAt(indices[done] - static_cast<int>(done));
    // Emptying the race keeps the per-lap arrays of the last driver left (the recomputation stops
    // early without cars), so they are made for that driver first, as one-by-one removal does.
    if (drivers->GetCount() == 1)
        UpdateLapStatistics();
    drivers->RemoveAt(indices.back() - static_cast<int>(indices.size() - 1));
    LapStatisticsChanged();
}

void RaceData::LapStatisticsChanged() {
    if (m_statisticsDeferrals > 0) {
        m_statisticsStale = true;
        return;
    }
    UpdateLapStatistics();
}

DeferLapStatistics::DeferLapStatistics(RaceData& race) : m_race(race) {
    ++m_race.m_statisticsDeferrals;
}

DeferLapStatistics::~DeferLapStatistics() {
    if (--m_race.m_statisticsDeferrals > 0 || !m_race.m_statisticsStale)
        return;
    m_race.m_statisticsStale = false;
    m_race.UpdateLapStatistics();
}

void RaceData::UpdateLapStatistics() {
    maxGap = 0;
    const int driverCount = drivers->GetCount();
    if (lapCount <= 0 || driverCount == 0)
        return;
    const auto slots = static_cast<std::size_t>(lapCount);
    leaderTimes.assign(slots, kNoTime);
    lastTimes.assign(slots, 0);
    // Driver by driver rather than lap by lap: each car's laps are read in the order they lie.
    for (int index = 0; index < driverCount; ++index) {
        const LapArray& laps = drivers->GetAt(index)->laps;
        const int slotCount = std::min(lapCount, laps.GetSize());
        for (int slot = 0; slot < slotCount; ++slot) {
            const LapRecord* lap = laps.GetAt(slot);
            std::uint32_t& leader = leaderTimes[static_cast<std::size_t>(slot)];
            if (lap && lap->raceTime < leader)
                leader = lap->raceTime;
        }
    }
    for (int index = 0; index < driverCount; ++index) {
        const LapArray& laps = drivers->GetAt(index)->laps;
        const int slotCount = std::min(lapCount, laps.GetSize());
        for (int slot = 0; slot < slotCount; ++slot) {
            const LapRecord* lap = laps.GetAt(slot);
            if (!lap)
                continue;
            const std::uint32_t leader = leaderTimes[static_cast<std::size_t>(slot)];
            std::uint32_t time = lap->raceTime;
            // An event (a stop, a penalty) can hold the car beyond its lap time; it counts only when
            // it lies after the car's own crossing of the line (and so after the leader's).
            const bool hasEvent = (lap->flags & (kLapEventA | kLapEventB)) != 0;
            if (hasEvent && lap->eventTime > time)
                time = lap->eventTime;
            std::uint32_t& last = lastTimes[static_cast<std::size_t>(slot)];
            last = std::max(last, time);
            // time is never below leader: leader is the smallest race time of this slot.
            maxGap = std::max(maxGap, time - leader);
        }
    }
}

COLORREF RaceData::TakeNextColour() {
    const int index = ((nextColour % kPaletteSize) + kPaletteSize) % kPaletteSize;
    nextColour = (index + 1) % kPaletteSize;
    return kPalette[static_cast<std::size_t>(index)];
}

#pragma once

#include "SortedArray.h"
#include "common/Colour.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Times are unsigned milliseconds; values with one of the top four bits set are never shown.
constexpr std::uint32_t kNoTime = 0x10000000;
constexpr std::uint32_t kFastestLapNotComputed = 0x10000001;
constexpr std::uint8_t kNoTrackYet = 0xFF;
constexpr int kMaxLapNumber = 127;

enum LapFlag : std::uint32_t {
    kLapMarked = 1,  // the logger marked this lap
    kLapEventA = 2,  // a type A event record was seen for this lap
    kLapEventB = 4,  // a type B event record was seen for this lap
    kLapAnyMark = 7, // such a lap never counts as the fastest
};

constexpr int kPaletteSize = 18;
extern const std::array<COLORREF, kPaletteSize> kPalette;

struct LapRecord {
    std::uint32_t flags = 0;
    std::uint32_t raceTime = 0;
    std::uint32_t lapTime = 0;
    std::uint32_t eventTime = 0;
};

// The laps of one car; slot i holds lap number i + 1 and may be empty. The laps lie side by side,
// so that a chart's pass over every lap of every car reads memory in order.
class LapArray {
public:
    LapArray() = default;
    LapArray(const LapArray&) = delete;
    LapArray& operator=(const LapArray&) = delete;
    ~LapArray();

    int GetSize() const { return static_cast<int>(m_slots.size()); }
    // Null for an empty slot or an index outside the array; valid until the next SetAt.
    LapRecord* GetAt(int slot) const {
        if (slot < 0 || slot >= GetSize() || !m_slots[static_cast<std::size_t>(slot)].filled)
            return nullptr;
        return &m_slots[static_cast<std::size_t>(slot)].lap;
    }
    // Replaces the lap in the slot (empties it for null), growing the array with empty slots as
    // needed.
    void SetAt(int slot, std::unique_ptr<LapRecord> lap);
    void SetAt(int slot, const LapRecord& lap);

private:
    struct Slot {
        LapRecord lap;
        bool filled = false;
    };
    void Fill(int slot, const LapRecord* lap);

    // Mutable: a lap handed out by GetAt may be changed, as the loaders' event records do.
    mutable std::vector<Slot> m_slots;
};

struct DriverRecord {
    DriverRecord(std::uint8_t carByte, std::string driverName, COLORREF driverColour);

    std::string GetName() const { return name; }
    std::uint32_t GetLastRaceTime() const;
    std::uint32_t GetFastestLap();

    COLORREF colour; // as shown: the designed colour, or the distinct one
    COLORREF designedColour;
    std::string name;
    LapArray laps;
    std::uint32_t fastestLap = kFastestLapNotComputed;
    std::uint8_t car;
    int colourSlot = -1; // the driver's place in the distinct colours, kept for its life
    bool dashed = false; // its shown colour is a repeat
};

enum DriverSortKey : int { kSortByName = 0, kSortByRaceOrder = 1, kSortByFastestLap = 2 };

class DriverArray : public SortedArray<DriverRecord> {
public:
    DriverArray() = default;
    DriverArray(const DriverArray&) = delete;
    DriverArray& operator=(const DriverArray&) = delete;
    ~DriverArray() override;

    void InsertAt(int index, std::unique_ptr<DriverRecord> driver) override;
    // Null for an index outside 0 .. count - 1.
    DriverRecord* GetAt(int index) const override;
    int GetCount() const override { return static_cast<int>(m_drivers.size()); }
    int Compare(DriverRecord* a, DriverRecord* b) const override;

    // Room for count drivers, growing by at least half so that many merges stay linear.
    void Reserve(int count);
    // Takes the driver out of the array (later drivers move down); null for a bad index.
    std::unique_ptr<DriverRecord> RemoveAt(int index);
    // Takes every driver out, in array order, leaving the array empty.
    std::vector<std::unique_ptr<DriverRecord>> TakeAll();

    int sortKey = kSortByRaceOrder;
    bool descending = false;

private:
    std::vector<std::unique_ptr<DriverRecord>> m_drivers;
};

class RaceData {
public:
    RaceData();
    RaceData(const RaceData&) = delete;
    RaceData& operator=(const RaceData&) = delete;
    virtual ~RaceData();

    std::string GetTrackName() const { return trackName; }
    void Sort(int key);
    void RemoveDriver(int index);
    // Removes the drivers at the indices (each counted before any removal) with one recomputation
    // of the statistics; the race ends exactly as after removing them one by one from the top.
    void RemoveDrivers(std::vector<int> indices);
    void UpdateLapStatistics();
    // The cars changed: recomputes the statistics now, or once at the end of a deferring batch.
    void LapStatisticsChanged();
    // The palette colour for the next new car; advances the rotation.
    COLORREF TakeNextColour();

    std::uint32_t trackCode = 0;
    std::int32_t lapCount = 0;
    std::uint32_t maxGap = 0;
    std::int32_t nextColour = 0;
    std::string trackName;
    std::unique_ptr<DriverArray> drivers;
    std::vector<std::uint32_t> leaderTimes;
    std::vector<std::uint32_t> lastTimes;
    std::uint8_t trackId = kNoTrackYet;

private:
    friend class DeferLapStatistics;
    int m_statisticsDeferrals = 0;
    bool m_statisticsStale = false;
};

// While one lives, changes of the cars leave the statistics stale; the last one to go recomputes
// them once. Nothing reads them between the files of one Add, so adding n files costs one pass
// over the race rather than n.
class DeferLapStatistics {
public:
    explicit DeferLapStatistics(RaceData& race);
    DeferLapStatistics(const DeferLapStatistics&) = delete;
    DeferLapStatistics& operator=(const DeferLapStatistics&) = delete;
    ~DeferLapStatistics();

private:
    RaceData& m_race;
};

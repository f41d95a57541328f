#include "data/RecordDecoder.h"

#include "data/ByteFields.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

// Fields at the same place in every record of both variants.
constexpr std::size_t kLapNumberAt = 1;
constexpr std::size_t kCarByteAt = 2;
constexpr std::uint8_t kLapNumberMask = 127;
constexpr std::uint8_t kCarNumberMask = 63;
constexpr std::uint8_t kLoggerMarkBit = 2;

struct LapLayout {
    std::uint8_t kind;
    std::size_t size;
    std::size_t raceTimeAt;
    std::size_t lapTimeAt;
    std::size_t flagByteAt;
};

struct EventLayout {
    std::uint8_t kind;
    std::size_t size;
    std::size_t timeAt;
    std::uint32_t flag;
    // Added to the lap number to give the slot: a type B event belongs to the lap after its number.
    int slotFromLapNumber;
};

struct StreamVariant {
    LapLayout lap;
    std::array<EventLayout, 2> events;
};

constexpr StreamVariant kLogVariant{
    {5, 68, 6, 18, 3},
    {{{7, 15, 6, kLapEventA, -1}, {8, 20, 5, kLapEventB, 0}}},
};

constexpr StreamVariant kGameVariant{
    {4, 73, 5, 21, 25},
    {{{5, 22, 5, kLapEventA, -1}, {6, 20, 5, kLapEventB, 0}}},
};

std::string NameOfCar(std::span<const std::uint8_t> nameTable, std::uint8_t carByte) {
    const int entry = (carByte & kCarNumberMask) - 1;
    if (entry < 0)
        return {};
    const std::size_t start = static_cast<std::size_t>(entry) * kNameEntrySize;
    if (start >= nameTable.size())
        return {};
    // An entry that fills all its bytes has no NUL; the entry's end (or the table's) ends the name.
    const auto field =
        nameTable.subspan(start, std::min<std::size_t>(kNameEntrySize, nameTable.size() - start));
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
}

class StreamDecoder {
public:
    StreamDecoder(RaceData& race, const StreamVariant& variant, std::span<const std::uint8_t> nameTable)
        : m_race(race), m_variant(variant), m_nameTable(nameTable) {}

    ~StreamDecoder() {
        while (!m_newCars.empty())
            m_newCars.pop_back();
    }

    void Decode(std::span<const std::uint8_t> stream) {
        std::size_t cursor = 0;
        while (cursor < stream.size()) {
            const std::size_t size = RecordSize(stream[cursor]);
            // An unknown kind ends the stream, and so does a record cut off by its end.
            if (size == 0 || !FieldFits(stream.size(), cursor, size))
                break;
            const auto record = stream.subspan(cursor, size);
            if (record[0] == m_variant.lap.kind)
                AddLap(record);
            else
                MarkLap(record,
                        record[0] == m_variant.events[0].kind ? m_variant.events[0] : m_variant.events[1]);
            cursor += size;
        }
    }

    void MergeIntoRace() {
        // Room for every new car first, so that merging cannot fail half-way for want of memory.
        m_race.drivers->Reserve(m_race.drivers->GetCount() + static_cast<int>(m_newCars.size()));
        for (std::unique_ptr<DriverRecord>& car : m_newCars) {
            // A car equal to one already present (the same file added again) is dropped; the others
            // go where the same search places them, as Insert would search again to find.
            const int found = m_race.drivers->Find(car.get());
            if (found < 0)
                m_race.drivers->InsertAt(-1 - found, std::move(car));
        }
        // Cars not inserted go here, last to first.
        while (!m_newCars.empty())
            m_newCars.pop_back();
        m_race.LapStatisticsChanged();
    }

private:
    std::size_t RecordSize(std::uint8_t kind) const {
        if (kind == m_variant.lap.kind)
            return m_variant.lap.size;
        for (const EventLayout& event : m_variant.events) {
            if (kind == event.kind)
                return event.size;
        }
        return 0;
    }

    // A file never gets two new cars with one car byte, so a table by byte finds the car that the
    // walk back from the newest would find, without walking past up to 255 others on every record.
    DriverRecord* FindNewCar(std::uint8_t carByte) const { return m_newCarsByByte[carByte]; }

    DriverRecord& FindOrCreateCar(std::uint8_t carByte) {
        if (DriverRecord* car = FindNewCar(carByte))
            return *car;
        std::string name = NameOfCar(m_nameTable, carByte);
        m_newCars.push_back(
            std::make_unique<DriverRecord>(carByte, std::move(name), m_race.TakeNextColour()));
        m_newCarsByByte[carByte] = m_newCars.back().get();
        return *m_newCars.back();
    }

    void AddLap(std::span<const std::uint8_t> record) {
        const int lapNumber = record[kLapNumberAt] & kLapNumberMask;
        // Lap 0 has no slot; such a record carries nothing that could be kept.
        if (lapNumber == 0)
            return;
        DriverRecord& car = FindOrCreateCar(record[kCarByteAt]);
        const int slot = lapNumber - 1;
        m_race.lapCount = std::max(m_race.lapCount, slot + 1);
        LapRecord lap;
        lap.flags = (record[m_variant.lap.flagByteAt] & kLoggerMarkBit) ? std::uint32_t{kLapMarked} : 0;
        lap.raceTime = ReadU32(record, m_variant.lap.raceTimeAt);
        lap.lapTime = ReadU32(record, m_variant.lap.lapTimeAt);
        car.laps.SetAt(slot, lap);
    }

    void MarkLap(std::span<const std::uint8_t> record, const EventLayout& event) {
        DriverRecord* car = FindNewCar(record[kCarByteAt]);
        if (!car)
            return;
        const int slot = (record[kLapNumberAt] & kLapNumberMask) + event.slotFromLapNumber;
        LapRecord* lap = car->laps.GetAt(slot);
        if (!lap)
            return;
        lap->flags |= event.flag;
        lap->eventTime = ReadU32(record, event.timeAt);
    }

    RaceData& m_race;
    const StreamVariant& m_variant;
    std::span<const std::uint8_t> m_nameTable;
    std::vector<std::unique_ptr<DriverRecord>> m_newCars;
    std::array<DriverRecord*, 256> m_newCarsByByte{};
};

int DecodeRecords(RaceData& race, const StreamVariant& variant, std::span<const std::uint8_t> nameTable,
                  std::span<const std::uint8_t> stream) {
    StreamDecoder decoder(race, variant, nameTable);
    decoder.Decode(stream);
    decoder.MergeIntoRace();
    return 1;
}

} // namespace

int DecodeLogRecords(RaceData& race, std::span<const std::uint8_t> nameTable,
                     std::span<const std::uint8_t> stream) {
    return DecodeRecords(race, kLogVariant, nameTable, stream);
}

int DecodeGameRecords(RaceData& race, std::span<const std::uint8_t> nameTable,
                      std::span<const std::uint8_t> stream) {
    return DecodeRecords(race, kGameVariant, nameTable, stream);
}

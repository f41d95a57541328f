#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Builds record streams of either variant, byte by byte, the way the logger lays them out.
class RecordStreamBuilder {
public:
    enum class Variant { kLog, kGame };

    explicit RecordStreamBuilder(Variant variant) : m_variant(variant) {}

    RecordStreamBuilder& Lap(std::uint8_t carByte, std::uint8_t lapNumber, std::uint32_t raceTime,
                             std::uint32_t lapTime, bool marked = false) {
        const bool log = m_variant == Variant::kLog;
        std::vector<std::uint8_t> record(log ? 68 : 73, 0);
        record[0] = log ? 5 : 4;
        record[1] = lapNumber;
        record[2] = carByte;
        Put(record, log ? 6 : 5, raceTime);
        Put(record, log ? 18 : 21, lapTime);
        record[log ? 3 : 25] = marked ? 0x02 : 0xFD; // only bit 1 is meant to count
        return Append(record);
    }

    RecordStreamBuilder& EventA(std::uint8_t carByte, std::uint8_t lapNumber, std::uint32_t eventTime) {
        const bool log = m_variant == Variant::kLog;
        return Event(log ? 7 : 5, log ? 15 : 22, log ? 6 : 5, carByte, lapNumber, eventTime);
    }

    RecordStreamBuilder& EventB(std::uint8_t carByte, std::uint8_t lapNumber, std::uint32_t eventTime) {
        const bool log = m_variant == Variant::kLog;
        return Event(log ? 8 : 6, 20, 5, carByte, lapNumber, eventTime);
    }

    RecordStreamBuilder& Byte(std::uint8_t value) {
        m_bytes.push_back(value);
        return *this;
    }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    RecordStreamBuilder& Event(std::uint8_t kind, std::size_t size, std::size_t timeAt, std::uint8_t carByte,
                               std::uint8_t lapNumber, std::uint32_t eventTime) {
        std::vector<std::uint8_t> record(size, 0);
        record[0] = kind;
        record[1] = lapNumber;
        record[2] = carByte;
        Put(record, timeAt, eventTime);
        return Append(record);
    }

    static void Put(std::vector<std::uint8_t>& record, std::size_t offset, std::uint32_t value) {
        for (int index = 0; index < 4; ++index)
            record[offset + static_cast<std::size_t>(index)] =
                static_cast<std::uint8_t>(value >> (8 * index));
    }

    RecordStreamBuilder& Append(const std::vector<std::uint8_t>& record) {
        m_bytes.insert(m_bytes.end(), record.begin(), record.end());
        return *this;
    }

    Variant m_variant;
    std::vector<std::uint8_t> m_bytes;
};

// A name table of 24-byte entries; entry k names car number k + 1.
inline std::vector<std::uint8_t> NameTable(const std::vector<std::string>& names, std::size_t entries = 40) {
    std::vector<std::uint8_t> table(entries * 24, 0);
    for (std::size_t entry = 0; entry < names.size() && entry < entries; ++entry) {
        for (std::size_t index = 0; index < names[entry].size() && index < 24; ++index)
            table[entry * 24 + index] = static_cast<std::uint8_t>(names[entry][index]);
    }
    return table;
}

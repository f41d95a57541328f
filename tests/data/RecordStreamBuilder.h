#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Builds record streams of either variant, byte by byte and in any order, as the logger lays them out.
class RecordStreamBuilder {
public:
    enum class Variant { kLog, kGame };

    explicit RecordStreamBuilder(Variant variant) : m_log(variant == Variant::kLog) {}

    RecordStreamBuilder& Lap(std::uint8_t carByte, std::uint8_t lapNumber, std::uint32_t raceTime,
                             std::uint32_t lapTime, bool marked = false) {
        const std::size_t at = Record(m_log ? 5 : 4, m_log ? 68 : 73, carByte, lapNumber);
        Put(at + (m_log ? 6 : 5), raceTime);
        Put(at + (m_log ? 18 : 21), lapTime);
        m_bytes[at + (m_log ? 3 : 25)] = marked ? 0x02 : 0xFD; // only bit 1 is meant to count
        return *this;
    }

    RecordStreamBuilder& EventA(std::uint8_t carByte, std::uint8_t lapNumber, std::uint32_t eventTime) {
        Put(Record(m_log ? 7 : 5, m_log ? 15 : 22, carByte, lapNumber) + (m_log ? 6 : 5), eventTime);
        return *this;
    }

    RecordStreamBuilder& EventB(std::uint8_t carByte, std::uint8_t lapNumber, std::uint32_t eventTime) {
        Put(Record(m_log ? 8 : 6, 20, carByte, lapNumber) + 5, eventTime);
        return *this;
    }

    RecordStreamBuilder& Byte(std::uint8_t value) {
        m_bytes.push_back(value);
        return *this;
    }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::size_t Record(std::uint8_t kind, std::size_t size, std::uint8_t carByte, std::uint8_t lapNumber) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + size, 0);
        m_bytes[at] = kind;
        m_bytes[at + 1] = lapNumber;
        m_bytes[at + 2] = carByte;
        return at;
    }

    void Put(std::size_t at, std::uint32_t value) {
        for (std::size_t index = 0; index < 4; ++index)
            m_bytes[at + index] = static_cast<std::uint8_t>(value >> (8 * index));
    }

    bool m_log;
    std::vector<std::uint8_t> m_bytes;
};

// A name table of 24-byte entries; entry k names car number k + 1.
inline std::vector<std::uint8_t> NameTable(const std::vector<std::string>& names, std::size_t entries = 40) {
    std::vector<std::uint8_t> table(entries * 24, 0);
    for (std::size_t entry = 0; entry < names.size() && entry < entries; ++entry)
        for (std::size_t index = 0; index < names[entry].size() && index < 24; ++index)
            table[entry * 24 + index] = static_cast<std::uint8_t>(names[entry][index]);
    return table;
}

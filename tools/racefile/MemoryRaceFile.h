#pragma once

#include "data/RaceFile.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

// Raised by MemoryRaceFile when a test asks it to fail a read.
class MemoryFileReadError : public std::runtime_error {
public:
    MemoryFileReadError() : std::runtime_error("read failed") {}
};

// A race file held in memory. A test can make the status unavailable or make reads fail
// once the position passes a limit.
class MemoryRaceFile : public IRaceFile {
public:
    explicit MemoryRaceFile(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::uint32_t Read(void* buffer, std::uint32_t count) override;
    std::uint64_t Seek(std::int64_t offset) override;
    std::uint64_t GetPosition() const override { return m_position; }
    bool GetStatus(std::uint64_t& size) override;

    bool statusAvailable = true;
    std::optional<std::uint64_t> failReadsBeyond; // a read reaching past this position throws
    bool failForMemory = false;                   // ... std::bad_alloc instead of the read error
    std::uint64_t sparseSize = 0; // when larger than the bytes: zeros follow them up to this size

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};

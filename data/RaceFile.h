#pragma once

#include <cstdint>

// What the loader needs of an open, readable file. Implementations report read failures by
// throwing their own exception; the loader lets it pass and holds nothing that could leak.
class IRaceFile {
public:
    virtual ~IRaceFile() = default;
    // Number of bytes delivered; fewer than count at the end of the file.
    virtual std::uint32_t Read(void* buffer, std::uint32_t count) = 0;
    // Moves relative to the current position; returns the new position.
    virtual std::uint64_t Seek(std::int64_t offset) = 0;
    virtual std::uint64_t GetPosition() const = 0;
    // False when the status cannot be had; otherwise the file's size in bytes.
    virtual bool GetStatus(std::uint64_t& size) = 0;
};

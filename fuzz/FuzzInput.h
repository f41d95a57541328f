#pragma once

#include "tools/racefile/RaceFileWriter.h"

#include <cstddef>
#include <cstdint>

// The fuzz input's first byte chooses what the rest is. Bit 0 clear: a whole file as it would lie
// on disk. Bit 0 set: a race-file body as stored, put into a container with a correct checksum,
// so that mutations reach decompression and the trailer instead of dying at the checksum.
// Bit 1: the body is compressed; bit 2: shifted checksum; bit 3: the second magic;
// bits 4..7: the file type.
constexpr std::uint8_t kWholeFile = 0x00;
constexpr std::uint8_t kStoredBody = 0x01;
constexpr std::uint8_t kCompressedBit = 0x02;
constexpr std::uint8_t kShiftedBit = 0x04;
constexpr std::uint8_t kSecondMagicBit = 0x08;

inline Bytes FuzzInputToFile(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return {};
    const std::uint8_t mode = data[0];
    if (!(mode & kStoredBody))
        return Bytes(data + 1, data + size);
    RaceFileOptions options;
    options.compressed = mode & kCompressedBit;
    options.shiftedChecksum = mode & kShiftedBit;
    options.magic = (mode & kSecondMagicBit) ? kRaceMagicB : kRaceMagicA;
    options.fileType = static_cast<std::uint8_t>(mode >> 4);
    return RaceFileWriter::WrapStoredBody(std::span(data + 1, size - 1), options);
}

// The selector byte of a body seed made with these options.
inline std::uint8_t FuzzBodyMode(const RaceFileOptions& options) {
    return static_cast<std::uint8_t>(kStoredBody | (options.compressed ? kCompressedBit : 0) |
                                     (options.shiftedChecksum ? kShiftedBit : 0) |
                                     (options.magic == kRaceMagicB ? kSecondMagicBit : 0) |
                                     ((options.fileType & 15) << 4));
}

#pragma once

#include "data/RecordDecoder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Where the fields of log files and race files lie. Offsets are from the start of the file or of the
// named block; every number is little-endian.

constexpr std::uint64_t kShortestReadableFile = 9;
// What one file may make the loader hold: real files stay well under 1 MiB, so these leave a wide
// margin and still keep a hostile file from taking the machine's memory.
constexpr std::uint64_t kLargestStoredData = 64 << 20; // a log file's data part, a race file's body
constexpr std::size_t kLargestDecompressedBody = 64 << 20;
constexpr std::size_t kMagicSize = 4;
constexpr std::array<std::uint8_t, kMagicSize> kLogFileMagic = {'@', 'Z', 'Q', 'N'};
constexpr std::uint32_t kRaceFileMagicOld = 0x853DA1BE;
constexpr std::uint32_t kRaceFileMagicNew = 0xABADFEED;

// Log file.
constexpr std::size_t kLogVersionFieldSize = 4;
constexpr std::uint8_t kNewestLogVersion = 3;
constexpr std::uint8_t kFirstLogVersionWithNames = 2;
constexpr std::uint8_t kFirstLogVersionWithSkippedPart = 3;
constexpr std::size_t kLogNameEntries = 40;
constexpr std::size_t kLogNameTableSize = kLogNameEntries * kNameEntrySize;
constexpr std::int64_t kLogSkippedPartSize = 1920;
constexpr std::int64_t kLogTrailingBytes = 4;

// Race file: magic and header, then the stored body, then the checksum pair.
constexpr std::size_t kRaceHeaderEnd = 32;
constexpr std::size_t kTypeByteAt = 4;
constexpr std::size_t kHeaderNonZeroAt = 10;
constexpr std::size_t kHeaderFlagAt = 11;
constexpr std::uint8_t kHeaderFlagBit = 0x80;
constexpr std::uint8_t kFileTypeMask = 0x0F;
constexpr std::uint8_t kCompressedBit = 0x80;
constexpr std::size_t kChecksumPairSize = 4;
constexpr std::uint64_t kShortestRaceFile = kRaceHeaderEnd + kChecksumPairSize;
constexpr std::uint16_t kShiftedChecksumA = 32869;
constexpr std::uint16_t kShiftedChecksumB = 33893;
constexpr std::array<std::uint8_t, 7> kRaceFileTypes = {5, 6, 7, 8, 9, 11, 12};

// Body trailer, counted back from the body's end.
constexpr std::size_t kBodyTrailerSize = 12;
constexpr std::size_t kBlockOffsetFromEnd = 8;
constexpr std::size_t kMarkerFromEnd = 4;
constexpr std::uint32_t kLogLayoutMarker = 0xDE510D90;
constexpr std::uint32_t kGameLayoutMarker = 0x900D1337;
constexpr std::size_t kBodyLogNameTableAt = 8006;
constexpr std::size_t kGameVersionAt = 0;
// Car numbers run to 63; a game body's name table is never assumed to reach further.
constexpr std::size_t kGameNameTableSize = 63 * kNameEntrySize;

enum class ChecksumForm { kPlain, kShifted };

struct GameVersionPlaces {
    std::optional<std::uint16_t> version; // none: any version not listed before
    std::optional<ChecksumForm> checksum; // none: either form
    std::size_t nameTableAt;
    std::size_t sessionByteAt;
};

// First matching row wins; no row for another version with a plain checksum.
constexpr std::array<GameVersionPlaces, 5> kGameVersionPlaces = {{
    {81, ChecksumForm::kPlain, 81544, 82400},
    {81, ChecksumForm::kShifted, 86700, 87577},
    {94, std::nullopt, 81544, 82400},
    {181, std::nullopt, 86700, 87569},
    {std::nullopt, ChecksumForm::kShifted, 86700, 87577},
}};

// Race-information block, log layout.
constexpr std::size_t kLogTrackByteAt = 35;
constexpr std::uint8_t kLogTrackNumberMask = 0x0F;
constexpr std::uint8_t kLogOwnTrackNameBit = 0x80;
constexpr std::size_t kLogTrackCodeAt = 37;
constexpr std::size_t kLogTrackNameAt = 41;
constexpr std::size_t kLogSessionByteAt = 82;
constexpr std::size_t kLogRecordsAt = 107;

// Race-information block, game layout.
constexpr std::size_t kGameTrackIdAt = 53;
constexpr std::size_t kGameTrackCodeAt = 54;
constexpr std::size_t kGameTrackNameAt = 80;
constexpr std::size_t kGameRecordsAt = 159;

constexpr std::uint8_t kRaceSessionBit = 0x80;

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A race as a logger would have recorded it, from which RaceFileWriter builds log files and
// race files. Times are milliseconds, as in the files.
struct LapDescription {
    std::uint8_t lapNumber = 1;
    std::uint32_t raceTime = 0;
    std::uint32_t lapTime = 0;
    bool marked = false;
    std::uint8_t otherFlagBits = 0; // flag bits the logger sets besides its mark
};

struct CarDescription {
    std::uint8_t car = 1; // bits 0..5 car number, bits 6 and 7 marker bits
    std::string name;     // goes into the name table entry of the car number
    std::vector<LapDescription> laps;
};

enum class EventType { A, B };

struct EventDescription {
    EventType type = EventType::A;
    std::uint8_t car = 1;
    std::uint8_t lapNumber = 1;
    std::uint32_t time = 0;
};

struct RaceDescription {
    std::uint8_t trackId = 7;
    std::uint32_t trackCode = 0x07A11CE5;
    std::string trackName = "Silverstone";
    // Log layout only: write the track name into the block (else the reader takes the table name).
    bool ownTrackName = true;
    bool raceSession = true;
    std::vector<CarDescription> cars;
    // Laps by race time and events by event time, merged into one stream as a logger would.
    std::vector<EventDescription> events;

    std::vector<std::uint8_t> extraStreamBytes; // appended after the stream, for robustness tests
};

// Log file container options.
struct LogFileOptions {
    int version = 3;                               // 0..3 as written; higher values for refusals
    std::uint32_t magic = 0x4E515A40;              // "@ZQN"
    std::vector<std::uint8_t> tail = {0, 0, 0, 0}; // the four unread bytes at the end
};

constexpr std::uint32_t kRaceMagicA = 0x853DA1BE;
constexpr std::uint32_t kRaceMagicB = 0xABADFEED;
constexpr std::uint32_t kLogMarker = 0xDE510D90;
constexpr std::uint32_t kGameMarker = 0x900D1337;

// Race file container options.
struct RaceFileOptions {
    std::uint32_t magic = kRaceMagicA;
    std::uint8_t fileType = 5; // the type byte without its compression bit (bit 7)
    bool compressed = false;
    bool shiftedChecksum = false;
    std::uint32_t marker = kGameMarker;
    std::uint16_t gameVersion = 94;

    // Raw overrides for refusal tests.
    std::uint8_t headerByte10 = 1;
    std::uint8_t headerByte11 = 0x80;
    std::optional<std::uint32_t> blockOffset =
        std::nullopt;             // written into the trailer instead of the real one
    bool blockAtTrailer = false;  // the trailer's offset points at the trailer itself: an empty block
    bool corruptChecksum = false; // neither checksum form matches
    std::size_t cutAt = 0;        // the file ends after this many bytes; 0: the whole file
};

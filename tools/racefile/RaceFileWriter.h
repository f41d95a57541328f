#pragma once

#include "tools/racefile/RaceDescription.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Builds log files and race files byte by byte from a race description; an independent
// implementation of the containers, so that tests do not check the loader against itself.
class RaceFileWriter {
public:
    static Bytes LogFile(const RaceDescription& race, const LogFileOptions& options = {});
    static Bytes RaceFile(const RaceDescription& race, const RaceFileOptions& options = {});

    // The body of a race file before compression: logger block, name table, session byte, trailer.
    static Bytes RaceBody(const RaceDescription& race, const RaceFileOptions& options);
    // Puts a body that is already in its stored form (compressed or not, as options say) into
    // the container: magic, header, body, checksum pair.
    static Bytes WrapStoredBody(std::span<const std::uint8_t> storedBody, const RaceFileOptions& options);

    // The record stream of a game-marker block, or of a log block.
    static Bytes GameStream(const RaceDescription& race);
    static Bytes LogStream(const RaceDescription& race);
    // A name table of 24-byte entries; entry k names car number k + 1.
    static Bytes NameTable(const RaceDescription& race, int entries = 40);
};

#include "tools/racefile/RaceFileWriter.h"

#include "tools/racefile/Compressor.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kUnreadFill = 0xA5; // bytes no reader should look at
constexpr int kLogNameEntries = 40;
constexpr int kBodyNameEntries = 63; // every car number a car byte can carry
constexpr int kNameEntrySize = 24;
constexpr std::size_t kLogVersion3Skip = 1920;
constexpr std::size_t kLogBodyNameTable = 8006;
constexpr std::size_t kHeaderSize = 28;
constexpr std::uint16_t kShiftA = 32869;
constexpr std::uint16_t kShiftB = 33893;

struct BlockLayout {
    std::size_t size;
    std::size_t trackByte;
    std::size_t trackCode;
    std::size_t trackName;
    std::size_t sessionByte; // 0: the session byte is not in the block
};
constexpr BlockLayout kLogBlock = {107, 35, 37, 41, 82};
constexpr BlockLayout kGameBlock = {159, 53, 54, 80, 0};

struct StreamVariant {
    std::uint8_t lapKind, lapSize, raceTimeAt, lapTimeAt, flagAt;
    std::uint8_t eventAKind, eventASize, eventATimeAt;
    std::uint8_t eventBKind, eventBSize, eventBTimeAt;
};
constexpr StreamVariant kLogStream = {5, 68, 6, 18, 3, 7, 15, 6, 8, 20, 5};
constexpr StreamVariant kGameStream = {4, 73, 5, 21, 25, 5, 22, 5, 6, 20, 5};

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Append32(Bytes& bytes, std::uint32_t value) {
    const std::size_t at = bytes.size();
    bytes.resize(at + 4);
    Put32(bytes.data() + at, value);
}

void PutText(Bytes& bytes, std::size_t at, const std::string& text, std::size_t room) {
    const std::size_t length = std::min(text.size(), room - 1);
    std::memcpy(bytes.data() + at, text.data(), length);
    bytes[at + length] = 0;
}

// One record of the stream with the time that places it among the others.
struct StreamRecord {
    std::uint32_t time;
    Bytes bytes;
};

Bytes LapRecordBytes(const StreamVariant& v, std::uint8_t car, const LapDescription& lap) {
    Bytes record(v.lapSize, kUnreadFill);
    record[0] = v.lapKind;
    record[1] = lap.lapNumber;
    record[2] = car;
    record[v.flagAt] = static_cast<std::uint8_t>((lap.marked ? 0x02 : 0x00) | lap.otherFlagBits);
    Put32(record.data() + v.raceTimeAt, lap.raceTime);
    Put32(record.data() + v.lapTimeAt, lap.lapTime);
    return record;
}

Bytes EventRecordBytes(const StreamVariant& v, const EventDescription& event) {
    const bool typeA = event.type == EventType::A;
    Bytes record(typeA ? v.eventASize : v.eventBSize, kUnreadFill);
    record[0] = typeA ? v.eventAKind : v.eventBKind;
    record[1] = event.lapNumber;
    record[2] = event.car;
    Put32(record.data() + (typeA ? v.eventATimeAt : v.eventBTimeAt), event.time);
    return record;
}

Bytes Stream(const RaceDescription& race, const StreamVariant& v) {
    std::vector<StreamRecord> records;
    for (const CarDescription& car : race.cars)
        for (const LapDescription& lap : car.laps)
            records.push_back({lap.raceTime, LapRecordBytes(v, car.car, lap)});
    for (const EventDescription& event : race.events)
        records.push_back({event.time, EventRecordBytes(v, event)});
    // Laps come before events at the same time: a logger writes an event after its lap.
    std::stable_sort(records.begin(), records.end(),
                     [](const StreamRecord& a, const StreamRecord& b) { return a.time < b.time; });
    Bytes stream;
    for (const StreamRecord& record : records)
        stream.insert(stream.end(), record.bytes.begin(), record.bytes.end());
    stream.insert(stream.end(), race.extraStreamBytes.begin(), race.extraStreamBytes.end());
    return stream;
}

Bytes Block(const RaceDescription& race, const BlockLayout& layout, Bytes stream) {
    Bytes block(layout.size, kUnreadFill);
    const std::size_t nameEnd = layout.sessionByte ? layout.sessionByte : layout.size;
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(layout.trackName),
              block.begin() + static_cast<std::ptrdiff_t>(nameEnd), 0);
    PutText(block, layout.trackName, race.trackName, nameEnd - layout.trackName);
    // The log layout packs the track number with the own-name bit and carries the session byte.
    if (layout.sessionByte) {
        block[layout.trackByte] =
            static_cast<std::uint8_t>((race.trackId & 15) | (race.ownTrackName ? 0x80 : 0));
        block[layout.sessionByte] = race.raceSession ? 0x80 : 0x00;
    } else {
        block[layout.trackByte] = race.trackId;
    }
    Put32(block.data() + layout.trackCode, race.trackCode);
    block.insert(block.end(), stream.begin(), stream.end());
    return block;
}

void AddToChecksum(std::span<const std::uint8_t> bytes, std::uint16_t& sumA, std::uint16_t& sumB) {
    for (const std::uint8_t b : bytes) {
        sumA = static_cast<std::uint16_t>(sumA + b);
        sumB = static_cast<std::uint16_t>(((sumB << 3) | (sumB >> 13)) + b);
    }
}

// Where the loader finds the name table and the session byte of a game-marker body.
struct GameBodyLayout {
    std::size_t nameTable;
    std::size_t sessionByte;
};

GameBodyLayout GameBodyLayoutFor(std::uint16_t gameVersion, bool shiftedChecksum) {
    switch (gameVersion) {
    case 81:
        return shiftedChecksum ? GameBodyLayout{86700, 87577} : GameBodyLayout{81544, 82400};
    case 94:
        return {81544, 82400};
    case 181:
        return {86700, 87569};
    default:
        return {86700, 87577}; // a plain checksum makes this version unknown to the loader
    }
}

} // namespace

Bytes RaceFileWriter::GameStream(const RaceDescription& race) {
    return Stream(race, kGameStream);
}

Bytes RaceFileWriter::LogStream(const RaceDescription& race) {
    return Stream(race, kLogStream);
}

// Names longer than an entry run on into the next entries, as an unterminated name would.
Bytes RaceFileWriter::NameTable(const RaceDescription& race, int entries) {
    Bytes table(static_cast<std::size_t>(entries) * kNameEntrySize, 0);
    for (int number = 1; number <= entries; ++number) {
        for (const CarDescription& car : race.cars) {
            if ((car.car & 63) != number || car.name.empty())
                continue;
            const std::size_t at = static_cast<std::size_t>(number - 1) * kNameEntrySize;
            const std::size_t length = std::min(car.name.size(), table.size() - at);
            std::memcpy(table.data() + at, car.name.data(), length);
            if (length < kNameEntrySize)
                std::fill_n(table.begin() + static_cast<std::ptrdiff_t>(at + length), kNameEntrySize - length,
                            0);
        }
    }
    return table;
}

Bytes RaceFileWriter::LogFile(const RaceDescription& race, const LogFileOptions& options) {
    Bytes file;
    Append32(file, options.magic);
    Bytes block = Block(race, kLogBlock, Stream(race, kLogStream));
    const auto version = static_cast<std::uint8_t>(options.version);
    if (options.version <= 1) {
        block[0] = version; // the version byte doubles as the block's first byte
    } else {
        file.insert(file.end(), {version, 0, 0, 0});
        const Bytes names = NameTable(race, kLogNameEntries);
        file.insert(file.end(), names.begin(), names.end());
        if (options.version >= 3)
            file.insert(file.end(), kLogVersion3Skip, kUnreadFill);
    }
    file.insert(file.end(), block.begin(), block.end());
    file.insert(file.end(), options.tail.begin(), options.tail.end());
    return file;
}

Bytes RaceFileWriter::RaceBody(const RaceDescription& race, const RaceFileOptions& options) {
    std::size_t nameTable = kLogBodyNameTable;
    std::size_t sessionByte = 0;
    Bytes block;
    if (options.marker == kLogMarker) {
        block = Block(race, kLogBlock, Stream(race, kLogStream));
    } else {
        const GameBodyLayout layout = GameBodyLayoutFor(options.gameVersion, options.shiftedChecksum);
        nameTable = layout.nameTable;
        sessionByte = layout.sessionByte;
        block = Block(race, kGameBlock, Stream(race, kGameStream));
    }
    const Bytes names = NameTable(race, kBodyNameEntries);
    Bytes body(std::max(nameTable + names.size(), sessionByte + 1), 0);
    body[0] = static_cast<std::uint8_t>(options.gameVersion);
    body[1] = static_cast<std::uint8_t>(options.gameVersion >> 8);
    std::copy(names.begin(), names.end(), body.begin() + static_cast<std::ptrdiff_t>(nameTable));
    if (sessionByte)
        body[sessionByte] = race.raceSession ? 0x80 : 0x00;
    const auto blockOffset =
        static_cast<std::uint32_t>(body.size() + (options.blockAtTrailer ? block.size() : 0));
    body.insert(body.end(), block.begin(), block.end());
    body.insert(body.end(), 4, kUnreadFill);
    Append32(body, options.blockOffset.value_or(blockOffset));
    Append32(body, options.marker);
    return body;
}

Bytes RaceFileWriter::WrapStoredBody(std::span<const std::uint8_t> storedBody,
                                     const RaceFileOptions& options) {
    Bytes file;
    Append32(file, options.magic);
    Bytes header(kHeaderSize, kUnreadFill);
    header[0] = static_cast<std::uint8_t>(options.fileType | (options.compressed ? 0x80 : 0x00));
    header[6] = options.headerByte10;
    header[7] = options.headerByte11;
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), storedBody.begin(), storedBody.end());
    std::uint16_t sumA = 0;
    std::uint16_t sumB = 0;
    AddToChecksum(file, sumA, sumB);
    if (options.shiftedChecksum) {
        sumA = static_cast<std::uint16_t>(sumA + kShiftA);
        sumB = static_cast<std::uint16_t>(sumB + kShiftB);
    }
    if (options.corruptChecksum)
        sumA ^= 1; // off by one from both forms
    file.insert(file.end(), {static_cast<std::uint8_t>(sumA), static_cast<std::uint8_t>(sumA >> 8),
                             static_cast<std::uint8_t>(sumB), static_cast<std::uint8_t>(sumB >> 8)});
    if (options.cutAt != 0)
        file.resize(std::min(file.size(), options.cutAt));
    return file;
}

Bytes RaceFileWriter::RaceFile(const RaceDescription& race, const RaceFileOptions& options) {
    const Bytes body = RaceBody(race, options);
    if (!options.compressed)
        return WrapStoredBody(body, options);
    return WrapStoredBody(Compress(body), options);
}

#include "data/ByteFields.h"
#include "data/Checksum.h"
#include "data/ContainerLayout.h"
#include "data/ContainerReaders.h"
#include "data/Decompress.h"
#include "data/LoaderMessages.h"
#include "data/RaceFileLoader.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using RaceFileHead = std::array<std::uint8_t, kRaceHeaderEnd>;

int Refuse(IPrompt& prompt, const char* text) {
    prompt.MessageBox(text, kRefusalStyle);
    return 0;
}

bool HeaderDescribesRace(const RaceFileHead& head) {
    const std::uint8_t fileType = head[kTypeByteAt] & kFileTypeMask;
    const bool knownType =
        std::find(kRaceFileTypes.begin(), kRaceFileTypes.end(), fileType) != kRaceFileTypes.end();
    return knownType && head[kHeaderNonZeroAt] != 0 && (head[kHeaderFlagAt] & kHeaderFlagBit) != 0;
}

std::optional<ChecksumForm> MatchChecksum(const RaceFileHead& head, std::span<const std::uint8_t> storedBody,
                                          std::span<const std::uint8_t> checksumPair) {
    std::uint16_t sumA = 0;
    std::uint16_t sumB = 0;
    UpdateChecksum(head.data(), head.size(), sumA, sumB);
    UpdateChecksum(storedBody.data(), storedBody.size(), sumA, sumB);
    const std::uint16_t fileA = ReadU16(checksumPair, 0);
    const std::uint16_t fileB = ReadU16(checksumPair, 2);
    if (sumA == fileA && sumB == fileB)
        return ChecksumForm::kPlain;
    // The shifted form is meant to wrap at 16 bits.
    if (static_cast<std::uint16_t>(sumA + kShiftedChecksumA) == fileA &&
        static_cast<std::uint16_t>(sumB + kShiftedChecksumB) == fileB)
        return ChecksumForm::kShifted;
    return std::nullopt;
}

// Replaces the stored body by its decompressed form; the refusal's text when that cannot be done.
const char* DecompressBody(std::vector<std::uint8_t>& body) {
    const std::optional<std::size_t> length = Decompress(body, nullptr);
    if (!length)
        return kDamagedFileText;
    if (*length > kLargestDecompressedBody)
        return kFileTooLargeText;
    std::vector<std::uint8_t> output(*length);
    const std::optional<std::size_t> written = DecompressInto(body, output);
    if (!written || *written != *length)
        return kDamagedFileText;
    body.swap(output);
    return nullptr;
}

const GameVersionPlaces* FindGameVersionPlaces(std::uint16_t version, ChecksumForm checksum) {
    for (const GameVersionPlaces& places : kGameVersionPlaces) {
        if (places.version && *places.version != version)
            continue;
        if (places.checksum && *places.checksum != checksum)
            continue;
        return &places;
    }
    return nullptr;
}

// The block between the block offset and the trailer; none when the offset points past the trailer.
std::optional<std::span<const std::uint8_t>> LoggerBlock(std::span<const std::uint8_t> body) {
    const std::size_t trailerAt = body.size() - kBodyTrailerSize;
    const std::uint32_t blockOffset = ReadU32(body, body.size() - kBlockOffsetFromEnd);
    if (blockOffset > trailerAt)
        return std::nullopt;
    return body.subspan(blockOffset, trailerAt - blockOffset);
}

// Name-table entries are looked up by car number; those beyond the body count as missing.
std::span<const std::uint8_t> NameTableAt(std::span<const std::uint8_t> body, std::size_t offset,
                                          std::size_t size) {
    return body.subspan(offset, std::min(size, body.size() - offset));
}

int ReadBody(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> body, ChecksumForm checksum) {
    if (body.size() < kBodyTrailerSize)
        return Refuse(prompt, kDamagedFileText);
    const std::uint32_t marker = ReadU32(body, body.size() - kMarkerFromEnd);
    if (marker == kGameLayoutMarker) {
        const GameVersionPlaces* places = FindGameVersionPlaces(ReadU16(body, kGameVersionAt), checksum);
        if (!places)
            return Refuse(prompt, kUnknownGameVersionText);
        const auto block = LoggerBlock(body);
        if (!block || places->nameTableAt >= body.size() || places->sessionByteAt >= body.size())
            return Refuse(prompt, kDamagedFileText);
        return ReadGameRaceInfo(race, prompt, NameTableAt(body, places->nameTableAt, kGameNameTableSize),
                                body[places->sessionByteAt], *block);
    }
    if (marker == kLogLayoutMarker) {
        const auto block = LoggerBlock(body);
        if (!block || kBodyLogNameTableAt >= body.size())
            return Refuse(prompt, kDamagedFileText);
        return ReadLogRaceInfo(race, prompt, NameTableAt(body, kBodyLogNameTableAt, kLogNameTableSize),
                               *block);
    }
    return Refuse(prompt, kNoLodrunDataText);
}

} // namespace

int LoadGameFile(RaceData& race, IRaceFile& file, IPrompt& prompt, std::uint64_t fileSize,
                 std::uint32_t magic) {
    RaceFileHead head{};
    for (std::size_t index = 0; index < kMagicSize; ++index)
        head[index] = static_cast<std::uint8_t>(magic >> (8 * index));
    const std::uint32_t headerSize = kRaceHeaderEnd - kMagicSize;
    const bool headerComplete = file.Read(head.data() + kMagicSize, headerSize) == headerSize;
    if (!headerComplete || fileSize < kShortestRaceFile)
        return Refuse(prompt, kDamagedFileText);
    if (!HeaderDescribesRace(head))
        return Refuse(prompt, kNoRaceInfoText);

    const std::uint64_t storedSize = fileSize - kShortestRaceFile;
    if (storedSize > kLargestStoredData)
        return Refuse(prompt, kFileTooLargeText);
    std::vector<std::uint8_t> body(static_cast<std::size_t>(storedSize));
    std::array<std::uint8_t, kChecksumPairSize> checksumPair{};
    const auto bodyCount = static_cast<std::uint32_t>(storedSize);
    if (file.Read(body.data(), bodyCount) != bodyCount ||
        file.Read(checksumPair.data(), kChecksumPairSize) != kChecksumPairSize)
        return Refuse(prompt, kDamagedFileText);

    const std::optional<ChecksumForm> checksum = MatchChecksum(head, body, checksumPair);
    if (!checksum)
        return Refuse(prompt, kIncorrectChecksumText);
    if (head[kTypeByteAt] & kCompressedBit) {
        if (const char* refusal = DecompressBody(body))
            return Refuse(prompt, refusal);
    }
    return ReadBody(race, prompt, body, *checksum);
}

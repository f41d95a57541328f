#include "data/ByteFields.h"
#include "data/ContainerLayout.h"
#include "data/Formatting.h"
#include "data/LoaderMessages.h"
#include "data/RaceFileLoader.h"
#include "data/RecordDecoder.h"

#include <algorithm>
#include <string>

namespace {

// The text at offset up to its NUL; a name without one ends with the block's fixed part, so that
// the record stream never becomes part of it.
std::string TextAt(std::span<const std::uint8_t> block, std::size_t offset, std::size_t fixedPartEnd) {
    const std::size_t end = std::min(fixedPartEnd, block.size());
    const auto text = block.subspan(std::min(offset, end), end - std::min(offset, end));
    return std::string(text.begin(), std::find(text.begin(), text.end(), std::uint8_t{0}));
}

// The last two checks shared by both layouts; true when the records may be decoded.
bool AcceptSessionAndTrack(const RaceData& race, IPrompt& prompt, std::uint8_t sessionByte,
                           std::uint32_t trackCode) {
    if ((sessionByte & kRaceSessionBit) == 0) {
        prompt.MessageBox(kNotRaceSessionText, kRefusalStyle);
        return false;
    }
    if (race.trackCode != trackCode && prompt.MessageBox(kOtherTrackQuestion, kQuestionStyle) != IDYES)
        return false;
    return true;
}

} // namespace

int ReadLogRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                    std::span<const std::uint8_t> block) {
    if (block.size() <= kLogRecordsAt) {
        prompt.MessageBox(kNoLapsText, kRefusalStyle);
        return 0;
    }
    const std::uint32_t trackCode = ReadU32(block, kLogTrackCodeAt);
    // The first file read fixes the track, even when it is refused below.
    if (race.trackId == kNoTrackYet) {
        const std::uint8_t trackByte = block[kLogTrackByteAt];
        race.trackId = trackByte & kLogTrackNumberMask;
        race.trackCode = trackCode;
        race.trackName = (trackByte & kLogOwnTrackNameBit) ? TextAt(block, kLogTrackNameAt, kLogRecordsAt)
                                                           : TrackName(trackByte & kLogTrackNumberMask);
    }
    if (!AcceptSessionAndTrack(race, prompt, block[kLogSessionByteAt], trackCode))
        return 0;
    return DecodeLogRecords(race, nameTable, block.subspan(kLogRecordsAt));
}

int ReadGameRaceInfo(RaceData& race, IPrompt& prompt, std::span<const std::uint8_t> nameTable,
                     std::uint8_t sessionByte, std::span<const std::uint8_t> block) {
    if (block.size() <= kGameRecordsAt) {
        prompt.MessageBox(kNoLapsText, kRefusalStyle);
        return 0;
    }
    const std::uint32_t trackCode = ReadU32(block, kGameTrackCodeAt);
    if (race.trackId == kNoTrackYet) {
        race.trackId = block[kGameTrackIdAt];
        race.trackCode = trackCode;
        race.trackName = TextAt(block, kGameTrackNameAt, kGameRecordsAt);
    }
    if (!AcceptSessionAndTrack(race, prompt, sessionByte, trackCode))
        return 0;
    return DecodeGameRecords(race, nameTable, block.subspan(kGameRecordsAt));
}

#include "data/RaceFileLoader.h"

#include "data/ByteFields.h"
#include "data/ContainerLayout.h"
#include "data/ContainerReaders.h"
#include "data/LoaderMessages.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>

namespace {

int LoadWithinLimits(RaceData& race, IRaceFile& file, IPrompt& prompt, LogFileEnd logEnd) {
    std::uint64_t fileSize{};
    if (!file.GetStatus(fileSize) || fileSize < kShortestReadableFile)
        return 0;
    std::array<std::uint8_t, kMagicSize> magic{};
    file.Read(magic.data(), kMagicSize);
    if (magic == kLogFileMagic)
        return LoadLogFile(race, file, prompt, fileSize, logEnd);
    const std::uint32_t raceMagic = ReadU32(magic, 0);
    if (raceMagic == kRaceFileMagicOld || raceMagic == kRaceFileMagicNew)
        return LoadGameFile(race, file, prompt, fileSize, raceMagic);
    prompt.MessageBox(kNotValidLogFileText, kRefusalStyle);
    return 0;
}

// What a load may change before it can fail for want of memory; merging itself cannot fail.
struct RaceHead {
    explicit RaceHead(const RaceData& race)
        : trackCode(race.trackCode), lapCount(race.lapCount), nextColour(race.nextColour),
          trackName(race.trackName), trackId(race.trackId) {}

    void RestoreInto(RaceData& race) {
        race.trackCode = trackCode;
        race.lapCount = lapCount;
        race.nextColour = nextColour;
        race.trackName.swap(trackName);
        race.trackId = trackId;
    }

    std::uint32_t trackCode;
    std::int32_t lapCount;
    std::int32_t nextColour;
    std::string trackName;
    std::uint8_t trackId;
};

} // namespace

int LoadRaceFile(RaceData& race, IRaceFile& file, IPrompt& prompt, LogFileEnd logEnd) {
    std::optional<RaceHead> head;
    try {
        head.emplace(race);
        return LoadWithinLimits(race, file, prompt, logEnd);
    } catch (const std::bad_alloc&) {
        // The buffers of the failed load are gone by now, so the message box can be shown.
        if (head)
            head->RestoreInto(race);
        prompt.MessageBox(kOutOfMemoryText, kRefusalStyle);
        return 0;
    }
}

#include "data/RaceFileLoader.h"

#include "data/ByteFields.h"
#include "data/ContainerLayout.h"
#include "data/ContainerReaders.h"
#include "data/LoaderMessages.h"

#include <algorithm>
#include <array>

int LoadRaceFile(RaceData& race, IRaceFile& file, IPrompt& prompt) {
    std::uint64_t fileSize = 0;
    if (!file.GetStatus(fileSize) || fileSize < kShortestReadableFile)
        return 0;
    std::array<std::uint8_t, kMagicSize> magic{};
    file.Read(magic.data(), kMagicSize);
    if (magic == kLogFileMagic)
        return LoadLogFile(race, file, prompt, fileSize);
    const std::uint32_t raceMagic = ReadU32(magic, 0);
    if (raceMagic == kRaceFileMagicOld || raceMagic == kRaceFileMagicNew)
        return LoadGameFile(race, file, prompt, fileSize, raceMagic);
    prompt.MessageBox(kNotValidLogFileText, kRefusalStyle);
    return 0;
}

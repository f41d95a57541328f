#include "data/ContainerLayout.h"
#include "data/ContainerReaders.h"
#include "data/LoaderMessages.h"
#include "data/RaceFileLoader.h"

#include <array>
#include <vector>

namespace {

enum class DataPart { kRead, kMissing, kTooLarge };

// The data part runs from the current position to the end less the tail; one that is empty or
// cannot be read in full is missing, which refuses the file without a message.
DataPart ReadDataPart(IRaceFile& file, std::uint64_t fileSize, std::uint64_t tailSize,
                      std::vector<std::uint8_t>& data) {
    const std::uint64_t position = file.GetPosition();
    if (position >= fileSize)
        return DataPart::kMissing;
    const std::uint64_t afterPosition = fileSize - position;
    if (afterPosition <= tailSize)
        return DataPart::kMissing;
    const std::uint64_t remaining = afterPosition - tailSize;
    if (remaining > kLargestStoredData)
        return DataPart::kTooLarge;
    const auto count = static_cast<std::uint32_t>(remaining);
    data.resize(count);
    return file.Read(data.data(), count) == count ? DataPart::kRead : DataPart::kMissing;
}

} // namespace

int LoadLogFile(RaceData& race, IRaceFile& file, IPrompt& prompt, std::uint64_t fileSize, LogFileEnd logEnd) {
    std::array<std::uint8_t, kLogVersionFieldSize> versionField{};
    if (file.Read(versionField.data(), kLogVersionFieldSize) != kLogVersionFieldSize)
        return 0;
    const std::uint8_t version = versionField[0];
    if (version > kNewestLogVersion) {
        prompt.MessageBox(kVersionTooNewText, kRefusalStyle);
        return 0;
    }
    std::vector<std::uint8_t> nameTable;
    if (version < kFirstLogVersionWithNames) {
        // The early versions have no version field: its first byte already belongs to the data.
        file.Seek(-static_cast<std::int64_t>(kLogVersionFieldSize));
    } else {
        nameTable.resize(kLogNameTableSize);
        // A file that ends inside its name table has no data part.
        if (file.Read(nameTable.data(), kLogNameTableSize) != kLogNameTableSize)
            return 0;
        if (version >= kFirstLogVersionWithSkippedPart)
            file.Seek(kLogSkippedPartSize);
    }
    std::vector<std::uint8_t> data;
    const std::uint64_t tailSize = logEnd == LogFileEnd::kTailUnread ? kLogTrailingBytes : 0;
    const DataPart dataPart = ReadDataPart(file, fileSize, tailSize, data);
    if (dataPart == DataPart::kTooLarge)
        prompt.MessageBox(kFileTooLargeText, kRefusalStyle);
    if (dataPart != DataPart::kRead)
        return 0;
    return ReadLogRaceInfo(race, prompt, nameTable, data);
}

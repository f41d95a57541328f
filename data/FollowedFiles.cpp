#include "data/FollowedFiles.h"

#include "common/Prompt.h"
#include "data/ContainerLayout.h"
#include "data/DiskFile.h"
#include "data/LoaderMessages.h"
#include "data/RaceFileLoader.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <span>

namespace {

// Headers and checksums beyond the stored data's limit; a larger file is refused unread.
constexpr std::uint64_t kLargestFollowedFile = kLargestStoredData + 4096;

// The kept contents read as a file.
class ContentsFile : public IRaceFile {
public:
    explicit ContentsFile(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint32_t Read(void* buffer, std::uint32_t count) override {
        const std::uint64_t left = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
        const auto done = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, left));
        if (done > 0)
            std::memcpy(buffer, m_bytes.data() + m_position, done);
        m_position += done;
        return done;
    }
    std::uint64_t Seek(std::int64_t offset) override {
        const auto target = static_cast<std::int64_t>(m_position) + offset;
        m_position = static_cast<std::uint64_t>(std::max<std::int64_t>(target, 0));
        return m_position;
    }
    std::uint64_t GetPosition() const override { return m_position; }
    bool GetStatus(std::uint64_t& size) override {
        size = m_bytes.size();
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};

// Keeps the first refusal instead of showing it, and answers the one question as told.
class QuietPrompt : public IPrompt {
public:
    explicit QuietPrompt(int otherTrackAnswer) : m_otherTrackAnswer(otherTrackAnswer) {}

    int MessageBox(const std::string& text, unsigned style) override {
        if ((style & MB_TYPEMASK) == MB_YESNO)
            return m_otherTrackAnswer;
        if (refusal.empty())
            refusal = text;
        return IDOK;
    }

    std::string refusal;

private:
    int m_otherTrackAnswer;
};

bool IsPresentButNotRegular(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(NativePath(path), error);
    return !error && !std::filesystem::is_regular_file(status);
}

struct ReadOutcome {
    FollowState state;
    std::string message;
    std::vector<std::uint8_t> contents;
};

ReadOutcome ReadWhole(const std::string& path) {
    try {
        DiskFile file(path);
        std::uint64_t size = 0;
        if (!file.GetStatus(size))
            return {FollowState::kWaiting, FileErrorMessage(FileErrorCause::ReadFault, path), {}};
        if (size > kLargestFollowedFile)
            return {FollowState::kRefused, kFileTooLargeText, {}};
        std::vector<std::uint8_t> contents(static_cast<std::size_t>(size));
        // A file that shrank since its size was taken gives what it still has.
        contents.resize(file.Read(contents.data(), static_cast<std::uint32_t>(size)));
        return {FollowState::kLoaded, {}, std::move(contents)};
    } catch (const FileException& error) {
        // Pipes and devices are refused as at Add; anything else may come back.
        const FollowState state =
            IsPresentButNotRegular(path) ? FollowState::kRefused : FollowState::kWaiting;
        return {state, error.message(), {}};
    } catch (const std::bad_alloc&) {
        return {FollowState::kRefused, kOutOfMemoryText, {}};
    }
}

} // namespace

FollowedFiles::FollowedFiles(std::vector<std::string> paths, int otherTrackAnswer)
    : m_otherTrackAnswer(otherTrackAnswer) {
    for (std::string& path : paths)
        m_files.push_back({std::move(path), FollowState::kNotRead, {}, {}});
}

FollowedFiles::ReadResult FollowedFiles::ReadAll() {
    ReadResult result;
    for (std::size_t index = 0; index < m_files.size(); ++index)
        if (ReadFile(m_files[index], result.contentsChanged))
            result.stateChanged.push_back(index);
    return result;
}

bool FollowedFiles::ReadFile(FollowedFile& file, bool& contentsChanged) const {
    ReadOutcome outcome = ReadWhole(file.path);
    if (outcome.state == FollowState::kLoaded) {
        // Checked on a race of its own, so that a file caught mid-write never reaches the race.
        RaceData scratch;
        ContentsFile contents(outcome.contents);
        QuietPrompt prompt(IDYES);
        if (LoadRaceFile(scratch, contents, prompt, LogFileEnd::kToEnd) == 0) {
            outcome.message = prompt.refusal.empty() ? kNoLapsText : prompt.refusal;
            outcome.state =
                outcome.message == kFileTooLargeText ? FollowState::kRefused : FollowState::kWaiting;
        }
    }
    const FollowState oldState = file.state;
    const std::string oldMessage = file.message;
    file.state = outcome.state;
    file.message = outcome.message;
    if (outcome.state == FollowState::kLoaded) {
        if (outcome.contents != file.contents) {
            file.contents = std::move(outcome.contents);
            contentsChanged = true;
        }
    } else if (outcome.state == FollowState::kRefused && !file.contents.empty()) {
        // A refused file leaves the race, as it would at Add; a waiting one keeps its laps.
        file.contents.clear();
        contentsChanged = true;
    }
    return oldState != file.state || oldMessage != file.message;
}

std::unique_ptr<RaceData> FollowedFiles::BuildRace(int sortKey, bool descending) const {
    auto race = std::make_unique<RaceData>();
    race->drivers->sortKey = sortKey;
    race->drivers->descending = descending;
    DeferLapStatistics oneRecomputation(*race);
    for (const FollowedFile& file : m_files) {
        if (file.contents.empty())
            continue;
        ContentsFile contents(file.contents);
        QuietPrompt prompt(m_otherTrackAnswer);
        LoadRaceFile(*race, contents, prompt, LogFileEnd::kToEnd);
    }
    return race;
}

const char* FollowStateName(FollowState state) {
    switch (state) {
    case FollowState::kLoaded:
        return "loaded";
    case FollowState::kWaiting:
        return "waiting";
    case FollowState::kRefused:
        return "refused";
    default:
        return "not read";
    }
}

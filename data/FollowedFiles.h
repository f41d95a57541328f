#pragma once

#include "data/RaceData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The files of a race followed while they are written. Each read takes a file whole into memory
// and checks it on a race of its own; a file that cannot be read just now (cut mid-write, gone for
// a moment) keeps its last good contents, and the race is built afresh from those contents in the
// order the files were given. Nothing here waits for changes: callers read again when told.
enum class FollowState { kNotRead, kLoaded, kWaiting, kRefused };

struct FollowedFile {
    std::string path;
    FollowState state = FollowState::kNotRead;
    std::string message;                // why the file waits or was refused; empty while it is loaded
    std::vector<std::uint8_t> contents; // the last good read; empty when there was none
};

class FollowedFiles {
public:
    // otherTrackAnswer (IDYES or IDNO) answers the different-track question for every file.
    FollowedFiles(std::vector<std::string> paths, int otherTrackAnswer);

    struct ReadResult {
        std::vector<std::size_t> stateChanged; // files whose state or message changed
        bool contentsChanged = false;          // some file's kept contents changed
    };
    // Reads every file again.
    ReadResult ReadAll();

    // A new race from the kept contents, its drivers sorted by the given key and direction.
    std::unique_ptr<RaceData> BuildRace(int sortKey = kSortByRaceOrder, bool descending = false) const;

    const std::vector<FollowedFile>& Files() const { return m_files; }

private:
    // True when the file's state, message or contents changed.
    bool ReadFile(FollowedFile& file, bool& contentsChanged) const;

    std::vector<FollowedFile> m_files;
    int m_otherTrackAnswer;
};

// The words a state goes by in reports.
const char* FollowStateName(FollowState state);

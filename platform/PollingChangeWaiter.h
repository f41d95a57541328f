#pragma once

#include "platform/FileChangeWatch.h"
#include "platform/FileIdentity.h"

#include <filesystem>
#include <optional>

// The watch where nothing tells of changes: each file's identity, size and time, looked at once a
// second. The system's part is the pause between looks, which a stop request cuts short.
class PollingChangeWaiter : public ChangeWaiter {
public:
    // Sleeps up to ms milliseconds; true at once when asked to stop.
    using StopWait = bool (*)(int ms);

    PollingChangeWaiter(std::vector<std::string> names, StopWait waitForStop);
    Wake Wait(int timeoutMs) override;

private:
    struct Stamp {
        std::optional<FileIdentity> identity;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        bool operator==(const Stamp&) const = default;
    };

    static Stamp StampOf(const std::string& name);
    std::vector<Stamp> Stamps() const;

    std::vector<std::string> m_names;
    StopWait m_waitForStop;
    std::vector<Stamp> m_stamps;
};

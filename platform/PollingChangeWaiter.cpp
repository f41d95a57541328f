#include "platform/PollingChangeWaiter.h"

#include "platform/NativePath.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr int kPollPeriodMs = 1000;
} // namespace

PollingChangeWaiter::PollingChangeWaiter(std::vector<std::string> names, StopWait waitForStop)
    : m_names(std::move(names)), m_waitForStop(waitForStop) {
    m_stamps = Stamps();
}

ChangeWaiter::Wake PollingChangeWaiter::Wait(int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        int period = kPollPeriodMs;
        if (timeoutMs >= 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
            if (spent >= timeoutMs)
                return Wake::kQuiet;
            period = std::min<int>(period, timeoutMs - static_cast<int>(spent));
        }
        if (m_waitForStop(period))
            return Wake::kStop;
        std::vector<Stamp> now = Stamps();
        if (now != m_stamps) {
            m_stamps = std::move(now);
            return Wake::kChanged;
        }
    }
}

PollingChangeWaiter::Stamp PollingChangeWaiter::StampOf(const std::string& name) {
    Stamp stamp{IdentifyFile(name)};
    if (!stamp.identity)
        return {};
    // A file that goes between the looks keeps the values of a failed look, which differ too.
    std::error_code ignored;
    const std::filesystem::path path = NativePath(name);
    stamp.size = std::filesystem::file_size(path, ignored);
    stamp.modified = std::filesystem::last_write_time(path, ignored);
    return stamp;
}

std::vector<PollingChangeWaiter::Stamp> PollingChangeWaiter::Stamps() const {
    std::vector<Stamp> stamps;
    for (const std::string& name : m_names)
        stamps.push_back(StampOf(name));
    return stamps;
}

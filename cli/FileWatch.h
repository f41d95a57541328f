#pragma once

#include <memory>
#include <string>
#include <vector>

// Waits for the followed files to change, or for the program to be told to stop. On Linux the
// kernel's file notifications on each file's folder (so that a file replaced by rename is seen
// again); elsewhere, or without them, a look at each file's size and time once a second.
class ChangeWaiter {
public:
    enum class Wake { kChanged, kQuiet, kStop };

    virtual ~ChangeWaiter() = default;
    // Until a file may have changed, timeoutMs went by without change (-1: no limit), or SIGINT,
    // SIGTERM, SIGHUP or the closing of standard output asked to stop.
    virtual Wake Wait(int timeoutMs) = 0;
};

// Installs the stop signals' handlers; the first call only.
std::unique_ptr<ChangeWaiter> MakeChangeWaiter(const std::vector<std::string>& paths);

#pragma once

#include <memory>
#include <string>
#include <vector>

// Waits for followed files to change, or for the program to be told to stop. On Linux the
// kernel's file notifications on each file's folder (so that a file replaced by rename is seen
// again); elsewhere, or without them, a look at each file's identity, size and time once a second.
class ChangeWaiter {
public:
    enum class Wake { kChanged, kQuiet, kStop };

    virtual ~ChangeWaiter() = default;
    // Until a file may have changed, timeoutMs went by without change (-1: no limit), or a stop
    // request (see StopSignals.h) or, where the system tells it, the closing of standard output
    // asked to stop.
    virtual Wake Wait(int timeoutMs) = 0;
};

// Installs the stop signals' handlers.
std::unique_ptr<ChangeWaiter> MakeChangeWaiter(const std::vector<std::string>& names);

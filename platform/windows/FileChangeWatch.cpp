#include "platform/FileChangeWatch.h"

#include "platform/PollingChangeWaiter.h"
#include "platform/StopSignals.h"
#include "platform/windows/StopEvent.h"

#include <windows.h>

namespace {
bool WaitForStop(int ms) {
    const HANDLE stop = StopSignalEvent();
    if (stop == nullptr) {
        ::Sleep(static_cast<DWORD>(ms));
        return false;
    }
    return ::WaitForSingleObject(stop, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}
} // namespace

// Windows' directory notifications would need a thread or overlapped reads per folder; looking
// once a second serves a race that lasts minutes.
std::unique_ptr<ChangeWaiter> MakeChangeWaiter(const std::vector<std::string>& names) {
    InstallStopSignals();
    return std::make_unique<PollingChangeWaiter>(names, WaitForStop);
}

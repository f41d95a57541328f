#include "platform/StopSignals.h"

#include "platform/windows/StopEvent.h"

#include <windows.h>

namespace {

HANDLE g_stopEvent = nullptr;

// Runs on a thread of its own that the system starts for each console event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        ::SetEvent(g_stopEvent);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool InstallStopSignals() {
    if (g_stopEvent != nullptr)
        return true;
    g_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_stopEvent == nullptr)
        return false;
    return ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
}

bool TakeStopRequest() {
    if (g_stopEvent == nullptr || ::WaitForSingleObject(g_stopEvent, 0) != WAIT_OBJECT_0)
        return false;
    ::ResetEvent(g_stopEvent);
    return true;
}

void* StopSignalEvent() {
    return g_stopEvent;
}

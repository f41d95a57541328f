#include "platform/StopSignals.h"

#include "platform/posix/StopPipe.h"

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array kStopSignals = {SIGINT, SIGTERM, SIGHUP};

// A signal handler may only write to a descriptor; a waiting loop watches the other end.
int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_stopPipe[1], &byte, 1);
}

// The first call decides the flags.
bool Install(int flags) {
    if (g_stopPipe[0] >= 0)
        return true;
    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
    return true;
}

} // namespace

bool InstallStopSignals() {
    return Install(0);
}

bool InstallStopSignalsRestartingCalls() {
    return Install(SA_RESTART);
}

bool TakeStopRequest() {
    bool taken = false;
    char bytes[64];
    while (g_stopPipe[0] >= 0 && ::read(g_stopPipe[0], bytes, sizeof bytes) > 0)
        taken = true;
    return taken;
}

int StopSignalDescriptor() {
    return g_stopPipe[0];
}

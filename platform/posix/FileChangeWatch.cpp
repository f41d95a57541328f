#include "platform/FileChangeWatch.h"

#include "platform/PollingChangeWaiter.h"
#include "platform/StopSignals.h"
#include "platform/posix/StopPipe.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <poll.h>
#include <set>
#include <unistd.h>
#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace {

// What poll() watches besides the notifications: the stop pipe, and standard output, which
// reports an error or hang-up once its reader has gone.
class StopWatch {
public:
    // Fills the first two entries; the caller may add a third.
    static void Prepare(std::array<pollfd, 3>& fds) {
        fds[0] = {StopSignalDescriptor(), POLLIN, 0};
        fds[1] = {STDOUT_FILENO, 0, 0};
    }
    static bool AskedToStop(const std::array<pollfd, 3>& fds) {
        return (fds[0].revents & POLLIN) != 0 || (fds[1].revents & (POLLERR | POLLHUP)) != 0;
    }
};

bool WaitForStop(int ms) {
    std::array<pollfd, 3> fds{};
    StopWatch::Prepare(fds);
    return ::poll(fds.data(), 2, ms) > 0 && StopWatch::AskedToStop(fds);
}

#ifdef __linux__
// Watches each file's folder and wakes for events that name one of the files.
class NotifyWaiter : public ChangeWaiter {
public:
    static std::unique_ptr<NotifyWaiter> Make(const std::vector<std::string>& names) {
        const int descriptor = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (descriptor < 0)
            return nullptr;
        auto waiter = std::unique_ptr<NotifyWaiter>(new NotifyWaiter(descriptor));
        for (const std::string& name : names)
            if (!waiter->Add(name))
                return nullptr;
        return waiter;
    }
    ~NotifyWaiter() override { ::close(m_descriptor); }

    Wake Wait(int timeoutMs) override {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            int left = -1;
            if (timeoutMs >= 0) {
                left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            deadline - std::chrono::steady_clock::now())
                                            .count());
                if (left <= 0)
                    return Wake::kQuiet;
            }
            std::array<pollfd, 3> fds{};
            StopWatch::Prepare(fds);
            fds[2] = {m_descriptor, POLLIN, 0};
            const int ready = ::poll(fds.data(), fds.size(), left);
            if (ready < 0 && errno != EINTR)
                return Wake::kStop;
            if (ready <= 0)
                continue;
            if (StopWatch::AskedToStop(fds))
                return Wake::kStop;
            if ((fds[2].revents & POLLIN) != 0 && DrainNamesOurs())
                return Wake::kChanged;
        }
    }

private:
    explicit NotifyWaiter(int descriptor) : m_descriptor(descriptor) {}

    bool Add(const std::string& name) {
        const std::filesystem::path file = std::filesystem::absolute(name).lexically_normal();
        const std::string folder = file.parent_path().string();
        constexpr std::uint32_t kEvents =
            IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
        const int watch = ::inotify_add_watch(m_descriptor, folder.c_str(), kEvents);
        if (watch < 0)
            return false;
        m_names[watch].insert(file.filename().string());
        return true;
    }

    // Reads every queued event; true when one names a followed file.
    bool DrainNamesOurs() {
        alignas(inotify_event) char buffer[8192];
        bool ours = false;
        for (;;) {
            const ssize_t got = ::read(m_descriptor, buffer, sizeof buffer);
            if (got <= 0)
                return ours;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                const auto names = m_names.find(event->wd);
                // An overflowed queue may have lost ours.
                if ((event->mask & IN_Q_OVERFLOW) != 0 ||
                    (names != m_names.end() && event->len > 0 && names->second.count(event->name) > 0))
                    ours = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    int m_descriptor;
    std::map<int, std::set<std::string>> m_names;
};
#endif

} // namespace

std::unique_ptr<ChangeWaiter> MakeChangeWaiter(const std::vector<std::string>& names) {
    InstallStopSignals();
    // A reader that goes away is seen as a failed write, not as a signal that kills.
    std::signal(SIGPIPE, SIG_IGN);
#ifdef __linux__
    if (auto waiter = NotifyWaiter::Make(names))
        return waiter;
#endif
    return std::make_unique<PollingChangeWaiter>(names, WaitForStop);
}

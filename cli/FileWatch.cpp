#include "FileWatch.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <poll.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace {

constexpr int kPollPeriodMs = 1000;
constexpr std::array kStopSignals = {SIGINT, SIGTERM, SIGHUP};

// A stop signal writes one byte here, so that a wait in poll() wakes for it.
int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_stopPipe[1], &byte, 1);
}

bool InstallStopSignals() {
    if (g_stopPipe[0] >= 0)
        return true;
    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
    // A reader that goes away is seen as a failed write, not as a signal that kills.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

// What poll() watches besides the notifications: the stop pipe, and standard output, which
// reports an error or hang-up once its reader has gone.
class StopWatch {
public:
    // Fills the first two entries; the caller may add a third.
    void Prepare(std::array<pollfd, 3>& fds) const {
        fds[0] = {g_stopPipe[0], POLLIN, 0};
        fds[1] = {STDOUT_FILENO, 0, 0};
    }
    static bool AskedToStop(const std::array<pollfd, 3>& fds) {
        return (fds[0].revents & POLLIN) != 0 || (fds[1].revents & (POLLERR | POLLHUP)) != 0;
    }
};

struct Stamp {
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return {};
    return {true, status.st_dev, status.st_ino, status.st_size,
            std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

// Where nothing tells of changes: size, time and identity of every file, looked at once a second.
class PollingWaiter : public ChangeWaiter {
public:
    explicit PollingWaiter(std::vector<std::string> paths) : m_paths(std::move(paths)) {
        m_stamps = Stamps();
    }

    Wake Wait(int timeoutMs) override {
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
            std::array<pollfd, 3> fds{};
            StopWatch().Prepare(fds);
            if (::poll(fds.data(), 2, period) > 0 && StopWatch::AskedToStop(fds))
                return Wake::kStop;
            std::vector<Stamp> now = Stamps();
            if (now != m_stamps) {
                m_stamps = std::move(now);
                return Wake::kChanged;
            }
        }
    }

private:
    std::vector<Stamp> Stamps() const {
        std::vector<Stamp> stamps;
        for (const std::string& path : m_paths)
            stamps.push_back(StampOf(path));
        return stamps;
    }

    std::vector<std::string> m_paths;
    std::vector<Stamp> m_stamps;
};

#ifdef __linux__
// Watches each file's folder and wakes for events that name one of the files.
class NotifyWaiter : public ChangeWaiter {
public:
    static std::unique_ptr<NotifyWaiter> Make(const std::vector<std::string>& paths) {
        const int descriptor = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (descriptor < 0)
            return nullptr;
        auto waiter = std::unique_ptr<NotifyWaiter>(new NotifyWaiter(descriptor));
        for (const std::string& path : paths)
            if (!waiter->Add(path))
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
            StopWatch().Prepare(fds);
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

    bool Add(const std::string& path) {
        const std::filesystem::path file = std::filesystem::absolute(path).lexically_normal();
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

std::unique_ptr<ChangeWaiter> MakeChangeWaiter(const std::vector<std::string>& paths) {
    InstallStopSignals();
#ifdef __linux__
    if (auto waiter = NotifyWaiter::Make(paths))
        return waiter;
#endif
    return std::make_unique<PollingWaiter>(paths);
}

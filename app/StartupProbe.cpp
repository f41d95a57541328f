#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

class FirstPaintWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A window paints all its widgets in one pass; the next turn of the event loop comes
        // after the whole window.
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, &FirstPaintWatch::Report);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The peak resident memory as Linux reports it; 0 where the system has no such file.
    static long PeakMemoryKb() {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("VmHWM:"))
                return std::strtol(line.c_str() + 6, nullptr, 10);
        return 0;
    }

    static void Report() {
        // steady_clock is the monotonic clock the caller reads before starting the process.
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("first-paint-ns=%lld max-rss-kb=%ld\n",
                    static_cast<long long>(std::chrono::nanoseconds(now).count()), PeakMemoryKb());
        std::fflush(stdout);
        // Ending without tearing down keeps the exit out of the measurement.
        std::_Exit(0);
    }

    bool m_painted = false;
};

} // namespace

void ExitAfterFirstPaintWhenAsked() {
    if (std::getenv("TARMIO_EXIT_AFTER_FIRST_PAINT") == nullptr || QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::instance()->installEventFilter(new FirstPaintWatch(QCoreApplication::instance()));
}

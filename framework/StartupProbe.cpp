#include "framework/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

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
    static void Report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("first-paint-ns=%lld max-rss-kb=%ld\n",
                    static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec, usage.ru_maxrss);
        std::fflush(stdout);
        // Ending without tearing down keeps the exit out of the measurement.
        _exit(0);
    }

    bool m_painted = false;
};

} // namespace

void ExitAfterFirstPaintWhenAsked() {
    if (std::getenv("TARMIO_EXIT_AFTER_FIRST_PAINT") == nullptr || QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::instance()->installEventFilter(new FirstPaintWatch(QCoreApplication::instance()));
}

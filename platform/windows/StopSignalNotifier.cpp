#include "platform/StopSignalNotifier.h"

#include "platform/StopSignals.h"
#include "platform/windows/StopEvent.h"

#include <QWinEventNotifier>

void CallOnStopSignals(QObject* context, std::function<void()> onStop) {
    if (!InstallStopSignals())
        return;
    auto* notifier = new QWinEventNotifier(StopSignalEvent(), context);
    // The notifier stays on: a request may come again while a dialog's loop is still unwinding.
    QObject::connect(notifier, &QWinEventNotifier::activated, context, [onStop = std::move(onStop)] {
        TakeStopRequest();
        onStop();
    });
}

#include "platform/StopSignalNotifier.h"

#include "platform/StopSignals.h"
#include "platform/posix/StopPipe.h"

#include <QSocketNotifier>

void CallOnStopSignals(QObject* context, std::function<void()> onStop) {
    if (!InstallStopSignalsRestartingCalls())
        return;
    auto* notifier = new QSocketNotifier(StopSignalDescriptor(), QSocketNotifier::Read, context);
    // The notifier stays on: a signal may come again while a dialog's loop is still unwinding.
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onStop = std::move(onStop)] {
        TakeStopRequest();
        onStop();
    });
}

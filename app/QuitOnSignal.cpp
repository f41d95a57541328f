#include "app/QuitOnSignal.h"

#include "framework/CWinApp.h"
#include "platform/StopSignalNotifier.h"

#include <QCoreApplication>

void QuitEventLoopOnTerminationSignals() {
    CallOnStopSignals(QCoreApplication::instance(), [] { AfxEndEventLoops(); });
}

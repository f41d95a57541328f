#pragma once

#include <functional>

class QObject;

// Installs the stop signals' handlers (see StopSignals.h) and calls onStop in the event loop of
// context's thread after each request, for as long as context lives.
void CallOnStopSignals(QObject* context, std::function<void()> onStop);

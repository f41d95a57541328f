#pragma once

// The requests to stop that come from outside the program: SIGINT, SIGTERM and SIGHUP on POSIX
// systems; Ctrl+C, Ctrl+Break, the console window closing, log-off and shut-down on Windows.
// Each request is kept until taken, so that a loop waiting on files or events wakes for it (see
// FileChangeWatch.h and StopSignalNotifier.h).

// Installs the handlers; later calls do nothing. False when they could not be installed.
bool InstallStopSignals();

// Whether a request came since the last call; takes every request pending.
bool TakeStopRequest();

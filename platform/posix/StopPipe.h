#pragma once

// The readable end of the pipe the stop signals' handler writes to: readable while a request is
// pending. -1 before the handlers are installed.
int StopSignalDescriptor();

// As InstallStopSignals, but system calls that a signal comes into are restarted rather than
// failed with EINTR, which the libraries under a GUI's event loop may not expect. The command line
// wants the failure: a write blocked on a full pipe then gives up and the program stops.
bool InstallStopSignalsRestartingCalls();

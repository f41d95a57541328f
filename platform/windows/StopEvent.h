#pragma once

// The manual-reset event the console control handler sets: signalled while a request is pending.
// Null before InstallStopSignals has succeeded.
void* StopSignalEvent();

#pragma once

// Makes the requests to stop from outside (SIGTERM, SIGINT and SIGHUP; on Windows the console's
// events) end the event loops the normal way, so that the exit steps (settings written, views
// destroyed) run as after closing the window, in every state: with a dialog or message box open,
// during the start-up loads, and any number of times.
void QuitEventLoopOnTerminationSignals();
